#pragma once

#include <QWidget>

class CommunicationLog;
class QPlainTextEdit;
class WindowSystem;

// View > "Communication Log": the frames of every device operation with
// their times, live, in a window of its own beside the main window. Clear
// empties the log; Save writes it to a file.
class CommunicationLogWindow : public QWidget {
public:
    CommunicationLogWindow(CommunicationLog& log, WindowSystem& ui, QWidget* parent);
    ~CommunicationLogWindow() override;

    QPlainTextEdit* Text() const { return text_; }
    void OnClear();
    void OnSave();

private:
    CommunicationLog& log_;
    WindowSystem& ui_;
    QPlainTextEdit* text_;
};
