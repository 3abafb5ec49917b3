// Reads a cabinet handed to the device. The bytes are hostile: every count,
// offset and size is checked against the data before it is used, so a
// truncated or forged cabinet is refused, never read past its end. Only what
// our installer needs is accepted: one cabinet (no set), no reserved fields,
// data stored without compression, checksums that match, member names that
// stay relative (no drive, no leading backslash, no "." or ".." part).
#pragma once

#include "package/Cabinet.h"

#include <QString>

namespace CabinetReader {

// The members in file order; false with a sentence in error when refused.
bool read(QByteArrayView cab, QList<CabMember> &members, QString &error);

// Whether name is a member name we accept (see above).
bool isSafeName(QByteArrayView name);

} // namespace CabinetReader
