// Filling message patterns with arguments without ever failing: catalog patterns are
// untrusted input, so a pattern that does not fit its arguments gives a readable text.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <variant>

#include <QString>

#include "Catalog.h"

namespace StringUtils {

// One argument of a pattern: a text, a signed or an unsigned number.
class TFormatArg {
  public:
    TFormatArg(const QString& text) : value_(text) {}
    TFormatArg(const char* text) : value_(QString::fromUtf8(text)) {}
    TFormatArg(int value) : value_(int64_t{value}) {}
    TFormatArg(long value) : value_(int64_t{value}) {}
    TFormatArg(long long value) : value_(int64_t{value}) {}
    TFormatArg(unsigned value) : value_(uint64_t{value}) {}
    TFormatArg(unsigned long value) : value_(uint64_t{value}) {}
    TFormatArg(unsigned long long value) : value_(uint64_t{value}) {}

    const std::variant<QString, int64_t, uint64_t>& Value() const { return value_; }

  private:
    std::variant<QString, int64_t, uint64_t> value_;
};

extern const Catalog::TResourceString SFormatError;  // "Format error: "

// Fills `pattern` with `args`. Directives: %s (text), %d and %u (numbers), %x (hexadecimal,
// lower case), each with an optional argument index ("%1:s"), "-" for left alignment, a width
// and a precision (minimum digits for numbers, maximum characters for texts); "%%" is a percent
// sign. A directive that does not fit its argument, a missing argument or a malformed directive
// gives the translated "Format error: " followed by the pattern. Type letters ignore case;
// numbers have no group separators; a negative number under %u or %x shows its two's complement
// in 32 bits, or in 64 when it does not fit 32. Width, precision and index above 1024, "*" and a
// result above 2^20 characters are format errors.
QString FormatSafe(const QString& pattern, std::initializer_list<TFormatArg> args = {});

// The value in decimal with at least `digits` digits ("%.2d": 7 gives 07, -7 gives -07).
QString ZeroPaddedInt(int digits, int64_t value);

}  // namespace StringUtils
