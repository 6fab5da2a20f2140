// The settings helpers: direct writers, numbered histories, AddToHistory and FreeListObjects.
#include "SettingsHelpers.h"

#include <cerrno>
#include <stdexcept>

#include <gtest/gtest.h>

#include "TempFolder.h"

using namespace SettingsHelpers;
using IniFiles::EIniFileError;
using IniFiles::TIniFile;
using TestSupport::Entries;
using TestSupport::Exists;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

const QStringList kEight = {"one", "two", "three", "four", "five", "six", "seven", "eight"};

}  // namespace

TEST(DirectWriters, WriteIniBoolStoresOneAndZero) {
    TempFolder folder;
    const QString name = folder / "dialog.ini";
    EXPECT_TRUE(WriteIniBool(name, "Dialog", "On", true));
    EXPECT_TRUE(WriteIniBool(name, "Dialog", "Off", false));
    EXPECT_EQ(ReadAll(name), "[Dialog]\nOn=1\nOff=0\n");
    EXPECT_TRUE(WriteIniBool(name, "dialog", "on", false));
    EXPECT_EQ(ReadAll(name), "[Dialog]\nOn=0\nOff=0\n");
}

TEST(DirectWriters, WriteAtOnceAndKeepTheRestOfTheFile) {
    TempFolder folder;
    const QString name = folder.WriteFile("dialog.ini", "; mine\n[Config]\nTop=1\n");
    EXPECT_TRUE(WriteIniInteger(name, "Config", "Width", -640));
    EXPECT_TRUE(WriteIniString(name, "Dialog", "Last", "/home/me"));
    EXPECT_EQ(ReadAll(name), "; mine\n[Config]\nTop=1\nWidth=-640\n[Dialog]\nLast=/home/me\n");
    EXPECT_TRUE(EraseIniSection(name, "config"));
    EXPECT_EQ(ReadAll(name), "; mine\n[Dialog]\nLast=/home/me\n");
    EXPECT_TRUE(EraseIniSection(name, "Missing"));
    EXPECT_TRUE(EraseIniSection(folder / "absent.ini", "Dialog"));
    EXPECT_FALSE(Exists(folder / "absent.ini"));  // nothing to erase, nothing created
}

TEST(DirectWriters, ReturnFalseInsteadOfRaising) {
    TempFolder folder;
    folder.WriteFile("plain", "x");
    const QByteArray original = "[Dialog]\nLast=/old\n";
    const QString name = folder.WriteFile("dialog.ini", original);
    const QString missingFolder = folder / "missing/dialog.ini";
    const QString folderIsFile = folder / "plain/dialog.ini";

    EXPECT_FALSE(WriteIniString(missingFolder, "Dialog", "Last", "/x"));
    EXPECT_FALSE(WriteIniInteger(folderIsFile, "Dialog", "Top", 1));
    EXPECT_FALSE(WriteIniBool(missingFolder, "Dialog", "On", true));
    EXPECT_FALSE(EraseIniSection(folder.Path(), "Dialog"));  // the name is a folder
    EXPECT_FALSE(WriteIniString("", "Dialog", "Last", "/x"));
    // A value or name with a line break is refused; the file stays as it was.
    EXPECT_FALSE(WriteIniString(name, "Dialog", "Last", "/new\n[Injected]"));
    EXPECT_FALSE(WriteIniString(name, "Dialog", "Last\r", "/new"));
    EXPECT_FALSE(WriteIniString(name, "Dia]log", "Last", "/new"));
    EXPECT_EQ(ReadAll(name), original);
    EXPECT_FALSE(Exists(folder / "missing"));
    EXPECT_EQ(Entries(folder.Path()), QStringList({"dialog.ini", "plain"}));
}

