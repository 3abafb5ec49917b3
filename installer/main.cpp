// Quillmoss_Install: the desktop installer, carrying the device package.
// The desktop's registry is $QUILLMOSS_DESKTOP (see syncmgr --setup).
#include "framework/QtUiSink.h"
#include "installer/CInstallApp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QtUiSink sink;
    UiSink::setCurrent(&sink);
    CInstallApp().InitInstance();
    UiSink::setCurrent(nullptr);
    return 0;
}
