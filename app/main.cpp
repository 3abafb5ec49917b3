// quillmoss: the file manager on an emulated device.
//   quillmoss [--device DIR] [--network DIR] [--screenshot FILE]
#include "app/CMainFrame.h"
#include "app/CQuillmossApp.h"
#include "framework/CDialog.h"
#include "framework/QtUiSink.h"
#include "platform/Device.h"
#include "platform/FileTypeDefaults.h"
#include "platform/StandIns.h"

#include <QApplication>
#include <QTextStream>
#include <QTimer>

namespace {

QString optionValue(int argc, char **argv, const char *option)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], option) == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return QString();
}

} // namespace

int main(int argc, char **argv)
{
    const QString screenshot = optionValue(argc, argv, "--screenshot");
    // A screenshot needs no display.
    if (!screenshot.isEmpty() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
        && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    Device device(Device::chooseDir(args));
    device.setNetworkRoot(Device::chooseNetworkDir(args));
    CurrentDevice current(device);
    StandIns::install(device, QCoreApplication::applicationDirPath());
    FileTypeDefaults::install();

    QtUiSink sink;
    UiSink::setCurrent(&sink);

    // For a screenshot the first-run disclaimer is closed at once, as if the user had closed it.
    std::unique_ptr<ScopedModalHook> closeDialogs;
    if (!screenshot.isEmpty())
        closeDialogs = std::make_unique<ScopedModalHook>([](CDialog &dialog) { dialog.EndDialog(IDOK); });

    CQuillmossApp theApp;
    if (!theApp.InitInstance())
        return 1;
    closeDialogs.reset();

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(0, [&] {
            CMainFrame *frame = theApp.mainFrame();
            const bool saved = frame->grab().save(screenshot);
            if (!saved)
                QTextStream(stderr) << "cannot write " << screenshot << Qt::endl;
            frame->close();
            if (!saved)
                app.exit(1);
        });
    }
    const int result = app.exec();
    UiSink::setCurrent(nullptr);
    return result;
}
