// Small text routines shared by every module: case, padding, list splitting, keywords.
#include "StringUtils.h"

#include <QLocale>
#include <QStringView>

namespace StringUtils {

QString ChangeTextCase(const QString& text, TTextChange change) {
    switch (change) {
        case tcLower:
            return QLocale().toLower(text);
        case tcUpper:
            return QLocale().toUpper(text);
        default:
            return text;
    }
}

QString PadRightSpaces(const QString& text, int width) {
    return text.leftJustified(width, QLatin1Char(' '));
}

bool IsEmptyText(const QString& text) {
    return text.isEmpty();
}

QString ReplaceChar(const QString& text, QChar from, QChar to) {
    return QString(text).replace(from, to, Qt::CaseSensitive);
}

QString ReadNextItem(QString& list, QChar separator) {
    const qsizetype pos = list.indexOf(separator);
    if (pos < 0) {
        QString item = list;
        list.clear();
        return item;
    }
    QString item = list.left(pos);
    list.remove(0, pos + 1);
    return item;
}

bool MatchesKeyword(const QString& text, const QString& keyword) {
    // Compare with the lowered length: a few letters change length when lowered.
    const QString lowered = QLocale().toLower(text);
    return lowered == QStringView(keyword).left(lowered.size());
}

bool StripKeywordPrefix(QString& text, const QString& keyword) {
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (colon < 0 || !MatchesKeyword(text.left(colon), keyword)) return false;
    text.remove(0, colon + 1);
    return true;
}

}  // namespace StringUtils
