#include "platform/WildcardPattern.h"

WildcardPattern::WildcardPattern(const QString &pattern)
    : m_folded(pattern.toCaseFolded())
{
    m_matchesAll = m_folded == QLatin1String("*") || m_folded == QLatin1String("*.*");
}

bool WildcardPattern::matches(const QString &name) const
{
    if (m_matchesAll)
        return true;
    const QString folded = name.toCaseFolded();
    const QChar *p = m_folded.constData();
    const QChar *n = folded.constData();
    if (glob(p, p + m_folded.size(), n, n + folded.size()))
        return true;
    return m_folded.endsWith(QLatin1String(".*")) && glob(p, p + m_folded.size() - 2, n, n + folded.size());
}

bool WildcardPattern::glob(const QChar *pattern, const QChar *patternEnd, const QChar *name, const QChar *nameEnd)
{
    // Iterative matching with one backtrack point: linear in practice.
    const QChar *starPattern = nullptr;
    const QChar *starName = nullptr;
    while (name != nameEnd) {
        if (pattern != patternEnd && *pattern == QLatin1Char('*')) {
            starPattern = ++pattern;
            starName = name;
        } else if (pattern != patternEnd && (*pattern == QLatin1Char('?') || *pattern == *name)) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (pattern != patternEnd && *pattern == QLatin1Char('*'))
        ++pattern;
    return pattern == patternEnd;
}
