// The application manager's description of a package: Windows INI text with
// "key = value" lines, lines ended by CR LF except the last.
#pragma once

#include <QByteArray>
#include <QList>

namespace AppManagerIni {

struct Key {
    QByteArray name;
    QByteArray value;
};
struct Section {
    QByteArray name;
    QList<Key> keys;
};

// A comment line, an empty line, then the sections, an empty line between two.
QByteArray write(const QByteArray &comment, const QList<Section> &sections);

} // namespace AppManagerIni
