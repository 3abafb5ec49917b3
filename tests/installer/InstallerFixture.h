// A desktop of the test's own (QUILLMOSS_DESKTOP), a scripted sink, and the wizard run modally under a hook.
#pragma once

#include "QtApp.h"
#include "ScriptedSink.h"
#include "installer/CInstallDlg.h"
#include "platform/Desktop.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class InstallerFixture : public WithQtApp, public ::testing::Test
{
protected:
    InstallerFixture() { qputenv("QUILLMOSS_DESKTOP", QFile::encodeName(desktopDir.path())); }
    ~InstallerFixture() override { qunsetenv("QUILLMOSS_DESKTOP"); }

    QString path(const QString &name) const { return desktopDir.filePath(name); }
    // The synchronisation software's keys, its managers being programs in binDir.
    void setUpSync(const QString &binDir, bool withAppManager = true)
    {
        Desktop desktop;
        desktop.writeString(Desktop::ServicesKey, "InstalledDir", path("Sync"));
        desktop.writeString(Desktop::SyncManagerKey, QString(), binDir + "/syncmgr");
        RegistryHive::KeyId key = 0;
        if (withAppManager)
            desktop.writeString(Desktop::AppManagerKey, QString(), binDir + "/ceappmgr");
        else if (desktop.hive().openKey(RegistryHive::LocalMachine, Desktop::AppManagerKey, &key) == ERROR_SUCCESS)
            desktop.hive().deleteKey(key);
    }
    // Runs the wizard with drive called once it is shown; returns its result.
    int runWizard(const std::function<void(CInstallDlg &)> &drive)
    {
        CInstallDlg wizard;
        ScopedModalHook hook([&](CDialog &) { drive(wizard); });
        return wizard.DoModal();
    }
    static void click(CInstallDlg &wizard, int id) { wizard.GetDlgItem<QPushButton>(id)->click(); }
    // Next to the folder page, type folder, Next to the tasks, Install.
    static void installInto(CInstallDlg &wizard, const QString &folder)
    {
        click(wizard, 1008);
        wizard.findChild<QWidget *>("1001")->setProperty("text", folder);
        click(wizard, 1008);
        click(wizard, 1007);
    }

    const QString bin = qEnvironmentVariable("QUILLMOSS_BIN_DIR");
    QTemporaryDir desktopDir;
    ScriptedSink sink;
};
