#pragma once

#include "CQuorvinApp.h"
#include "ConfigTemplate.h"
#include "SampleConfigurations.h"
#include "TestFiles.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Handles the modal windows that the code under test opens, in order: each
// step gets the modal widget once it is shown and must close it. A modal
// window without a step is recorded as unexpected and rejected.
class ModalScript : public QObject {
public:
    struct Box {
        std::string Title;
        std::string Text;
        QMessageBox::Icon Icon = QMessageBox::NoIcon;
    };

    ModalScript();

    void Then(std::function<void(QWidget*)> step);
    // A message box: recorded in Boxes, then closed with the button.
    void Answer(QMessageBox::StandardButton button);

    bool Done() const { return steps_.empty(); }

    std::vector<Box> Boxes;
    int Unexpected = 0;

private:
    void Poll();

    QTimer timer_;
    std::deque<std::function<void(QWidget*)>> steps_;
    QPointer<QWidget> handled_;
};

// The application with its own profile file in a temporary directory,
// started with the file (or a new document) and shown.
struct TestApplication {
    // The file (none: a new document) and further command-line arguments.
    explicit TestApplication(const std::string& file = {}, const std::string& extraArgument = {},
                             const std::string& secondExtraArgument = {});

    CQuorvinApp& operator*() { return *App; }
    CQuorvinApp* operator->() { return App.get(); }

    TemporaryDirectory ProfileDirectory;
    std::unique_ptr<CQuorvinApp> App;
};

void WriteConfiguration(const std::string& path, const ConfigTemplate& config);

// Runs the event loop until the condition holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, int milliseconds = 5000);
// Runs the event loop as the program does, until it has waited for input:
// what the program does when idle has been done.
void RunUntilIdle();
