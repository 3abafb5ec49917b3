// The installation package of the device program: the cabinet with its setup
// file and the program, the application manager's .ini and the icon.
#pragma once

#include "package/SetupFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QList>

namespace QuillmossPackage {

// File names in the order the desktop installer carries them.
inline constexpr const char *CabName = "Quillmoss.CAB";
inline constexpr const char *IniName = "Quillmoss.ini";
inline constexpr const char *IconName = "Quillmoss.ico";

SetupFile setupFile();
// The cabinet: the setup file first, then program (the built quillmoss) byte
// for byte, both dated time. Empty when the program is too big for a cabinet.
QByteArray cabinet(const QByteArray &program, const QDateTime &time);
QByteArray ini();
// icons: the program's icon at 16 x 16 and 32 x 32.
QByteArray icon(const QImage &small, const QImage &large);

} // namespace QuillmossPackage
