#include "FileChangeEvent.h"

QEvent::Type FileChangeEventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}
