#pragma once

#include <QEvent>

// The "FILECHANGE" event: posted to the main view after the user agreed to
// reload the open file that another program changed. Its type is registered
// once, on the first call; start-up calls this before anything posts it.
QEvent::Type FileChangeEventType();
