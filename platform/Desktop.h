// The desktop computer a device is connected to, for the desktop's programs
// (the installer and the synchronisation software's stand-ins). It has its
// own registry hive, registry.db in its folder: $QUILLMOSS_DESKTOP, else
// $XDG_DATA_HOME/quillmoss/desktop. Its files are the host's own, named by
// host paths.
#pragma once

#include "platform/Process.h"
#include "platform/RegistryHive.h"

#include <QString>
#include <memory>

class Desktop
{
public:
    // Keys under HKEY_LOCAL_MACHINE.
    static constexpr const char *ServicesKey = "SOFTWARE\\Microsoft\\Windows CE Services";
    static constexpr const char *SyncManagerKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\SYNCMGR.EXE";
    static constexpr const char *AppManagerKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAPPMGR.EXE";

    Desktop();
    QString dir() const { return m_dir; }
    // Opens the hive, making the folder and the hive on first use.
    RegistryHive &hive();

    // A string value under HKEY_LOCAL_MACHINE (an empty name: the default
    // value); null when the key or the value is missing or not a string.
    // Reading a desktop that was never set up creates nothing.
    QString readString(const QString &key, const QString &name);
    bool writeString(const QString &key, const QString &name, const QString &value);

    // Host files. exists: the path's attributes can be read.
    static bool exists(const QString &path);
    // Creates one folder; its parent must exist.
    static bool createFolder(const QString &path);
    // Creates the file anew (replacing one) and writes bytes in one write.
    static bool writeFile(const QString &path, QByteArrayView bytes);
    // The file's bytes; false when it cannot be read or is bigger than limit.
    static bool readFile(const QString &path, qint64 limit, QByteArray &bytes);
    static bool setCurrentFolder(const QString &path);

    // Starts the host program with commandLine, which begins with the program
    // itself (quoted or not) followed by the arguments by the runtime's rules.
    static std::unique_ptr<HostProcess> start(const QString &program, const QString &commandLine);
    // Opens an address in the host's browser; nothing waits for it.
    static void openAddress(const QString &address);

private:
    QString m_dir;
    std::unique_ptr<RegistryHive> m_hive;
};
