// Tests of the shared text routines: case, padding, list splitting and keywords.
#include "StringUtils.h"

#include <QLocale>
#include <QStringList>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace StringUtils;

namespace {

// Runs each test under a known locale and gives the previous one back afterwards.
class StringUtilsLocale : public ::testing::Test {
  protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(saved_); }

  private:
    QLocale saved_;
};

TEST_F(StringUtilsLocale, ChangeTextCaseMapsEveryLetter) {
    struct {
        QString text;
        TTextChange change;
        QString expected;
    } const cases[] = {
        {u"äöü"_s, tcUpper, u"ÄÖÜ"_s},
        {u"straße"_s, tcUpper, u"STRASSE"_s},
        {u"ÄÖÜ Ab 1"_s, tcLower, u"äöü ab 1"_s},
        {u"MiXed"_s, tcNone, u"MiXed"_s},
        {u"MiXed"_s, static_cast<TTextChange>(3), u"MiXed"_s},
        {QString(), tcUpper, QString()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ChangeTextCase(c.text, c.change), c.expected) << c.text.toStdString();
    }
}

TEST_F(StringUtilsLocale, ChangeTextCaseFollowsTheUserLocale) {
    // Only a Turkish mapping gives the dotted capital I.
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    EXPECT_EQ(ChangeTextCase(u"i"_s, tcUpper), u"\u0130"_s);
    EXPECT_EQ(ChangeTextCase(u"I"_s, tcLower), u"\u0131"_s);
}

TEST(StringUtils, PadRightSpaces) {
    struct {
        QString text;
        int width;
        QString expected;
    } const cases[] = {
        {u"First folder:"_s, 15, u"First folder:  "_s},
        {u"First folder:"_s, 13, u"First folder:"_s},
        {u"First folder:"_s, 10, u"First folder:"_s},
        {QString(), 3, u"   "_s},
        {u"ab"_s, -1, u"ab"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PadRightSpaces(c.text, c.width), c.expected) << c.text.toStdString() << c.width;
    }
}

TEST(StringUtils, IsEmptyTextCountsBlanksAsText) {
    EXPECT_TRUE(IsEmptyText(QString()));
    EXPECT_TRUE(IsEmptyText(u""_s));
    EXPECT_FALSE(IsEmptyText(u" "_s));
}

TEST(StringUtils, ReplaceCharIsCaseSensitive) {
    EXPECT_EQ(ReplaceChar(u"#a\"b#"_s, u'#', u'"'), u"\"a\"b\""_s);
    EXPECT_EQ(ReplaceChar(u"aAa"_s, u'a', u'x'), u"xAx"_s);
    EXPECT_EQ(ReplaceChar(u"abc"_s, u'z', u'x'), u"abc"_s);
}

TEST(StringUtils, ReadNextItemTakesOneItem) {
    struct {
        QString list;
        QString item;
        QString rest;
    } const cases[] = {
        {u"*.txt;*.doc"_s, u"*.txt"_s, u"*.doc"_s},
        {u"*.doc"_s, u"*.doc"_s, u""_s},
        {u"*.txt; *.doc"_s, u"*.txt"_s, u" *.doc"_s},
        {u";*.doc"_s, u""_s, u"*.doc"_s},
        {u"a;;b"_s, u"a"_s, u";b"_s},
        {u"a;"_s, u"a"_s, u""_s},
        {u" a ;b"_s, u" a "_s, u"b"_s},
        {u""_s, u""_s, u""_s},
    };
    for (const auto& c : cases) {
        QString list = c.list;
        EXPECT_EQ(ReadNextItem(list, u';'), c.item) << c.list.toStdString();
        EXPECT_EQ(list, c.rest) << c.list.toStdString();
    }
}

TEST(StringUtils, ReadNextItemInTheCallersLoop) {
    const auto items = [](QString list) {
        QStringList result;
        while (!list.isEmpty())
            result << ReadNextItem(list, u';');
        return result;
    };
    EXPECT_EQ(items(u"a;b;"_s), QStringList({u"a"_s, u"b"_s}));
    EXPECT_EQ(items(u"*.txt; *.doc"_s), QStringList({u"*.txt"_s, u" *.doc"_s}));
    EXPECT_EQ(items(u"a;;b"_s), QStringList({u"a"_s, u""_s, u"b"_s}));
    EXPECT_EQ(items(u";a"_s), QStringList({u""_s, u"a"_s}));
}

