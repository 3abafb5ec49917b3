// Where the platform finds a program named by a command: an absolute device
// path is taken as it is; a bare name is looked for in the running program's
// own folder (when the program lies on the device), then in \Windows\, then in
// the root. A name without an extension gets ".exe".
#pragma once

#include <QString>

// The device path of the program file, or empty when there is none.
// programFolder: a device folder ending with a backslash, or empty.
QString FindProgramImage(const QString &name, const QString &programFolder);
QString FindProgramImage(const QString &name);

// The device folder (ending with a backslash) that holds the running program,
// or empty when it runs from outside the device's store.
QString RunningProgramFolder();
