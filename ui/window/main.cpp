// halvex: the window program of the Halvex Configuration Tool.
#include "CMainFrame.h"
#include "CQuorvinApp.h"
#include "FileAccess.h"
#include "StartOptions.h"
#include "WindowDescription.h"
#include "WindowSystem.h"

#include <QApplication>

#include <chrono>
#include <iostream>

int main(int argc, char* argv[])
{
    const auto started = std::chrono::steady_clock::now();
    IgnoreFileSizeSignal();
    // Answered before any window system is needed.
    const StartOptions asked = ParseStartOptions(std::vector<std::string>(argv, argv + argc));
    if (asked.Help) {
        std::cout << kStartUsage << "\n" << kStartOptionsHelp;
        return 0;
    }
    if (asked.Version) {
        std::cout << "halvex " << HALVEX_VERSION << "\n";
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
    // Lets the desktop match the window to the installed desktop entry and icon.
    QApplication::setDesktopFileName(QStringLiteral("com.vantrelsubstation.halvex"));

    // Without the options Qt has taken for itself.
    const StartOptions options = ParseStartOptions(std::vector<std::string>(argv, argv + argc));
    if (!options.Error.empty()) {
        std::cerr << "halvex: " << options.Error << "\n" << kStartUsage << "\n";
        return 2;
    }
    CQuorvinApp app(options);
    app.InitInstance();
    if (options.DescribeWindow) {
        DescribeWindowWhenShown(app.Frame(), app.View(), started);
    }
    return application.exec();
}
