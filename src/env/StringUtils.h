// Small text routines shared by every module: case, padding, list splitting, keywords.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

namespace StringUtils {

enum TTextChange { tcNone = 0, tcLower = 1, tcUpper = 2 };

// The text in lower or upper case by the user locale's mapping; unchanged for tcNone.
QString ChangeTextCase(const QString& text, TTextChange change);

// The text followed by blanks up to `width` characters.
QString PadRightSpaces(const QString& text, int width);

// True for a text of length 0 (blanks are not empty).
bool IsEmptyText(const QString& text);

// Every `from` replaced by `to`, case matters.
QString ReplaceChar(const QString& text, QChar from, QChar to);

// Takes the next item off `list`: the text before the first `separator` (the whole text when
// there is none); `list` keeps what follows the separator. Items are not trimmed.
QString ReadNextItem(QString& list, QChar separator);

// The items of a list written as delimited text, such as a file filter "*.txt; *.doc": items
// are separated by `delimiter` and also by blanks (any character up to U+0020); an item that
// begins with `quote` runs to the closing quote and may contain blanks and delimiters, and a
// doubled quote inside it stands for one. Blanks around items are dropped, and nothing between
// two separators is no item; only a quoted empty item ("") gives an empty one.
QStringList ReadDelimitedText(const QString& text, QChar delimiter, QChar quote);

// The items joined with `delimiter`, so that ReadDelimitedText gives them back: an item that is
// empty or holds a blank, a character below U+0020, the delimiter or the quote is written in
// quotes, with its quotes doubled.
QString WriteDelimitedText(const QStringList& items, QChar delimiter, QChar quote);

// True when the lower-cased text is a beginning of `keyword` (the empty text included).
bool MatchesKeyword(const QString& text, const QString& keyword);

// For "keyword-part:value": true when the part before the first colon matches `keyword`;
// `text` has then lost that part and the colon.
bool StripKeywordPrefix(QString& text, const QString& keyword);

}  // namespace StringUtils
