// Tests of pattern filling: every directive, its options, and every way a pattern can misfit.
#include "FormatSafe.h"

#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace StringUtils;

namespace {

struct TCase {
    QString pattern;
    std::vector<TFormatArg> args;
    QString expected;
};

// FormatSafe takes its arguments as a braced list, so a table row is spread out here.
QString FormatWith(const QString& pattern, const std::vector<TFormatArg>& a) {
    switch (a.size()) {
        case 0:
            return FormatSafe(pattern);
        case 1:
            return FormatSafe(pattern, {a[0]});
        case 2:
            return FormatSafe(pattern, {a[0], a[1]});
        case 3:
            return FormatSafe(pattern, {a[0], a[1], a[2]});
        default:
            ADD_FAILURE() << "too many arguments in a table row";
            return QString();
    }
}

void CheckCases(const std::vector<TCase>& cases) {
    for (const TCase& c : cases) {
        EXPECT_EQ(FormatWith(c.pattern, c.args), c.expected) << c.pattern.toStdString();
    }
}

constexpr int64_t kInt64Min = std::numeric_limits<int64_t>::min();
constexpr uint64_t kUInt64Max = std::numeric_limits<uint64_t>::max();

TEST(FormatSafe, FillsEveryDirective) {
    CheckCases({
        {u"  Copy: %s"_s, {u"a\\b.txt"_s}, u"  Copy: a\\b.txt"_s},
        {u"%s"_s, {u""_s}, u""_s},
        {u"%d"_s, {-7}, u"-7"_s},
        {u"%d"_s, {42u}, u"42"_s},
        {u"%d"_s, {kInt64Min}, u"-9223372036854775808"_s},
        {u"%d"_s, {kUInt64Max}, u"18446744073709551615"_s},
        {u"  %u files found"_s, {12u}, u"  12 files found"_s},
        {u"%u"_s, {0}, u"0"_s},
        {u"%u"_s, {kUInt64Max}, u"18446744073709551615"_s},
        {u"%.2d"_s, {-7}, u"-07"_s},
        {u"%.2d"_s, {7u}, u"07"_s},
        {u"%.2d"_s, {123}, u"123"_s},
        {u"%.0d"_s, {0}, u"0"_s},
        {u"%.3u"_s, {5u}, u"005"_s},
        {u"%.8x"_s, {255}, u"000000ff"_s},
        {u"%.8x"_s, {0xDEADBEEFu}, u"deadbeef"_s},
        {u"%x"_s, {0x1234567890ABull}, u"1234567890ab"_s},
        {u"%D %U %X"_s, {-1, 2u, 171}, u"-1 2 ab"_s},
        {u"%S"_s, {u"a"_s}, u"a"_s},
        {u"Nothing to do!"_s, {}, u"Nothing to do!"_s},
        {u""_s, {}, u""_s},
    });
}

TEST(FormatSafe, NegativeNumbersAsUnsigned) {
    // A negative value that fits 32 bits is shown in 32 bits, a larger one in 64 bits.
    CheckCases({
        {u"%u"_s, {-1}, u"4294967295"_s},
        {u"%x"_s, {-1}, u"ffffffff"_s},
        {u"%u"_s, {std::numeric_limits<int32_t>::min()}, u"2147483648"_s},
        {u"%u"_s, {int64_t{-5000000000}}, u"18446744068709551616"_s},
        {u"%x"_s, {kInt64Min}, u"8000000000000000"_s},
    });
}

TEST(FormatSafe, PercentSign) {
    CheckCases({
        {u"100%%"_s, {}, u"100%"_s},
        {u"%%s %s"_s, {u"a"_s}, u"%s a"_s},
        {u"%%%d%%"_s, {5}, u"%5%"_s},
    });
}

TEST(FormatSafe, IndexWidthAndPrecision) {
    CheckCases({
        {u"%1:s %0:s"_s, {u"a"_s, u"b"_s}, u"b a"_s},
        {u"%1:s %s"_s, {u"a"_s, u"b"_s, u"c"_s}, u"b c"_s},
        {u"%s %0:s %s"_s, {u"a"_s, u"b"_s}, u"a a b"_s},
        {u"[%5s]"_s, {u"ab"_s}, u"[   ab]"_s},
        {u"[%-5s]"_s, {u"ab"_s}, u"[ab   ]"_s},
        {u"[%1s]"_s, {u"abc"_s}, u"[abc]"_s},
        {u"[%.2s]"_s, {u"abcdef"_s}, u"[ab]"_s},
        {u"[%5.2s]"_s, {u"abcdef"_s}, u"[   ab]"_s},
        {u"[%5.3d]"_s, {7}, u"[  007]"_s},
        {u"[%-6.2d]"_s, {-7}, u"[-07   ]"_s},
        {u"[%0:-4d]"_s, {5}, u"[5   ]"_s},
        {u"[%1:6.4x]"_s, {0, 255}, u"[  00ff]"_s},
        {u"[%-s]"_s, {u"a"_s}, u"[a]"_s},
        {u"%s"_s, {u"a"_s, 1, 2}, u"a"_s},
    });
}

TEST(FormatSafe, TranslatedPatternWithTheSamePlaceholders) {
    CheckCases({
        {u"Dateien wurden kopiert: %u <=> %u"_s, {3u, 14u}, u"Dateien wurden kopiert: 3 <=> 14"_s},
        {u"  Kopieren: %s"_s, {u"Übersicht.txt"_s}, u"  Kopieren: Übersicht.txt"_s},
        {u"%1:s wurde nach %0:s kopiert"_s,
         {u"Ziel"_s, u"Datei"_s},
         u"Datei wurde nach Ziel kopiert"_s},
        {u"  %u Dateien kopiert"_s, {u"a"_s}, u"Format error:   %u Dateien kopiert"_s},
    });
}

TEST(FormatSafe, MisfitGivesTheUnformattedPattern) {
    struct TMisfit {
        QString pattern;
        std::vector<TFormatArg> args;
    };
    const std::vector<TMisfit> cases = {
        // A directive that does not fit its argument.
        {u"%u files copied"_s, {u"a.txt"_s}},
        {u"%s"_s, {5}},
        {u"%s"_s, {5u}},
        {u"%d"_s, {u"7"_s}},
        {u"%x"_s, {u"ff"_s}},
        {u"Copied %s of %d"_s, {u"a"_s, u"b"_s}},
        // Too few arguments.
        {u"%d"_s, {}},
        {u"%s and %s"_s, {u"a"_s}},
        {u"%1:s"_s, {u"a"_s}},
        {u"%0:s %s %s"_s, {u"a"_s, u"b"_s}},
        // Unknown or malformed directives.
        {u"%q"_s, {1}},
        {u"%f"_s, {1}},
        {u"% d"_s, {1}},
        {u"%.d"_s, {1}},
        {u"%5-d"_s, {1}},
        {u"%0-5d"_s, {1}},
        {u"%:s"_s, {u"a"_s}},
        {u"%-1:s"_s, {u"a"_s}},
        {u"%*d"_s, {5, 1}},
        {u"%.*d"_s, {5, 1}},
        // A pattern that ends inside a directive.
        {u"50%"_s, {}},
        {u"%"_s, {1}},
        {u"%5"_s, {1}},
        {u"%1:"_s, {1, 2}},
        {u"%.2"_s, {1}},
        // Widths, precisions and indexes beyond any sane text.
        {u"%1025d"_s, {1}},
        {u"%.1025d"_s, {1}},
        {u"%.1025s"_s, {u"a"_s}},
        {u"%99999999999999999999999d"_s, {1}},
        {u"%1025:s"_s, {u"a"_s}},
    };
    for (const TMisfit& c : cases) {
        EXPECT_EQ(FormatWith(c.pattern, c.args), u"Format error: "_s + c.pattern)
            << c.pattern.toStdString();
    }
}

TEST(FormatSafe, LargestWidthAndPrecisionStillWork) {
    const QString wide = FormatSafe(u"%1024d"_s, {1});
    EXPECT_EQ(wide, QString(1023, u' ') + u'1');
    const QString precise = FormatSafe(u"%.1024d"_s, {-1});
    EXPECT_EQ(precise, u'-' + QString(1023, u'0') + u'1');
}

TEST(FormatSafe, RepeatingALongArgumentCannotBuildAHugeText) {
    QString pattern;
    for (int i = 0; i < 2048; ++i)
        pattern += u"%0:1024s"_s;
    EXPECT_EQ(FormatSafe(pattern, {u"a"_s}), u"Format error: "_s + pattern);
}

TEST(ZeroPaddedInt, PadsToTheDigits) {
    struct {
        int digits;
        int64_t value;
        QString expected;
    } const cases[] = {
        {2, 0, u"00"_s},
        {2, 7, u"07"_s},
        {2, 12, u"12"_s},
        {2, 123, u"123"_s},
        {2, -7, u"-07"_s},
        {3, -12, u"-012"_s},
        {0, 0, u"0"_s},
        {2, kInt64Min, u"-9223372036854775808"_s},
        // The digits go into the directive, so a count no directive takes is a format error.
        {-1, 5, u"Format error: %.-1d"_s},
        {2000, 5, u"Format error: %.2000d"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ZeroPaddedInt(c.digits, c.value), c.expected) << c.digits << " " << c.value;
    }
}

}  // namespace
