#include "cabinstall/SetupFileReader.h"

#include "package/LittleEndian.h"

#include <QHash>

namespace SetupFileReader {

namespace {

// A cursor over one section that refuses to step past the file's end.
class Cursor
{
public:
    Cursor(QByteArrayView bytes, qint64 offset) : m_bytes(bytes), m_at(offset) {}
    bool ok() const { return m_ok; }
    quint16 u16() { return take(2) ? u16At(m_bytes, m_at - 2) : 0; }
    quint32 u32() { return take(4) ? u32At(m_bytes, m_at - 4) : 0; }
    QByteArrayView bytes(qint64 size) { return take(size) ? m_bytes.sliced(m_at - size, size) : QByteArrayView(); }

private:
    bool take(qint64 size)
    {
        m_ok = m_ok && m_at >= 0 && size >= 0 && m_at <= m_bytes.size() && size <= m_bytes.size() - m_at;
        if (m_ok)
            m_at += size;
        return m_ok;
    }
    QByteArrayView m_bytes;
    qint64 m_at;
    bool m_ok = true;
};

// Text up to the first NUL.
QByteArray text(QByteArrayView bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    return bytes.first(nul < 0 ? bytes.size() : nul).toByteArray();
}

// A list of string ids ended by a zero id, len bytes long; false when an id is unknown.
bool path(Cursor &in, quint16 len, const QHash<quint16, QByteArray> &strings, QList<QByteArray> &parts)
{
    Cursor list(in.bytes(len), 0);
    for (quint16 id; in.ok() && (id = list.u16()) != 0;) {
        if (!list.ok() || !strings.contains(id))
            return false;
        parts.append(strings[id]);
    }
    return in.ok() && list.ok();
}

} // namespace

bool read(QByteArrayView bytes, SetupFile &setup, QString &error)
{
    setup = SetupFile();
    error = QStringLiteral("The setup file is damaged.");
    if (bytes.size() < SetupFile::HeaderSize || !bytes.startsWith("MSCE") || u32At(bytes, 8) != quint32(bytes.size()))
        return false;
    quint32 *limits[] = {&setup.processor, &setup.minMajor, &setup.minMinor, &setup.maxMajor,
                         &setup.maxMinor, &setup.minBuild, &setup.maxBuild};
    for (int i = 0; i < 7; ++i)
        *limits[i] = u32At(bytes, 20 + 4 * i);
    const auto count = [&](int section) { return u16At(bytes, 48 + 2 * section); };
    const auto at = [&](int section) { return Cursor(bytes, u32At(bytes, 60 + 4 * section)); };
    const auto field = [&](int offset) {
        Cursor in(bytes, u16At(bytes, offset));
        return in.bytes(u16At(bytes, offset + 2));
    };
    setup.appName = text(field(84));
    setup.provider = text(field(88));
    for (QByteArrayView rest = field(92); !rest.isEmpty() && rest.front() != '\0';) {
        setup.unsupported.append(text(rest));
        rest = rest.sliced(qMin(rest.size(), setup.unsupported.last().size() + 1));
    }

    QHash<quint16, QByteArray> strings;
    Cursor in = at(0);
    for (int i = count(0); i > 0 && in.ok(); --i) {
        const quint16 id = in.u16();
        strings.insert(id, text(in.bytes(in.u16())));
    }
    QHash<quint16, quint16> dirIndex;
    Cursor dirs = at(1);
    for (int i = count(1); i > 0 && dirs.ok(); --i) {
        const quint16 id = dirs.u16();
        SetupFile::Dir dir;
        if (!path(dirs, dirs.u16(), strings, dir.parts))
            return false;
        dirIndex.insert(id, quint16(setup.dirs.size()));
        setup.dirs.append(dir);
    }
    Cursor files = at(2);
    for (int i = count(2); i > 0 && files.ok(); --i) {
        SetupFile::File file;
        file.id = files.u16();
        const quint16 dir = files.u16();
        files.u16();
        file.flags = files.u32();
        file.name = text(files.bytes(files.u16()));
        if (!dirIndex.contains(dir))
            return false;
        file.dir = dirIndex[dir];
        setup.files.append(file);
    }
    QHash<quint16, QPair<quint16, QList<QByteArray>>> hives;
    Cursor hive = at(3);
    for (int i = count(3); i > 0 && hive.ok(); --i) {
        const quint16 id = hive.u16();
        const quint16 root = hive.u16();
        hive.u16();
        QList<QByteArray> key;
        if (!path(hive, hive.u16(), strings, key))
            return false;
        hives.insert(id, qMakePair(root, key));
    }
    Cursor values = at(4);
    for (int i = count(4); i > 0 && values.ok(); --i) {
        values.u16();
        const quint16 hiveId = values.u16();
        values.u16();
        SetupFile::RegValue value;
        value.typeFlags = values.u32();
        const QByteArrayView data = values.bytes(values.u16());
        if (!hives.contains(hiveId) || !data.contains('\0'))
            return false;
        value.root = hives[hiveId].first;
        value.key = hives[hiveId].second;
        value.name = text(data);
        value.data = data.sliced(value.name.size() + 1).toByteArray();
        setup.values.append(value);
    }
    Cursor links = at(5);
    for (int i = count(5); i > 0 && links.ok(); --i) {
        SetupFile::Link link;
        links.u16();
        links.u16();
        link.baseDir = links.u16();
        link.fileId = links.u16();
        const quint16 targetType = links.u16();
        if (!path(links, links.u16(), strings, link.path) || targetType != 1)
            return false;
        setup.links.append(link);
    }
    if (!in.ok() || !dirs.ok() || !files.ok() || !hive.ok() || !values.ok() || !links.ok())
        return false;
    error.clear();
    return true;
}

} // namespace SetupFileReader