TEST(DirectWriters, FlushIniFileSaysWhetherTheFileCanHoldSettings) {
    TempFolder folder;
    folder.WriteFile("plain", "x");
    const QString existing = folder.WriteFile("dialog.ini", "[Dialog]\n");
    struct Case {
        const char* what;
        QString name;
        bool expected;
    };
    const Case cases[] = {
        {"an existing file", existing, true},
        {"a new file in an existing folder", folder / "new.ini", true},
        {"a missing folder", folder / "missing/new.ini", false},
        {"a folder that is a file", folder / "plain/new.ini", false},
        {"a folder", folder.Path(), false},
        {"no name", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FlushIniFile(c.name), c.expected);
    }
    EXPECT_FALSE(Exists(folder / "new.ini"));  // flushing creates nothing
}

TEST(History, WriteHistoryWritesCountEntriesAndKeepsOlderKeysUnlessErased) {
    TempFolder folder;
    const QString name = folder / "h.ini";
    WriteHistory(name, "Recent", "", false, kEight, 8, false);  // an earlier, longer save
    const QStringList shorter = {"A", "B", "C", "D", "E", "F", "G", "H"};

    WriteHistory(name, "Recent", "", false, shorter, 5, false);
    EXPECT_EQ(ReadAll(name),
              "[Recent]\nHistory0=A\nHistory1=B\nHistory2=C\nHistory3=D\nHistory4=E\n"
              "History5=six\nHistory6=seven\nHistory7=eight\n");

    WriteHistory(name, "Recent", "", true, shorter, 5, false);
    EXPECT_EQ(ReadAll(name),
              "[Recent]\nHistory0=A\nHistory1=B\nHistory2=C\nHistory3=D\nHistory4=E\n");

    // A count above the list's length writes the list; a prefix replaces "History".
    TIniFile ini(name);
    WriteHistory(ini, "Other", "Dir", false, {"x", "y"}, 10, false);
    EXPECT_EQ(ini.ReadSection("Other"), QStringList({"Dir0", "Dir1"}));
}

TEST(History, QuoteProtectionRoundTripsDoubleQuotes) {
    struct Case {
        QString entry;
        bool replaceQuotes;
        QString stored;  // the value's text in the file
        QString readBack;
    };
    const Case cases[] = {
        {"say \"hi\"", true, "say #hi#", "say \"hi\""},
        {"\"C:\\Program Files\"", true, "#C:\\Program Files#", "\"C:\\Program Files\""},
        {"\"C:\\Program Files\"", false, "\"C:\\Program Files\"", "C:\\Program Files"},
        {"say \"hi\"", false, "say \"hi\"", "say \"hi\""},  // not enclosing: kept
        {"#1", true, "#1", "\"1"},  // a "#" of the entry comes back as a quote
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry.toStdString());
        TempFolder folder;
        const QString name = folder / "h.ini";
        WriteHistory(name, "S", "H", false, {c.entry}, 5, c.replaceQuotes);
        EXPECT_EQ(ReadAll(name), "[S]\nH0=" + c.stored.toUtf8() + "\n");
        QStringList list;
        ReadHistory(name, "S", "H", list, 5, c.replaceQuotes);
        EXPECT_EQ(list, QStringList({c.readBack}));
    }
}

TEST(History, ReadHistorySkipsEmptyKeysAndKeepsTheListWithoutSection) {
    TempFolder folder;
    const QString name = folder.WriteFile(
        "h.ini",
        "[S]\nHistory0=a\nHistory1=\nHistory3=  d  \nHistory4=e\nHistory5=beyond count\n"
        "[P]\nItem0=p\n");
    QStringList list = {"old"};
    ReadHistory(name, "s", "", list, 5, false);
    EXPECT_EQ(list, QStringList({"a", "d", "e"}));

    ReadHistory(name, "P", "Item", list, 5, false);
    EXPECT_EQ(list, QStringList({"p"}));

    list = QStringList({"kept"});
    ReadHistory(name, "Missing", "", list, 5, false);
    EXPECT_EQ(list, QStringList({"kept"}));
    ReadHistory(folder / "absent.ini", "S", "", list, 5, false);
    EXPECT_EQ(list, QStringList({"kept"}));

    const TIniFile ini(name);
    ReadHistory(ini, "S", "", list, 0, false);  // the section exists: the list is emptied
    EXPECT_TRUE(list.isEmpty());
}

