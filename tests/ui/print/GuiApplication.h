#pragma once

#include <QGuiApplication>

#include <cstdlib>

// The one QGuiApplication of a test program, on the offscreen platform unless
// another is named.
inline QGuiApplication& TestGuiApplication()
{
    static int argc = 1;
    static char name[] = "print_tests";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    static QGuiApplication application(argc, argv);
    return application;
}
