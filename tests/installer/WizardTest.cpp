#include "HostFile.h"
#include "InstallerFixture.h"
#include "RecordingLauncher.h"
#include "installer/InstallFiles.h"
#include "installer/InstallStrings.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QTimer>

namespace {

const QString Caption103 = "Harrowdeck Installation";
const QString Text104 = "Can not find ActiveSync. Please reinstall ActiveSync and than run this installation "
                        "again.\nInstall will now exit.";
const QString Text112 = "A fatal error occurred while installing.";

class Wizard : public InstallerFixture
{
protected:
    RecordingLauncher launcher;
};

TEST_F(Wizard, FollowsItsStateTableAndBrowseFillsTheFolder)
{
    setUpSync(bin);
    // "page back next install cancel": each button + enabled, - disabled, h hidden.
    const auto state = [](CInstallDlg &w) {
        QString s = QString::number(w.currentPage) + ' ';
        for (int id : {1009, 1008, 1007})
            s += w.GetDlgItem(id)->isHidden() ? 'h' : w.GetDlgItem(id)->isEnabled() ? '+' : '-';
        QPushButton *cancel = w.GetDlgItem<QPushButton>(IDCANCEL);
        return s + ' ' + cancel->text() + (cancel->isEnabled() ? '+' : '-');
    };
    QStringList seen;
    CInstallDlg *shown = nullptr;
    launcher.onStart = [&](const RecordingLauncher::Start &) { seen << state(*shown); };
    const int result = runWizard([&](CInstallDlg &w) {
        shown = &w;
        EXPECT_EQ(w.windowTitle(), "Quillmoss version 3.1 Install FULL for Windows Mobile with ARM or XScale processor");
        for (int id : {0, 1008, 1008, 1009, 1008, 1007}) {
            if (id)
                click(w, id);
            seen << state(w);
        }
        click(w, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(seen, (QStringList{"1 -+- Cancel+", "2 ++- Cancel+", "3 +-+ Cancel+", "2 ++- Cancel+", "3 +-+ Cancel+",
                                 "3 --- Cancel-", "3 --- Cancel-", "3 hhh Cancel-", "3 hhh Finish+"}));
    InstallStrings::replace(3004, QString());
    runWizard([](CInstallDlg &w) {
        EXPECT_EQ(w.windowTitle(), "Quillmoss version 3.1 Install for Windows Mobile with ARM or XScale processor");
    });
    InstallStrings::replace(3004, "FULL");
    // Browse puts the chosen file's folder into the field.
    QDir().mkpath(path("Data"));
    runWizard([&](CInstallDlg &w) {
        click(w, 1008);
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->windowTitle(), "Extraction folder");
            dialog->selectFile(path("Data/x.txt"));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        w.findChild<QPushButton *>("1002")->click();
        EXPECT_EQ(w.findChild<QWidget *>("1001")->property("text").toString(), path("Data"));
    });
    EXPECT_EQ(CExtractFolderPage::FolderOf("/x.txt"), "/");
}

// Without the synchronisation software the wizard never shows; a failed step ends it; else it extracts
// into the typed folder and runs the managers.
TEST_F(Wizard, ReportsAMissingOrFailedStepAndExtractsIntoTheTypedFolder)
{
    sink.expect(Text104, Caption103, MB_OK | MB_ICONERROR, IDOK);
    bool shown = false;
    EXPECT_EQ(runWizard([&](CInstallDlg &) { shown = true; }), IDCANCEL);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(QFile::exists(path("registry.db"))) << "reading writes nothing";
    QFile(path("file")).open(QIODevice::WriteOnly);
    QDir().mkpath(path("taken/Quillmoss.ini"));
    const struct { const char *folder; bool appManager; QString text, caption; UINT type; } cases[] = {
        {"file/sub/folder", true, "Unable to create the extract folder. Please specify another folder.", Caption103, MB_OK},
        {"taken", true, "Error installing Quillmoss.ini.\nPlease re-run the installation program.", "Quillmoss_Install",
         MB_OK | MB_ICONEXCLAMATION},
        {"fine", false, Text104, Caption103, MB_OK | MB_ICONERROR},
    };
    for (const auto &c : cases) {
        setUpSync(bin, c.appManager);
        sink.expect(c.text, c.caption, c.type, IDOK);
        sink.expect(Text112, "Quillmoss_Install", MB_OK | MB_ICONEXCLAMATION, IDOK);
        EXPECT_EQ(runWizard([&](CInstallDlg &w) { installInto(w, path(c.folder)); }), IDCANCEL);
    }
    EXPECT_EQ(launcher.started(), QStringList(3, bin + "/syncmgr|/quit")) << "only the synchronisation manager's quit";
    // A file that failed does not stop the others.
    EXPECT_TRUE(readHost(path("taken/Quillmoss.ico")) == FindInstallFile(5003));
    // A missing folder chain is made; a second run over it rewrites the files.
    setUpSync(bin);
    const QString folder = path("a/b/c");
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(run == 0 || QFile::resize(folder + "/Quillmoss.ini", 100000)); // longer than the new file
        runWizard([&](CInstallDlg &w) {
            EXPECT_EQ(w.findChild<QWidget *>("1001")->property("text").toString(), path("Sync/Brindlecove/Quillmoss"));
            installInto(w, folder);
            for (const char *marker : {"1014", "1015", "1016"})
                EXPECT_EQ(w.findChild<QLabel *>(marker)->text(), "100%");
            EXPECT_EQ(w.findChild<QLabel *>("1006")->text(), "Install finished");
        });
        for (const auto &[id, name] : {std::pair{5001, "Quillmoss.CAB"}, {5002, "Quillmoss.ini"}, {5003, "Quillmoss.ico"}}) {
            EXPECT_TRUE(readHost(folder + '/' + name) == FindInstallFile(id)) << name;
            EXPECT_TRUE(FindInstallFile(id) == readHost(bin + "/package/" + name)) << name;
        }
    }
    const QStringList each = {bin + "/syncmgr|/quit", bin + "/ceappmgr|" + folder + "/Quillmoss.ini ", bin + "/syncmgr"};
    EXPECT_EQ(launcher.started().mid(3), each + each) << "the same starts on each run";
    EXPECT_EQ(QDir::currentPath(), folder);
}

} // namespace
