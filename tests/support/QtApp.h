// The one QApplication of a widget test program, created on first use (the
// platform comes from QT_QPA_PLATFORM, offscreen unless told otherwise). It is
// never destroyed: at exit Qt's own statics (test input devices among them)
// may already be gone, and tearing the application down after them crashes.
#pragma once

#include <QApplication>

inline QApplication &qtApp()
{
    static int argc = 1;
    static char name[] = "quillmoss-test";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}

// Base for fixtures that hold widgets as members: list it first among the
// bases, so the application exists before the members are built.
//   class MyTest : public WithQtApp, public ::testing::Test { QTreeWidget tree; };
struct WithQtApp {
    WithQtApp() { qtApp(); }
};
