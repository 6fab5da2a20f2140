// Filling message patterns with arguments; any pattern that does not fit gives a readable text.
#include "FormatSafe.h"

#include <limits>
#include <optional>

#include <QStringView>

namespace StringUtils {

const Catalog::TResourceString SFormatError = Catalog::ResourceString("Format error: ");

namespace {

// Catalog patterns are untrusted: a width, precision or index above this is an error, not a
// request for a huge text.
constexpr int kMaxField = 1024;
// No pattern may build more than this many characters, however often it repeats an argument.
constexpr qsizetype kMaxResult = qsizetype{1} << 20;

// One directive: "%" [index ":"] ["-"] [width] ["." precision] type.
struct TDirective {
    std::optional<int> Index;
    bool LeftAlign = false;
    int Width = 0;
    std::optional<int> Precision;
    char16_t Type = 0;  // lower case: s, d, u or x
};

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// Decimal digits at `pos`; nullopt when there are none or the number exceeds kMaxField.
std::optional<int> ReadNumber(QStringView pattern, qsizetype& pos) {
    const qsizetype start = pos;
    int value = 0;
    bool tooLarge = false;
    for (; pos < pattern.size() && IsDigit(pattern[pos]); ++pos) {
        value = value * 10 + (pattern[pos].unicode() - u'0');
        if (value > kMaxField) {
            tooLarge = true;
            value = kMaxField;  // keeps the sum from overflowing while the digits are skipped
        }
    }
    if (pos == start || tooLarge) return std::nullopt;
    return value;
}

// Parses the directive after the "%" at `pos`; `pos` ends after the type letter.
std::optional<TDirective> ReadDirective(QStringView pattern, qsizetype& pos) {
    TDirective directive;
    const auto at = [&](char16_t c) { return pos < pattern.size() && pattern[pos] == c; };
    const auto atDigit = [&] { return pos < pattern.size() && IsDigit(pattern[pos]); };
    bool hasWidth = false;
    if (atDigit()) {
        const std::optional<int> number = ReadNumber(pattern, pos);
        if (!number) return std::nullopt;
        if (at(u':')) {
            directive.Index = number;
            ++pos;
        } else {
            directive.Width = *number;
            hasWidth = true;
        }
    }
    if (!hasWidth) {
        if (at(u'-')) {
            directive.LeftAlign = true;
            ++pos;
        }
        if (atDigit()) {
            const std::optional<int> width = ReadNumber(pattern, pos);
            if (!width) return std::nullopt;
            directive.Width = *width;
        }
    }
    if (at(u'.')) {
        ++pos;
        directive.Precision = ReadNumber(pattern, pos);
        if (!directive.Precision) return std::nullopt;
    }
    if (pos >= pattern.size()) return std::nullopt;
    // Type letters are not case-sensitive; hexadecimal digits are always lower case.
    const char16_t type = pattern[pos].toLower().unicode();
    if (type != u's' && type != u'd' && type != u'u' && type != u'x') return std::nullopt;
    directive.Type = type;
    ++pos;
    return directive;
}

// A negative number for %u or %x is shown as its two's complement: in 32 bits when it fits
// there (what a caller passing an int expects), otherwise in 64 bits.
uint64_t AsUnsigned(int64_t value) {
    if (value < 0 && value >= std::numeric_limits<int32_t>::min()) {
        return static_cast<uint32_t>(value);
    }
    return static_cast<uint64_t>(value);
}

// The argument as the directive shows it; nullopt when the two do not fit.
std::optional<QString> FormatArg(const TDirective& directive, const TFormatArg& arg) {
    QString result;
    if (directive.Type == u's') {
        const QString* text = std::get_if<QString>(&arg.Value());
        if (!text) return std::nullopt;
        result = directive.Precision ? text->left(*directive.Precision) : *text;
    } else {
        if (std::holds_alternative<QString>(arg.Value())) return std::nullopt;
        bool negative = false;
        uint64_t magnitude = 0;
        if (const int64_t* value = std::get_if<int64_t>(&arg.Value())) {
            if (directive.Type == u'd') {
                negative = *value < 0;
                // Computed unsigned so that the smallest 64-bit value has a magnitude as well.
                magnitude =
                    negative ? 0 - static_cast<uint64_t>(*value) : static_cast<uint64_t>(*value);
            } else {
                magnitude = AsUnsigned(*value);
            }
        } else {
            // An unsigned value keeps its value under %d, also above the signed range.
            magnitude = std::get<uint64_t>(arg.Value());
        }
        result = QString::number(magnitude, directive.Type == u'x' ? 16 : 10);
        if (directive.Precision) result = result.rightJustified(*directive.Precision, u'0');
        if (negative) result.prepend(QLatin1Char('-'));
    }
    return directive.LeftAlign ? result.leftJustified(directive.Width, QLatin1Char(' '))
                               : result.rightJustified(directive.Width, QLatin1Char(' '));
}

std::optional<QString> TryFormat(QStringView pattern, std::initializer_list<TFormatArg> args) {
    QString result;
    qsizetype nextArg = 0;
    qsizetype pos = 0;
    while (pos < pattern.size()) {
        qsizetype percent = pattern.indexOf(u'%', pos);
        if (percent < 0) percent = pattern.size();
        result += pattern.sliced(pos, percent - pos);
        pos = percent;
        if (pos == pattern.size()) break;
        ++pos;
        if (pos < pattern.size() && pattern[pos] == u'%') {
            result += QLatin1Char('%');
            ++pos;
            continue;
        }
        const std::optional<TDirective> directive = ReadDirective(pattern, pos);
        if (!directive) return std::nullopt;
        // An index also sets where the following directives continue.
        if (directive->Index) nextArg = *directive->Index;
        if (nextArg >= static_cast<qsizetype>(args.size())) return std::nullopt;
        const std::optional<QString> text = FormatArg(*directive, args.begin()[nextArg++]);
        if (!text || result.size() + text->size() > kMaxResult) return std::nullopt;
        result += *text;
    }
    return result;
}

}  // namespace

QString FormatSafe(const QString& pattern, std::initializer_list<TFormatArg> args) {
    if (std::optional<QString> result = TryFormat(pattern, args)) return *std::move(result);
    return Catalog::LoadResString(SFormatError) + pattern;
}

QString ZeroPaddedInt(int digits, int64_t value) {
    return FormatSafe(QStringLiteral("%.") + QString::number(digits) + QLatin1Char('d'), {value});
}

}  // namespace StringUtils
