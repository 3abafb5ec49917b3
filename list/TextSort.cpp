#include "list/TextSort.h"

#include <QDate>
#include <QRegularExpression>

namespace TextSort {

namespace {

int sign(double difference)
{
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

int unitRank(const QString &size)
{
    if (size.indexOf(QLatin1String("Mb")) > 0)
        return 3;
    return size.indexOf(QLatin1String("Kb")) > 0 ? 2 : 1;
}

// The leading decimal number, as the C runtime reads it; 0 when there is none.
double leadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(0).trimmed().toDouble() : 0.0;
}

int compareSizes(const QString &first, const QString &second)
{
    const int rank = unitRank(first) - unitRank(second);
    if (rank != 0)
        return rank < 0 ? -1 : 1;
    return sign(leadingNumber(first) - leadingNumber(second));
}

// Seconds from 1899-12-30 00:00, the zero of the platform's date values.
struct ShownDate {
    bool valid = false;
    qint64 value = 0;
};

ShownDate parseShownDate(const QString &text)
{
    static const QRegularExpression shown(QStringLiteral("^(\\d+)-(\\d+)-(\\d+) (\\d+):(\\d+):(\\d+)$"));
    const QRegularExpressionMatch match = shown.match(text);
    if (!match.hasMatch())
        return {};
    const QDate date(match.captured(3).toInt(), match.captured(2).toInt(), match.captured(1).toInt());
    const QTime time(match.captured(4).toInt(), match.captured(5).toInt(), match.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    const qint64 days = date.toJulianDay() - QDate(1899, 12, 30).toJulianDay();
    return {true, days * 86400 + time.msecsSinceStartOfDay() / 1000};
}

int compareDates(const QString &first, const QString &second)
{
    const ShownDate a = parseShownDate(first);
    const ShownDate b = parseShownDate(second);
    if (a.valid == b.valid && a.value == b.value)
        return 0;
    return a.value < b.value ? -1 : 1;
}

int compareUpper(const QString &first, const QString &second)
{
    const int result = QString::compare(first.toUpper(), second.toUpper(), Qt::CaseSensitive);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

} // namespace

int ColumnCode(const QString &title)
{
    static const struct {
        const char *title;
        Code code;
    } codes[] = {{"Name", NameCode}, {"Size", SizeCode}, {"Changed", ChangedCode}, {"Attrs", AttrsCode},
                 {"Type", TypeCode}};
    for (const auto &entry : codes) {
        if (title == QLatin1String(entry.title))
            return entry.code;
    }
    return 0;
}

int NextState(int oldState, int code)
{
    return (oldState & code) && !(oldState & Descending) ? code + Descending : code + Ascending;
}

int Compare(int state, const QString &first, const QString &second)
{
    int result = 0;
    switch (state & ~(Ascending | Descending)) {
    case NameCode:
        result = compareUpper(first, second);
        break;
    case AttrsCode:
    case TypeCode:
        result = compareUpper(second, first);
        break;
    case SizeCode:
        result = compareSizes(first, second);
        break;
    case ChangedCode:
        result = compareDates(first, second);
        break;
    default:
        return 0;
    }
    return (state & Descending) ? -result : result;
}

} // namespace TextSort