TEST(History, WriteHistoryLeavesOutAnEntryWithALineBreakAndWritesTheOthers) {
    TempFolder folder;
    const QString name = folder / "h.ini";
    try {
        WriteHistory(name, "S", "", false, {"first", "bad\nline", "third"}, 5, false);
        ADD_FAILURE() << "the entry left out was not reported";
    } catch (const EIniFileError& e) {
        EXPECT_TRUE(e.Message().endsWith("\n[S] History1=bad\\nline")) << e.what();
    }
    EXPECT_EQ(ReadAll(name), "[S]\nHistory0=first\nHistory2=third\n");

    const QString unwritable = folder / "missing/h.ini";
    try {
        WriteHistory(unwritable, "S", "", true, kEight, 5, true);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const EIniFileError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + unwritable);
        EXPECT_EQ(e.ErrorCode, ENOENT);
    }
}

TEST(History, AddToHistory) {
    struct Case {
        const char* what;
        QStringList list;
        QString text;
        int maxCount;
        QStringList expected;
    };
    const Case cases[] = {
        {"empty text does nothing", {"a", "b"}, "", 5, {"a", "b"}},
        {"already on top", {"a", "b"}, "A", 5, {"a", "b"}},
        {"moves up keeping its spelling and the length",
         {"a", "b", "c", "Docs", "e"},
         "DOCS",
         5,
         {"Docs", "a", "b", "c", "e"}},
        {"new text into a full list drops the last first",
         {"a", "b", "c"},
         "new",
         3,
         {"new", "a", "b"}},
        {"new text into a list above the limit drops one",
         {"a", "b", "c", "d"},
         "new",
         3,
         {"new", "a", "b", "c"}},
        {"new text into a list with room", {"a"}, "new", 3, {"new", "a"}},
        {"new text into an empty list", {}, "new", 0, {"new"}},
        {"found entries move even in a full list", {"a", "b", "c"}, "c", 3, {"c", "a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QStringList list = c.list;
        AddToHistory(list, c.text, c.maxCount);
        EXPECT_EQ(list, c.expected);
    }
}

namespace {

struct Counted {
    explicit Counted(int& destroyed) : destroyed_(destroyed) {}
    ~Counted() { ++destroyed_; }
    int& destroyed_;
};

struct Throwing {
    explicit Throwing(int& destroyed) : destroyed_(destroyed) {}
    ~Throwing() noexcept(false) {
        ++destroyed_;
        throw std::runtime_error("failed while destroying");
    }
    int& destroyed_;
};

}  // namespace

TEST(ListObjects, FreeListObjectsDestroysOnlyTheAttachedObjects) {
    int destroyed = 0;
    QList<QPair<QString, Counted*>> list = {
        {"one", new Counted(destroyed)},
        {"two", nullptr},
        {"three", new Counted(destroyed)},
    };
    FreeListObjects(list);
    EXPECT_EQ(destroyed, 2);
    ASSERT_EQ(list.size(), 3);
    EXPECT_EQ(list[0], qMakePair(QString("one"), static_cast<Counted*>(nullptr)));
    EXPECT_EQ(list[1], qMakePair(QString("two"), static_cast<Counted*>(nullptr)));
    EXPECT_EQ(list[2], qMakePair(QString("three"), static_cast<Counted*>(nullptr)));
    FreeListObjects(list);  // again: nothing left to destroy
    EXPECT_EQ(destroyed, 2);
}

TEST(ListObjects, FreeListObjectsIgnoresErrorsWhileDestroying) {
    int destroyed = 0;
    QList<QPair<QString, Throwing*>> list = {{"a", new Throwing(destroyed)},
                                             {"b", new Throwing(destroyed)}};
    EXPECT_NO_THROW(FreeListObjects(list));
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(list[0].second, nullptr);
    EXPECT_EQ(list[1].second, nullptr);
}
