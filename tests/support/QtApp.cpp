#include "QtApp.h"

#include <QApplication>

QApplication &qtApp()
{
    static int argc = 1;
    static char name[] = "quillmoss-test";
    static char *argv[] = {name, nullptr};
    // Widget tests draw off screen unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: at exit Qt's own statics (test input devices among
    // them) may already be gone, and tearing the application down after them
    // crashes.
    static QApplication *app = new QApplication(argc, argv);
    return *app;
}
