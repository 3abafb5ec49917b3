#include "package/SetupFile.h"

#include "package/LittleEndian.h"

namespace {

// Strings are shared by every section that names a path part; ids from 1.
class StringTable
{
public:
    quint16 id(const QByteArray &text)
    {
        const qsizetype index = m_texts.indexOf(text);
        if (index >= 0)
            return quint16(index + 1);
        m_texts.append(text);
        return quint16(m_texts.size());
    }
    // The id list of a path, ended by a zero id.
    QByteArray ids(const QList<QByteArray> &parts)
    {
        QByteArray list;
        for (const QByteArray &part : parts)
            appendU16(list, id(part));
        appendU16(list, 0);
        return list;
    }
    QByteArray section() const
    {
        QByteArray bytes;
        for (qsizetype i = 0; i < m_texts.size(); ++i) {
            appendU16(bytes, quint16(i + 1));
            appendU16(bytes, quint16(m_texts[i].size() + 1));
            bytes += m_texts[i] + '\0';
        }
        return bytes;
    }
    int count() const { return int(m_texts.size()); }

private:
    QList<QByteArray> m_texts;
};

} // namespace

QByteArray SetupFile::write() const
{
    StringTable strings;
    QByteArray dirSection;
    for (qsizetype i = 0; i < dirs.size(); ++i) {
        const QByteArray list = strings.ids(dirs[i].parts);
        appendU16(dirSection, quint16(i + 1));
        appendU16(dirSection, quint16(list.size()));
        dirSection += list;
    }
    QByteArray fileSection;
    for (const File &file : files) {
        appendU16(fileSection, file.id);
        appendU16(fileSection, quint16(file.dir + 1));
        appendU16(fileSection, file.id);
        appendU32(fileSection, file.flags);
        appendU16(fileSection, quint16(file.name.size() + 1));
        fileSection += file.name + '\0';
    }
    QList<QPair<quint16, QList<QByteArray>>> hives;
    QByteArray hiveSection;
    QByteArray valueSection;
    for (qsizetype i = 0; i < values.size(); ++i) {
        const RegValue &value = values[i];
        qsizetype hive = hives.indexOf(qMakePair(value.root, value.key));
        if (hive < 0) {
            hives.append(qMakePair(value.root, value.key));
            hive = hives.size() - 1;
            const QByteArray list = strings.ids(value.key);
            appendU16(hiveSection, quint16(hive + 1));
            appendU16(hiveSection, value.root);
            appendU16(hiveSection, 0);
            appendU16(hiveSection, quint16(list.size()));
            hiveSection += list;
        }
        const QByteArray data = value.name + '\0' + value.data;
        appendU16(valueSection, quint16(i + 1));
        appendU16(valueSection, quint16(hive + 1));
        appendU16(valueSection, 0); // no macro expansion in the data
        appendU32(valueSection, value.typeFlags);
        appendU16(valueSection, quint16(data.size()));
        valueSection += data;
    }
    QByteArray linkSection;
    for (qsizetype i = 0; i < links.size(); ++i) {
        const QByteArray list = strings.ids(links[i].path);
        appendU16(linkSection, quint16(i + 1));
        appendU16(linkSection, 0);
        appendU16(linkSection, links[i].baseDir);
        appendU16(linkSection, links[i].fileId);
        appendU16(linkSection, 1); // points to a file
        appendU16(linkSection, quint16(list.size()));
        linkSection += list;
    }

    QByteArray names = appName + '\0' + provider + '\0';
    QByteArray unsupportedText;
    for (const QByteArray &platform : unsupported)
        unsupportedText += platform + '\0';
    if (!unsupportedText.isEmpty())
        unsupportedText += '\0';
    const QByteArray sections[] = {strings.section(), dirSection, fileSection, hiveSection, valueSection, linkSection};
    const int counts[] = {strings.count(), int(dirs.size()), int(files.size()), int(hives.size()),
                          int(values.size()), int(links.size())};

    QByteArray header("MSCE", 4);
    quint32 offset = HeaderSize + quint32(names.size() + unsupportedText.size());
    quint32 total = offset;
    for (const QByteArray &section : sections)
        total += quint32(section.size());
    for (quint32 field : {0u, total, 0u, 1u, processor, minMajor, minMinor, maxMajor, maxMinor, minBuild, maxBuild})
        appendU32(header, field);
    for (int count : counts)
        appendU16(header, quint16(count));
    for (const QByteArray &section : sections) {
        appendU32(header, offset);
        offset += quint32(section.size());
    }
    appendU16(header, HeaderSize);
    appendU16(header, quint16(appName.size() + 1));
    appendU16(header, quint16(HeaderSize + appName.size() + 1));
    appendU16(header, quint16(provider.size() + 1));
    appendU16(header, unsupportedText.isEmpty() ? 0 : quint16(HeaderSize + names.size()));
    appendU16(header, quint16(unsupportedText.size()));
    appendU32(header, 0);
    QByteArray bytes = header + names + unsupportedText;
    for (const QByteArray &section : sections)
        bytes += section;
    return bytes;
}
