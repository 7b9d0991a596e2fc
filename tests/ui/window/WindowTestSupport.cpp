#include "WindowTestSupport.h"

#include "CMainFrame.h"
#include "ConfigFile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QTest>

#include <gtest/gtest.h>

ModalScript::ModalScript()
{
    connect(&timer_, &QTimer::timeout, this, &ModalScript::Poll);
    timer_.start(5);
}

void ModalScript::Then(std::function<void(QWidget*)> step) { steps_.push_back(std::move(step)); }

void ModalScript::Answer(QMessageBox::StandardButton button)
{
    Then([this, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            // Closed all the same, so that the code under test goes on.
            if (auto* dialog = qobject_cast<QDialog*>(modal)) {
                dialog->reject();
            }
            FAIL() << "expected a message box, got " << modal->metaObject()->className();
        }
        Boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString(), box->icon()});
        QAbstractButton* pressed = box->button(button);
        ASSERT_NE(pressed, nullptr) << "the box has no such button: " << box->text().toStdString();
        pressed->click();
    });
}

void ModalScript::Poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == handled_ || !modal->isVisible()) {
        return;
    }
    handled_ = modal;
    if (steps_.empty()) {
        ++Unexpected;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            Boxes.push_back({box->windowTitle().toStdString(), box->text().toStdString(), box->icon()});
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
        return;
    }
    const auto step = std::move(steps_.front());
    steps_.pop_front();
    step(modal);
}

TestApplication::TestApplication(const std::string& file, const std::string& extraArgument,
                                 const std::string& secondExtraArgument)
{
    std::vector<std::string> arguments{"halvex"};
    for (const std::string& argument : {file, extraArgument, secondExtraArgument}) {
        if (!argument.empty()) {
            arguments.push_back(argument);
        }
    }
    auto profile = std::make_unique<ProfileStore>(QString::fromStdString(ProfileDirectory.File("profile.ini")));
    // Fixed separators: the warning about unreadable regional settings would
    // otherwise depend on the machine.
    profile->WriteString("Settings", "DecimalSeparator", ".");
    App = std::make_unique<CQuorvinApp>(ParseStartOptions(arguments), std::move(profile));
    App->InitInstance();
    QApplication::setActiveWindow(&App->Frame());
    QApplication::processEvents();
}

void WriteConfiguration(const std::string& path, const ConfigTemplate& config)
{
    ASSERT_TRUE(WriteConfigFile(config, path, false)) << path;
}

bool WaitFor(const std::function<bool()>& condition, int milliseconds)
{
    return QTest::qWaitFor(condition, milliseconds);
}

void RunUntilIdle()
{
    QEventLoop loop;
    QTimer::singleShot(10, &loop, &QEventLoop::quit);
    loop.exec();
}
