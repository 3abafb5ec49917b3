// The handheld's file-name wildcards: "*" any run of characters, "?" exactly
// one, compared without regard to case. "*" and "*.*" match every name, with
// or without a dot; a pattern ending in ".*" also matches the name without
// that extension ("a.*" matches "a").
#pragma once

#include <QString>

class WildcardPattern
{
public:
    explicit WildcardPattern(const QString &pattern);

    bool matchesAll() const { return m_matchesAll; }
    bool matches(const QString &name) const;

private:
    static bool glob(const QChar *pattern, const QChar *patternEnd, const QChar *name, const QChar *nameEnd);

    QString m_folded;
    bool m_matchesAll = false;
};
