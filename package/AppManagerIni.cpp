#include "package/AppManagerIni.h"

namespace AppManagerIni {

QByteArray write(const QByteArray &comment, const QList<Section> &sections)
{
    QList<QByteArray> lines{"; " + comment};
    for (const Section &section : sections) {
        lines << QByteArray() << '[' + section.name + ']';
        for (const Key &key : section.keys)
            lines << key.name + " = " + key.value;
    }
    return lines.join("\r\n");
}

} // namespace AppManagerIni
