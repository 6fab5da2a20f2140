// Wildcard matching of file names, without regard to case.
#include "FileMask.h"

namespace Platform {

namespace {

char16_t Fold(char16_t c) {
    if (c < 0x80) return (c >= 'A' && c <= 'Z') ? static_cast<char16_t>(c + ('a' - 'A')) : c;
    return QChar::toCaseFolded(c);
}

// Length in UTF-16 units of the character at `i` (2 for a surrogate pair).
qsizetype CharLength(QStringView s, qsizetype i) {
    return (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate()) ? 2 : 1;
}

// Classic wildcard match with one backtracking point for the last "*".
bool Match(QStringView name, QStringView mask) {
    qsizetype n = 0, m = 0;
    qsizetype starMask = -1, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            starMask = ++m;
            starName = n;
        } else if (m < mask.size() && mask[m] == QLatin1Char('?')) {
            ++m;
            n += CharLength(name, n);
        } else if (m < mask.size() && Fold(mask[m].unicode()) == Fold(name[n].unicode())) {
            ++m;
            ++n;
        } else if (starMask >= 0) {
            m = starMask;
            starName += CharLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

}  // namespace

bool MatchesMask(const QString& name, const QString& mask) {
    if (mask.isEmpty() || name.isEmpty()) return false;
    if (mask == QLatin1String("*") || mask == QLatin1String("*.*")) return true;
    const QStringView maskView(mask);
    if (mask.endsWith(QLatin1String(".*"))) {
        // "name.*" also matches "name" itself.
        return Match(name, maskView) || Match(name, maskView.chopped(2));
    }
    if (mask.endsWith(QLatin1Char('.')) && !name.contains(QLatin1Char('.'))) {
        // "name." and "*." stand for names without an extension.
        qsizetype end = mask.size();
        while (end > 0 && mask.at(end - 1) == QLatin1Char('.'))
            --end;
        return Match(name, maskView.left(end));
    }
    return Match(name, maskView);
}

}  // namespace Platform