TEST(StringUtils, ReadDelimitedTextSplitsAtDelimitersAndBlanksButNotInsideQuotes) {
    struct {
        QString text;
        QStringList items;
    } const cases[] = {
        {u"*.txt;*.doc"_s, {u"*.txt"_s, u"*.doc"_s}},
        {u"*.txt; *.doc"_s, {u"*.txt"_s, u"*.doc"_s}},
        {u"  *.txt ;\t*.doc  "_s, {u"*.txt"_s, u"*.doc"_s}},
        {u"a b;c"_s, {u"a"_s, u"b"_s, u"c"_s}},
        {u"\"my file.txt\";*.doc"_s, {u"my file.txt"_s, u"*.doc"_s}},
        {u"\"a;b\""_s, {u"a;b"_s}},
        {u"\"say \"\"hi\"\"\""_s, {u"say \"hi\""_s}},
        {u"a;;b;"_s, {u"a"_s, u"b"_s}},
        {u";"_s, {}},
        {u""_s, {}},
        {u"   "_s, {}},
        {u"\"\";a"_s, {u""_s, u"a"_s}},
        {u"\"open to the end"_s, {u"open to the end"_s}},
        {u"\"a\"b"_s, {u"a"_s, u"b"_s}},
        {u"a\"b"_s, {u"a\"b"_s}},
        {u"*.*"_s, {u"*.*"_s}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadDelimitedText(c.text, u';', u'"'), c.items) << c.text.toStdString();
    }
    EXPECT_EQ(ReadDelimitedText(u"a,b c"_s, u',', u'"'), QStringList({u"a"_s, u"b"_s, u"c"_s}));
}

TEST(StringUtils, WriteDelimitedTextQuotesWhatReadingWouldSplit) {
    struct {
        QStringList items;
        QString text;
    } const cases[] = {
        {{u"*.txt"_s, u"*.doc"_s}, u"*.txt;*.doc"_s},
        {{u"my file.txt"_s}, u"\"my file.txt\""_s},
        {{u"a;b"_s, u"c"_s}, u"\"a;b\";c"_s},
        {{u"say \"hi\""_s}, u"\"say \"\"hi\"\"\""_s},
        {{u""_s, u"a"_s}, u"\"\";a"_s},
        {{u"tab\there"_s}, u"\"tab\there\""_s},
        {{u"a,b"_s}, u"a,b"_s},
        {{}, u""_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WriteDelimitedText(c.items, u';', u'"'), c.text) << c.text.toStdString();
        EXPECT_EQ(ReadDelimitedText(c.text, u';', u'"'), c.items) << c.text.toStdString();
    }
}

TEST_F(StringUtilsLocale, MatchesKeywordAcceptsEveryBeginning) {
    struct {
        QString text;
        bool expected;
    } const cases[] = {
        {u"f"_s, true},       {u"FO"_s, true}, {u"Force"_s, true}, {u""_s, true},
        {u"forced"_s, false}, {u"x"_s, false}, {u"fx"_s, false},   {u"orce"_s, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchesKeyword(c.text, u"force"_s), c.expected) << c.text.toStdString();
    }
}

TEST_F(StringUtilsLocale, StripKeywordPrefix) {
    struct {
        QString text;
        bool expected;
        QString rest;
    } const cases[] = {
        {u"lang:de"_s, true, u"de"_s},       {u"LA:de"_s, true, u"de"_s},
        {u"lang:de:AT"_s, true, u"de:AT"_s}, {u"lang:"_s, true, u""_s},
        {u":de"_s, true, u"de"_s},           {u"language:de"_s, false, u"language:de"_s},
        {u"ini:x"_s, false, u"ini:x"_s},     {u"de"_s, false, u"de"_s},
        {u"lang"_s, false, u"lang"_s},
    };
    for (const auto& c : cases) {
        QString text = c.text;
        EXPECT_EQ(StripKeywordPrefix(text, u"lang"_s), c.expected) << c.text.toStdString();
        EXPECT_EQ(text, c.rest) << c.text.toStdString();
    }
}

}  // namespace
