// Our own programs in place of the device's outside programs. Each one lies in
// the device's \Windows as a small launcher of the built host program, in ROM
// like the handheld's own programs.
#pragma once

#include <QString>
#include <QStringList>

class Device;

class StandIns
{
public:
    // Device file names of the stand-ins ("iexplore.exe", ...).
    static QStringList names();
    // Writes (or rewrites, when they point elsewhere) the launchers in \Windows
    // for every stand-in program found in binDir, through the device's own
    // confined folder: a link in a launcher's place is replaced, never written
    // through, and a \Windows that is a card gets nothing. Returns false when
    // a launcher could not be written.
    static bool install(Device &device, const QString &binDir);
};
