#pragma once

#include "LinkTrace.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// The trace of every device operation since the program started: the serial
// link reports to it from the worker thread, and it keeps the lines on the
// user-interface thread, where the communication log window shows them as
// they come. The oldest lines go once there are kMaxLines.
class CommunicationLog : public QObject, public LinkObserver {
public:
    static constexpr int kMaxLines = 100000;

    // Any thread: the line is formatted there and kept on this object's thread.
    void OnLinkEvent(const LinkTraceEvent& event) override;

    const QStringList& Lines() const { return lines_; }
    void Clear() { lines_.clear(); }
    // The log as text, a line end after every line.
    QString Text() const;
    // Called on this object's thread for each line kept.
    void SetLineListener(std::function<void(const QString&)> listener) { listener_ = std::move(listener); }

private:
    void Keep(const QString& line);

    QStringList lines_;
    std::function<void(const QString&)> listener_;
};
