// File masks match as users know them from the platform's file search.
#include "FileMask.h"

#include <gtest/gtest.h>

using Platform::MatchesMask;

TEST(FileMask, MatchesLikeThePlatformSearch) {
    struct Case {
        const char16_t* name;
        const char16_t* mask;
        bool matches;
    };
    const Case cases[] = {
        {u"a.txt", u"*.*", true},
        {u"README", u"*.*", true},  // no dot, still every name
        {u"README", u"*", true},
        {u"a.TXT", u"*.txt", true},
        {u"a.txt", u"*.TXT", true},
        {u"Äpfel.txt", u"äPFEL.*", true},
        {u"a.txt.bak", u"*.txt", false},
        {u"a.tar.gz", u"*.gz", true},
        {u"abc", u"abc.*", true},  // ".*" also matches no extension
        {u"abc.d", u"abc.*", true},
        {u"abcd", u"abc.*", false},
        {u"a.txt", u"?.txt", true},
        {u"ab.txt", u"?.txt", false},
        {u".txt", u"?.txt", false},
        {u"abxc", u"a*?c", true},
        {u"ac", u"a*?c", false},
        {u"aXbXc", u"a*b*c", true},
        {u"file", u"*.", true},  // "*." stands for names without an extension
        {u"file.txt", u"*.", false},
        {u"x", u"", false},
        {u"\U0001F4C1.txt", u"?.txt", true},  // "?" is one character, also beyond the BMP
        {u"exact", u"EXACT", true},
        {u"exact2", u"exact", false},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf16(c.name);
        const QString mask = QString::fromUtf16(c.mask);
        EXPECT_EQ(MatchesMask(name, mask), c.matches)
            << name.toStdString() << " ~ " << mask.toStdString();
    }
}
