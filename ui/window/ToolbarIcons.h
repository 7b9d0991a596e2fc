#pragma once

#include <QIcon>

// The toolbar's 16 by 15 pixel images, drawn in code; an empty icon for a
// command without an image.
QIcon ToolbarIcon(int commandId);

// The program's icon (window and about box): the desktop icon's SVG, drawn
// by Qt's SVG plugins.
QIcon ApplicationIcon();
