#pragma once
// The one QGuiApplication of a test program, on the offscreen platform unless
// another is set, with C number formatting restored after Qt starts.
#include <QGuiApplication>
#include <clocale>

inline QGuiApplication& guiApp()
{
    static QGuiApplication* app = [] {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tavo-test";
        static char* argv[] = { name, nullptr };
        auto* made = new QGuiApplication(argc, argv); // lives to the end of the process
        std::setlocale(LC_NUMERIC, "C");
        return made;
    }();
    return *app;
}
