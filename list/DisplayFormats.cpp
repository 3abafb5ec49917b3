#include "list/DisplayFormats.h"

#include "platform/FileTime.h"

#include <QDateTime>
#include <array>

QString FormatFileSize(DWORD sizeHigh, DWORD sizeLow)
{
    if (sizeHigh == 0 && sizeLow < 1024)
        return QString::asprintf("%d b", int(sizeLow));
    if (sizeHigh == 0 && sizeLow < 1048576)
        return QString::asprintf("%.1fKb", sizeLow / 1024.0);
    const double bytes = double((std::uint64_t(sizeHigh) << 32) | sizeLow);
    return QString::asprintf("%.1fMb", bytes / 1048576.0);
}

QString FormatFileTime(const FILETIME &time)
{
    const QDateTime local = FileTime::toLocal(time);
    const QDate date = local.date();
    const QTime clock = local.time();
    return QString::asprintf("%02d-%02d-%02d %02d:%02d:%02d", date.day(), date.month(), date.year(),
                             clock.hour(), clock.minute(), clock.second());
}

QString FormatAttributes(DWORD attributes)
{
    struct Letter {
        DWORD bit;
        char letter;
    };
    static constexpr std::array<Letter, 11> letters{{
        {FILE_ATTRIBUTE_READONLY, 'R'},
        {FILE_ATTRIBUTE_HIDDEN, 'H'},
        {FILE_ATTRIBUTE_SYSTEM, 'S'},
        {FILE_ATTRIBUTE_DIRECTORY, 'D'},
        {FILE_ATTRIBUTE_ARCHIVE, 'A'},
        {FILE_ATTRIBUTE_INROM, 'I'},
        {FILE_ATTRIBUTE_NORMAL, 'N'},
        {FILE_ATTRIBUTE_TEMPORARY, 'T'},
        {FILE_ATTRIBUTE_COMPRESSED, 'C'},
        {FILE_ATTRIBUTE_ROMSTATICREF, 'F'},
        {FILE_ATTRIBUTE_ROMMODULE, 'M'},
    }};
    QString text;
    for (const Letter &l : letters) {
        if (attributes & l.bit)
            text += QLatin1Char(l.letter);
    }
    return text;
}
