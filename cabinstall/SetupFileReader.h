// Reads the setup member (".000") of an installation cabinet. Like the
// cabinet, its bytes are hostile: every count, offset, length and string id
// is checked before use; a setup file that does not hold together is refused.
#pragma once

#include "package/SetupFile.h"

#include <QString>

namespace SetupFileReader {

// False with a sentence in error when refused.
bool read(QByteArrayView bytes, SetupFile &setup, QString &error);

} // namespace SetupFileReader
