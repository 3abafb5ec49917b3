#include "HostFile.h"
#include "InstallerFixture.h"
#include "RunDeviceProgram.h"
#include "Settings.h"
#include "TempDevice.h"
#include "platform/Files.h"
#include "platform/Process.h"

#include <QProcess>
#include <QTest>

namespace {

class RoundTrip : public InstallerFixture
{
protected:
    // The synchronisation software's set-up, connecting the test's device.
    void SetUp() override { ASSERT_EQ(QProcess::execute(bin + "/syncmgr", {"--setup", "--device", device.dir()}), 0); }
    // A REG_SZ value as text, else what raw() names it.
    static QString readString(HKEY root, const QString &key, const QString &name)
    {
        const auto [type, data] = raw(root, key, name);
        return type == REG_SZ ? QString::fromUtf16(reinterpret_cast<const char16_t *>(data.constData())) : QString(data);
    }

    TempDevice device;
};

// A handheld PC refuses the package; on a Pocket PC the installer, both managers and the device's cabinet
// installer, all for real, install it, and the program then starts from its shortcut.
TEST_F(RoundTrip, AHandheldPcRefusesThePackageAPocketPcInstallsItAndItStarts)
{
    // The platform type as UTF-16 with its terminator; "HPC PRO" is the second name of the list, matched whole.
    setRaw(HKEY_LOCAL_MACHINE, "Platform", "Type", REG_SZ, QByteArray(reinterpret_cast<const char *>(u"HPC PRO"), 16));
    QProcess manager;
    manager.start(bin + "/ceappmgr", {bin + "/package/Quillmoss.ini "});
    ASSERT_TRUE(manager.waitForFinished(60000));
    EXPECT_EQ(manager.exitCode(), 1);
    EXPECT_TRUE(manager.readAllStandardError().contains(
        "Brindlecove Quillmoss cannot be installed on this device: its platform HPC PRO is not supported."));
    EXPECT_FALSE(device.exists("\\Program Files\\Quillmoss"));
    const QString app = "Software\\Brindlecove\\Quillmoss";
    EXPECT_EQ(readString(HKEY_LOCAL_MACHINE, app, "Default"), "<missing key>");
    setRaw(HKEY_LOCAL_MACHINE, "Platform", "Type", REG_SZ, QByteArray(reinterpret_cast<const char *>(u"PocketPC"), 18));
    runWizard([&](CInstallDlg &w) { installInto(w, path("extract")); });
    EXPECT_TRUE(device.readFile("\\Program Files\\Quillmoss\\quillmoss.exe") == readHost(bin + "/quillmoss"));
    EXPECT_EQ(QStringList({readString(HKEY_CURRENT_USER, app + "\\quillmoss", "Default"),
                           readString(HKEY_LOCAL_MACHINE, app + "\\NetPaths", "Default")}), QStringList({"Quillmoss", ""}));
    const QByteArray shortcut = device.readFile("\\Windows\\Start Menu\\Programs\\Quillmoss.lnk");
    EXPECT_EQ(shortcut, "40#\"\\Program Files\\Quillmoss\\quillmoss.exe\"");
    EXPECT_FALSE(device.exists("\\Windows\\AppMgr\\Install\\Quillmoss.CAB"));
    // The synchronisation manager is started again, and not waited for.
    const auto running = [] {
        Desktop desktop;
        RegistryHive::KeyId key = 0;
        RegistryHive::Value value;
        desktop.hive().openKey(RegistryHive::LocalMachine, Desktop::ServicesKey, &key);
        return desktop.hive().queryValue(key, "Running", &value) == ERROR_SUCCESS && value.data == QByteArray("\1\0\0\0", 4);
    };
    EXPECT_TRUE(QTest::qWaitFor(running, 20000)) << "the synchronisation manager runs again";
    const QString target = QString::fromLatin1(shortcut.mid(shortcut.indexOf('"') + 1).chopped(1));
    const QString screenshot = path("started.png");
    EXPECT_EQ(runDeviceProgram(wide(target), QString("--screenshot \"%1\"").arg(screenshot), 60000), 0);
    EXPECT_FALSE(QImage(screenshot).isNull());
}

} // namespace
