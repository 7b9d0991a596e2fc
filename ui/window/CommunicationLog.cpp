#include "CommunicationLog.h"

#include <QThread>

void CommunicationLog::OnLinkEvent(const LinkTraceEvent& event)
{
    QString line = QString::fromStdString(FormatTraceLine(event));
    if (QThread::currentThread() == thread()) {
        Keep(line);
        return;
    }
    QMetaObject::invokeMethod(this, [this, line = std::move(line)] { Keep(line); }, Qt::QueuedConnection);
}

void CommunicationLog::Keep(const QString& line)
{
    if (lines_.size() >= kMaxLines) {
        lines_.removeFirst();
    }
    lines_.append(line);
    if (listener_) {
        listener_(line);
    }
}

QString CommunicationLog::Text() const
{
    return lines_.isEmpty() ? QString() : lines_.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
