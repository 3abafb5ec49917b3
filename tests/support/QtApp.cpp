#include "QtApp.h"

#include <QApplication>

QApplication &qtApp()
{
    static int argc = 1;
    static char name[] = "quillmoss-test";
    static char *argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}
