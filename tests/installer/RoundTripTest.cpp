#include "InstallerFixture.h"
#include "TempDevice.h"
#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/Registry.h"

#include <QProcess>

namespace {

const QString Bin = qEnvironmentVariable("QUILLMOSS_BIN_DIR");

class RoundTrip : public InstallerFixture
{
protected:
    // The synchronisation software's set-up, connecting the test's device.
    void setUp()
    {
        ASSERT_EQ(QProcess::execute(Bin + QStringLiteral("/syncmgr"), {QStringLiteral("--setup"), QStringLiteral("--device"), device.dir()}), 0);
    }
    QString readString(HKEY root, const QString &key, const QString &name)
    {
        HKEY handle = nullptr;
        WCHAR buffer[64] = {};
        DWORD size = sizeof(buffer) - 2;
        if (RegOpenKeyExW(root, wide(key), 0, 0, &handle) != ERROR_SUCCESS)
            return QStringLiteral("(no key)");
        const LONG result = RegQueryValueExW(handle, wide(name), nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size);
        RegCloseKey(handle);
        return result == ERROR_SUCCESS ? fromWide(buffer) : QStringLiteral("(no value)");
    }

    TempDevice device;
};

// Installer, synchronisation manager, application manager and the device's
// cabinet installer, for real; then the installed program starts from its shortcut.
TEST_F(RoundTrip, InstallsTheProgramThatThenStartsFromItsShortcut)
{
    setUp();
    runWizard([&](CInstallDlg &w) { installInto(w, path(QStringLiteral("extract"))); });

    QFile program(Bin + QStringLiteral("/quillmoss"));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    EXPECT_TRUE(device.readFile(QStringLiteral("\\Program Files\\Quillmoss\\quillmoss.exe")) == program.readAll());
    const QString app = QStringLiteral("Software\\Brindlecove\\Quillmoss");
    const struct {
        HKEY root;
        QString key, data;
    } values[] = {{HKEY_CURRENT_USER, app, "Quillmoss"}, {HKEY_CURRENT_USER, app + "\\quillmoss", "Quillmoss"},
                  {HKEY_LOCAL_MACHINE, app, "Quillmoss"}, {HKEY_LOCAL_MACHINE, app + "\\FileFilter", ""},
                  {HKEY_LOCAL_MACHINE, app + "\\NetPaths", ""}, {HKEY_LOCAL_MACHINE, app + "\\Bookmarks", ""}};
    for (const auto &v : values)
        EXPECT_EQ(readString(v.root, v.key, QStringLiteral("Default")), v.data) << v.key.toStdString();
    const QByteArray shortcut = device.readFile(QStringLiteral("\\Windows\\Start Menu\\Programs\\Quillmoss.lnk"));
    EXPECT_EQ(shortcut, "40#\"\\Program Files\\Quillmoss\\quillmoss.exe\"");
    EXPECT_FALSE(device.exists(QStringLiteral("\\Windows\\AppMgr\\Install\\Quillmoss.CAB")));
    RegistryHive::KeyId key = 0;
    RegistryHive::Value running;
    Desktop desktop;
    desktop.hive().openKey(RegistryHive::LocalMachine, Desktop::ServicesKey, &key);
    EXPECT_EQ(desktop.hive().queryValue(key, QStringLiteral("Running"), &running), ERROR_SUCCESS);
    EXPECT_EQ(running.data, QByteArray("\1\0\0\0", 4)) << "the synchronisation manager runs again";

    const QString target = QString::fromLatin1(shortcut.mid(shortcut.indexOf('"') + 1).chopped(1));
    const QString screenshot = path(QStringLiteral("started.png"));
    PROCESS_INFORMATION process;
    ASSERT_TRUE(CreateProcessW(wide(target), wide(QStringLiteral("--screenshot \"%1\"").arg(screenshot)), nullptr,
                               nullptr, FALSE, 0, nullptr, nullptr, nullptr, &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_FALSE(QImage(screenshot).isNull());
}

TEST_F(RoundTrip, AHandheldPcRefusesThePackage)
{
    setUp();
    for (const QString &platform : {QStringLiteral("HPC"), QStringLiteral("HPC PRO")}) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Platform", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
        RegSetValueExW(key, u"Type", 0, REG_SZ, reinterpret_cast<const BYTE *>(platform.utf16()), DWORD(platform.size() + 1) * 2);
        RegCloseKey(key);
        QProcess manager;
        manager.start(Bin + QStringLiteral("/ceappmgr"), {Bin + QStringLiteral("/package/Quillmoss.ini ")});
        ASSERT_TRUE(manager.waitForFinished(60000));
        EXPECT_EQ(manager.exitCode(), 1);
        EXPECT_TRUE(manager.readAllStandardError().contains(
            "Brindlecove Quillmoss cannot be installed on this device: its platform " + platform.toLatin1() + " is not supported."));
        EXPECT_FALSE(device.exists(QStringLiteral("\\Program Files\\Quillmoss")));
        EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, QStringLiteral("Software\\Brindlecove\\Quillmoss"), QStringLiteral("Default")),
                  QStringLiteral("(no key)"));
    }
}

} // namespace
