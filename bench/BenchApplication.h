#pragma once

#include <QApplication>

#include <cstdlib>

// The benchmarks' one application object: the offscreen platform without
// DISPLAY, under an X server (for example inside xvfb-run) the real one.
// Never destroyed: at exit it would go after the platform it depends on.
inline QApplication& BenchApplication()
{
    static int argc = 1;
    static char name[] = "halvex_bench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("DISPLAY")) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    static auto* application = new QApplication(argc, argv);
    return *application;
}
