// Small text routines shared by every module: case, padding, list splitting, keywords.
#include "StringUtils.h"

#include <algorithm>

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

namespace {

bool IsBlank(QChar c) {
    return c.unicode() <= 0x20;
}

}  // namespace

QStringList ReadDelimitedText(const QString& text, QChar delimiter, QChar quote) {
    QStringList items;
    const qsizetype n = text.size();
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < n && IsBlank(text.at(i)))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        if (text.at(i) == quote) {
            QString item;
            for (++i; i < n; ++i) {
                if (text.at(i) != quote) {
                    item += text.at(i);
                } else if (i + 1 < n && text.at(i + 1) == quote) {
                    item += quote;
                    ++i;
                } else {
                    ++i;  // the closing quote
                    break;
                }
            }
            items.append(item);
        } else {
            const qsizetype start = i;
            while (i < n && !IsBlank(text.at(i)) && text.at(i) != delimiter)
                ++i;
            if (i > start) items.append(text.mid(start, i - start));
        }
        skipBlanks();
        if (i < n && text.at(i) == delimiter) {
            ++i;
            skipBlanks();
        }
    }
    return items;
}

QString WriteDelimitedText(const QStringList& items, QChar delimiter, QChar quote) {
    QString text;
    for (qsizetype k = 0; k < items.size(); ++k) {
        const QString& item = items.at(k);
        if (k > 0) text += delimiter;
        const bool quoted = item.isEmpty() || std::any_of(item.begin(), item.end(), [&](QChar c) {
                                return IsBlank(c) || c == delimiter || c == quote;
                            });
        if (!quoted) {
            text += item;
            continue;
        }
        text += quote;
        for (QChar c : item) {
            if (c == quote) text += quote;
            text += c;
        }
        text += quote;
    }
    return text;
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
