#include "QtApp.h"
#include "RecordingLauncher.h"
#include "Settings.h"
#include "TempDevice.h"

#include "app/CDisclaimerDlg.h"
#include "app/CMainFrame.h"
#include "app/CQuillmossApp.h"
#include "framework/CommandRouter.h"
#include "list/CFileListViewEx.h"
#include "platform/StandIns.h"
#include "platform/UiSink.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QAbstractButton>
#include <QHeaderView>
#include <QImage>
#include <QMenuBar>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

using namespace RegistryLayout;

// Only a REG_DWORD 1 counts as shown; the disclaimer then writes 1. The
// header setting is read at creation and written when the window goes;
// minimising ends the program. Then the Toggle, Disclaimer and About commands.
TEST(Startup, DisclaimerOnFirstRunOnlyHeaderSettingReadAtCreationAndWrittenOnExitThenCommands)
{
    qtApp();
    TempDevice device;
    // Starts the program; returns the template ids of the dialogs it showed, in order.
    const auto start = [](CQuillmossApp &app) {
        QList<UINT> shown;
        ScopedModalHook hook([&](CDialog &dialog) {
            // The disclaimer comes before the main window exists.
            EXPECT_EQ(app.mainFrame(), nullptr);
            shown.append(dialog.templateId());
            dialog.EndDialog(IDOK);
        });
        EXPECT_TRUE(app.InitInstance());
        return shown;
    };
    const auto setting = [](const QString &name) {
        DWORD value = 9;
        EXPECT_EQ(readSetting(AppKey, name, value), RegSuccess) << name.toStdString();
        return value;
    };
    for (const int stored : {-1, 0, 2, 3}) { // -1: absent, 3: the string "1"
        SCOPED_TRACE(stored);
        if (stored == 3)
            CRegistryAccess().WriteString(HKEY_LOCAL_MACHINE, AppKey, Disclaimer, "1"); // no number
        else if (stored >= 0)
            writeSetting(AppKey, Disclaimer, DWORD(stored));
        CQuillmossApp app;
        EXPECT_EQ(start(app), QList<UINT>{IDD_DISCLAIMER});
        EXPECT_EQ(setting(Disclaimer), 1u);
        EXPECT_TRUE(app.mainFrame()->isVisible());
    }
    writeSetting(AppKey, ShowHeader, 0);
    {
        CQuillmossApp app;
        EXPECT_TRUE(start(app).isEmpty());
        CMainFrame *frame = app.mainFrame();
        EXPECT_FALSE(frame->listView()->header()->isVisibleTo(frame));
        EXPECT_FALSE(frame->router().isChecked(ID_VIEW_SHOWHEADER));
        EXPECT_TRUE(frame->router().execute(ID_VIEW_SHOWHEADER));
        EXPECT_TRUE(frame->listView()->header()->isVisibleTo(frame));
        EXPECT_TRUE(frame->router().isChecked(ID_VIEW_SHOWHEADER));
        EXPECT_EQ(setting(ShowHeader), 0u) << "written only when the window is destroyed";
        frame->setWindowState(Qt::WindowMinimized);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }));
    }
    EXPECT_EQ(setting(ShowHeader), 1u);

    // Stored as a string it is unreadable as a number: shown.
    CRegistryAccess().WriteString(HKEY_LOCAL_MACHINE, AppKey, ShowHeader, "0");
    ASSERT_TRUE(StandIns::install(device.device(), qEnvironmentVariable("QUILLMOSS_BIN_DIR")));
    CQuillmossApp app;
    start(app);
    CMainFrame *frame = app.mainFrame();
    EXPECT_TRUE(frame->listView()->header()->isVisibleTo(frame));

    // The Toggle command switches between menu bar and tool bar; the Disclaimer
    // command shows the text and leaves the registry alone; the About box closes
    // on a tap, but not on Visit Website, which opens the site.
    auto commandsOf = [&] {
        QList<UINT> ids;
        for (QAction *action : frame->commandBar()->actions())
            ids.append(action->isSeparator() ? 0 : action->property("commandId").toUInt());
        return ids;
    };
    // Menu-bar mode first: the menu bar and the Toggle button.
    EXPECT_FALSE(frame->isToolBarMode());
    EXPECT_TRUE(frame->menuBarMenu()->isVisibleTo(frame));
    EXPECT_EQ(commandsOf().last(), ID_TOGGLE_TOOLBAR);
    EXPECT_TRUE(frame->router().execute(ID_TOGGLE_TOOLBAR));
    EXPECT_TRUE(frame->isToolBarMode());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->menuBarMenu()->isVisibleTo(frame); }));
    EXPECT_EQ(commandsOf().first(), ID_EDIT_CUT) << "the full tool bar, whose buttons the framework's tests check";

    EXPECT_TRUE(frame->router().execute(ID_TOGGLE_TOOLBAR));
    // The bar lays out its entries when it next gets the chance.
    EXPECT_TRUE(QTest::qWaitFor([&] { return frame->menuBarMenu()->isVisibleTo(frame); }));
    EXPECT_FALSE(commandsOf().contains(ID_EDIT_CUT));

    CRegistryAccess().DeleteValue(HKEY_LOCAL_MACHINE, AppKey, Disclaimer);
    RecordingLauncher launcher;
    QStringList seen;
    ScopedModalHook hook([&](CDialog &dialog) {
        if (auto *disclaimer = qobject_cast<CDisclaimerDlg *>(&dialog)) {
            seen << disclaimer->text() << dialog.GetDlgItem(1074)->property("text").toString();
            dialog.EndDialog(IDOK);
            return;
        }
        auto *visit = dialog.GetDlgItem<QAbstractButton>(IDC_VISIT_WEBSITE);
        ASSERT_NE(visit, nullptr);
        visit->click();
        seen << QString::number(dialog.templateId()) << visit->text() << (dialog.isVisible() ? "open" : "closed");
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(5, 5));
        seen << (dialog.isVisible() ? "open" : "closed");
    });
    EXPECT_TRUE(frame->router().execute(ID_APP_DISCLAIMER));
    frame->router().execute(ID_APP_ABOUT);
    EXPECT_EQ(seen, (QStringList{LoadString(IDS_DISCLAIMER), "DISCLAIMER", QString::number(IDD_ABOUTBOX),
                                 "Visit Website", "open", "closed"}));
    EXPECT_FALSE(seen[0].isEmpty());
    DWORD value = 7;
    EXPECT_EQ(readSetting(AppKey, Disclaimer, value), RegReadFailed);
    ASSERT_EQ(launcher.starts().size(), 1);
    EXPECT_TRUE(launcher.starts().at(0).program.endsWith("/store/Windows/iexplore.exe"));
    EXPECT_EQ(launcher.starts().at(0).arguments, QStringList{LoadString(IDS_WEBADDRESS)});
}

// The real program renders its main window on a fresh test device, passing
// the first-run disclaimer, and ends normally.
TEST(Screenshot, RendersTheMainWindowAndEndsNormally)
{
    TempDevice device;
    device.make({"\\My Documents\\notes.txt"});
    const QString png = device.dir() + "/shot.png";
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(qEnvironmentVariable("QUILLMOSS_BIN_DIR") + "/quillmoss",
                  {"--device", device.dir(), "--screenshot", png});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(std::pair(program.exitStatus(), program.exitCode()), std::pair(QProcess::NormalExit, 0));

    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(480, 640));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3)
            colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 20) << "a blank or nearly blank window";
}

} // namespace
