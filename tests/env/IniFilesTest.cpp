// The settings-file reader and writer: the private-profile reading rules on a file written by
// hand, changes that keep every other line in place, refused values, failed and concurrent
// writes.
#include "IniFiles.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "NativeName.h"
#include "TempFolder.h"

using IniFiles::EIniFileError;
using IniFiles::TIniFile;
using TestSupport::Entries;
using TestSupport::Exists;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

// Odd spacing, quotes, duplicates, comments, junk, mixed line ends, no final line end.
const QByteArray kHandWritten =
    "key before=any section\n"
    "; a comment\n"
    "# another comment\n"
    "\n"
    "  [ Config ]  \r\n"
    "Top = 10\r\n"
    "  Left=  20  \r\n"
    "Name = \"  quoted  \"\n"
    "Quote = \"a\"b\"\n"
    "Single = \"\n"
    "Empty =\n"
    "TOP = 99\n"
    "junk line without equals\n"
    "=no key\n"
    "\n"
    "; about the duplicate\n"
    "[config]\n"
    "Extra=never read\n"
    "[Other]\t; text after the name\n"
    "Tab\t=\tvalue\twith\ttabs\t\n"
    "Flag=0\n"
    "Yes=yes\n"
    "Num=12abc\n"
    "Neg=-5\n"
    "Big=99999999999\n"
    "Plus=+7\n"
    "[unterminated\n"
    "Last=no newline";

ino_t Inode(const QString& path) {
    struct stat st {};
    EXPECT_EQ(stat(Platform::ToNativeName(path).constData(), &st), 0);
    return st.st_ino;
}

// Runs `body` expecting the settings-file write error for `fileName`; returns its code.
int ExpectWriteError(const QString& fileName, const std::function<void()>& body) {
    try {
        body();
        ADD_FAILURE() << "no error for " << fileName.toStdString();
    } catch (const EIniFileError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + fileName);
        EXPECT_STREQ(e.what(), ("Unable to write to " + fileName).toUtf8().constData());
        return e.ErrorCode;
    }
    return 0;
}

}  // namespace

TEST(IniFile, ReadsAHandWrittenFileByThePrivateProfileRules) {
    TempFolder folder;
    const TIniFile ini(folder.WriteFile("settings.ini", kHandWritten));

    struct Case {
        const char* section;
        const char* key;
        std::optional<QString> value;
    };
    const Case cases[] = {
        {"Config", "Top", "10"},            // the first of two keys wins
        {"config", "TOP", "10"},            // names ignore case
        {" CONFIG\t", " left ", "20"},      // and blanks around them
        {"Config", "Name", "  quoted  "},   // one pair of quotes goes, after the blanks
        {"Config", "Quote", "a\"b"},        // only the enclosing pair
        {"Config", "Single", "\""},         // one quote is no pair
        {"Config", "Empty", ""},            // present but empty
        {"Config", "Extra", std::nullopt},  // the duplicate section is never read
        {"Config", "junk line without equals", std::nullopt},
        {"Config", "", std::nullopt},
        {"", "key before", std::nullopt},       // keys before the first section
        {"Other", "Tab", "value\twith\ttabs"},  // tabs are blanks at the ends only
        {"Other", "Last", "no newline"},        // "[unterminated" is junk inside Other
        {"unterminated", "Last", std::nullopt},
        {"Missing", "Top", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ValueExists(c.section, c.key), c.value.has_value());
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.value.value_or("<default>"));
    }

    struct IntegerCase {
        const char* section;
        const char* key;
        int defaultValue;
        int expected;
    };
    const IntegerCase integers[] = {
        {"Config", "Top", -1, 10}, {"Other", "Num", -1, -1}, {"Other", "Neg", 0, -5},
        {"Other", "Big", 3, 3},    {"Other", "Plus", 0, 7},  {"Config", "Empty", 4, 4},
        {"Config", "Name", 4, 4},  {"Other", "Flag", 5, 0},  {"Other", "Missing", 6, 6},
    };
    for (const IntegerCase& c : integers) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(ini.ReadInteger(c.section, c.key, c.defaultValue), c.expected);
    }

    for (const bool defaultValue : {false, true}) {
        EXPECT_FALSE(ini.ReadBool("Other", "Flag", defaultValue));
        EXPECT_TRUE(ini.ReadBool("Other", "Yes", defaultValue));  // anything but "0"
        EXPECT_TRUE(ini.ReadBool("Config", "Top", defaultValue));
        EXPECT_EQ(ini.ReadBool("Config", "Empty", defaultValue), defaultValue);
        EXPECT_EQ(ini.ReadBool("Config", "Missing", defaultValue), defaultValue);
    }

    EXPECT_TRUE(ini.SectionExists("config"));
    EXPECT_FALSE(ini.SectionExists("unterminated"));
    EXPECT_EQ(ini.ReadSections(), QStringList({"Config", "Other"}));
    EXPECT_EQ(ini.ReadSection("CONFIG"),
              QStringList({"Top", "Left", "Name", "Quote", "Single", "Empty"}));
    EXPECT_EQ(ini.ReadSection("Other"),
              QStringList({"Tab", "Flag", "Yes", "Num", "Neg", "Big", "Plus", "Last"}));
    EXPECT_TRUE(ini.ReadSection("Missing").isEmpty());
}

TEST(IniFile, OneChangeKeepsEveryOtherLineByteForByte) {
    struct Case {
        const char* name;
        std::function<void(TIniFile&)> change;
        std::vector<std::pair<QByteArray, QByteArray>> replacements;  // in the original
    };
    const std::vector<Case> cases = {
        {"changed value keeps the text before it and the line end",
         [](TIniFile& ini) { ini.WriteString("config", "left", "21"); },
         {{"  Left=  20  \r\n", "  Left=  21\r\n"}}},
        {"only the first of duplicate keys changes",
         [](TIniFile& ini) { ini.WriteInteger("CONFIG", "top", 11); },
         {{"Top = 10\r\n", "Top = 11\r\n"}}},
        {"the last line stays without line end",
         [](TIniFile& ini) { ini.WriteString("Other", "LAST", "x"); },
         {{"Last=no newline", "Last=x"}}},
        {"a new key follows the last key of its section",
         [](TIniFile& ini) { ini.WriteBool("Config", "New", true); },
         {{"TOP = 99\n", "TOP = 99\nNew=1\n"}}},
        {"a new key after the last line gives that line a line end",
         [](TIniFile& ini) { ini.WriteBool("Other", "New", false); },
         {{"Last=no newline", "Last=no newline\nNew=0\n"}}},
        {"a new section goes at the end",
         [](TIniFile& ini) { ini.WriteString("Fresh", "a", "b"); },
         {{"Last=no newline", "Last=no newline\n[Fresh]\na=b\n"}}},
        {"values are written as they are, quotes included",
         [](TIniFile& ini) { ini.WriteString("Other", "Quoted", "\"x\""); },
         {{"Last=no newline", "Last=no newline\nQuoted=\"x\"\n"}}},
        {"a deleted key goes with its duplicates",
         [](TIniFile& ini) { ini.DeleteKey("config", "top"); },
         {{"Top = 10\r\n", ""}, {"TOP = 99\n", ""}}},
        {"an erased section goes with its duplicates; comments before the next one stay",
         [](TIniFile& ini) { ini.EraseSection(" CONFIG "); },
         {{"  [ Config ]  \r\nTop = 10\r\n  Left=  20  \r\nName = \"  quoted  \"\n"
           "Quote = \"a\"b\"\nSingle = \"\nEmpty =\nTOP = 99\n"
           "junk line without equals\n=no key\n",
           ""},
          {"[config]\nExtra=never read\n", ""}}},
        {"deleting a missing key changes nothing",
         [](TIniFile& ini) { ini.DeleteKey("Other", "Missing"); },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const QString name = folder.WriteFile("settings.ini", kHandWritten);
        {
            TIniFile ini(name);
            c.change(ini);
            ini.UpdateFile();
            EXPECT_FALSE(ini.Modified());
        }
        QByteArray expected = kHandWritten;
        for (const auto& [before, after] : c.replacements) {
            ASSERT_EQ(expected.count(before), 1) << before.toStdString();
            expected.replace(before, after);
        }
        EXPECT_EQ(ReadAll(name), expected);
        EXPECT_EQ(Entries(folder.Path()), QStringList({"settings.ini"}));
    }
}

TEST(IniFile, ANewFileGetsSectionsKeysAndBooleansInTheConventionalForm) {
    TempFolder folder;
    const QString name = folder / "new.ini";
    {
        TIniFile ini(name);
        EXPECT_TRUE(ini.ReadSections().isEmpty());
        ini.WriteInteger("Config", "Top", -12);
        ini.WriteBool("Config", "On", true);
        ini.WriteBool("Config", "Off", false);
        ini.WriteString("RefDir00", "Name", "/home/me/Fotos");
        ini.WriteString("Config", "LastDir", "  padded  ");
        // Reads see the object's own changes before they are written, by the reading rules.
        EXPECT_EQ(ini.ReadInteger("config", "top", 0), -12);
        EXPECT_EQ(ini.ReadString("Config", "LastDir", ""), "padded");
        EXPECT_TRUE(ini.Modified());
        EXPECT_FALSE(Exists(name));
    }  // the destructor writes
    EXPECT_EQ(ReadAll(name),
              "[Config]\nTop=-12\nOn=1\nOff=0\nLastDir=  padded  \n[RefDir00]\n"
              "Name=/home/me/Fotos\n");
    const TIniFile again(name);
    EXPECT_TRUE(again.ReadBool("Config", "On", false));
    EXPECT_FALSE(again.ReadBool("Config", "Off", true));
    EXPECT_EQ(again.ReadString("Config", "LastDir", ""), "padded");
}

TEST(IniFile, KeepsByteOrderMarkAndCrLfLineEnds) {
    TempFolder folder;
    const QString name = folder.WriteFile("w.ini", "\xEF\xBB\xBF[Main]\r\nA=1\r\n");
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadSections(), QStringList({"Main"}));
    EXPECT_EQ(ini.ReadString("Main", "A", ""), "1");
    ini.WriteString("Main", "B", "2");
    ini.WriteString("Next", "C", "3");
    ini.UpdateFile();
    EXPECT_EQ(ReadAll(name), "\xEF\xBB\xBF[Main]\r\nA=1\r\nB=2\r\n[Next]\r\nC=3\r\n");

    // A last line ended by a lone CR gets a whole line end when a line follows it.
    const QString crName = folder.WriteFile("cr.ini", "[S]\r\nk=1\r");
    TIniFile cr(crName);
    EXPECT_EQ(cr.ReadString("S", "k", ""), "1");
    cr.WriteString("S", "j", "2");
    cr.UpdateFile();
    EXPECT_EQ(ReadAll(crName), "[S]\r\nk=1\r\nj=2\r\n");
}

TEST(IniFile, NamesAndValuesThatCanBeReadBackRoundTrip) {
    struct Case {
        QString section, key, value, readBack;
    };
    const Case cases[] = {
        {"[x", "k;", "v", "v"},
        {"S p a c e", "key with blanks", "value = with equals", "value = with equals"},
        {"Ümlaut", "Größe", "żółć ☃", "żółć ☃"},
        {"#section", "a]b", "\"both\"", "both"},  // the reader's quote stripping
        {"S", "k", "  x\t", "x"},                 // and its blank trimming
        {"S", "empty", "", ""},
    };
    TempFolder folder;
    const QString name = folder / "round.ini";
    {
        TIniFile ini(name);
        for (const Case& c : cases)
            ini.WriteString(c.section, c.key, c.value);
    }
    const TIniFile ini(name);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.section.toStdString() + "/" + c.key.toStdString());
        EXPECT_TRUE(ini.ValueExists(c.section.toUpper(), c.key.toLower()));
        EXPECT_EQ(ini.ReadString(c.section, c.key, "<default>"), c.readBack);
    }
}

TEST(IniFile, RefusesNamesAndValuesThatWouldBreakTheFile) {
    struct Case {
        QString section, key, value;
    };
    const Case cases[] = {
        {"S", "a\nb", "v"}, {"S\n", "k", "v"}, {"a]b", "k", "v"}, {"", "k", "v"},
        {" \t", "k", "v"},  {"S", "", "v"},    {"S", "a=b", "v"}, {"S", "[k", "v"},
        {"S", ";k", "v"},   {"S", " #k", "v"},
    };
    TempFolder folder;
    const QByteArray original = "[S]\nk=old\n";
    const QString name = folder.WriteFile("s.ini", original);
    for (const Case& c : cases) {
        SCOPED_TRACE(QString(c.section + "/" + c.key + "=" + c.value).toStdString());
        {
            TIniFile ini(name);
            EXPECT_EQ(ExpectWriteError(name, [&] { ini.WriteString(c.section, c.key, c.value); }),
                      EINVAL);
            EXPECT_FALSE(ini.Modified());
            EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
            ini.UpdateFile();
        }
        EXPECT_EQ(ReadAll(name), original);
    }
}

TEST(IniFile, AValueWithALineBreakIsLeftOutAndEverythingElseIsWritten) {
    const struct {
        QString value, shown;
    } cases[] = {
        {"first\nsecond", "first\\nsecond"},
        {"first\rsecond", "first\\rsecond"},
        {"line\r\n", "line\\r\\n"},
    };
    TempFolder folder;
    const QString name = folder / "s.ini";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        folder.WriteFile("s.ini", "[S]\nk=old\n");
        TIniFile ini(name);
        ini.WriteString("S", "before", "1");
        ini.WriteString("S", "k", c.value);
        ini.WriteString("T", "after", "2");
        EXPECT_EQ(ini.ReadString("S", "k", ""), "old");
        try {
            ini.UpdateFile();
            ADD_FAILURE() << "the value left out was not reported";
        } catch (const EIniFileError& e) {
            EXPECT_EQ(e.ErrorCode, EINVAL);
            EXPECT_EQ(e.Message(), "These values were not saved in " + name +
                                       ", since a settings file cannot hold a line break:\n"
                                       "[S] k=" +
                                       c.shown);
        }
        EXPECT_EQ(ReadAll(name), "[S]\nk=old\nbefore=1\n[T]\nafter=2\n");
        EXPECT_TRUE(ini.Skipped().empty());  // reported once
        EXPECT_NO_THROW(ini.UpdateFile());
    }
}

TEST(IniFile, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder folder;
    const QByteArray original = "[Config]\nTop=1\n";
    const QString name = folder.WriteFile("settings.ini", original);
    TIniFile ini(name);
    ini.WriteString("Config", "Big", QString(8192, QLatin1Char('x')));

    // A file-size limit makes the write of the new content fail half-way, as a full disk
    // would, whatever rights the test runs with.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int error = ExpectWriteError(name, [&] { ini.UpdateFile(); });
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_NE(error, 0);
    EXPECT_EQ(ReadAll(name), original);
    EXPECT_EQ(Entries(folder.Path()), QStringList({"settings.ini"}));
    // The changes stay pending and reach the file once writing works again.
    EXPECT_TRUE(ini.Modified());
    EXPECT_EQ(ini.ReadString("Config", "Big", "").size(), 8192);
    ini.UpdateFile();
    EXPECT_EQ(TIniFile(name).ReadString("Config", "Big", "").size(), 8192);
    EXPECT_EQ(Entries(folder.Path()), QStringList({"settings.ini"}));
}

TEST(IniFile, AFileThatCannotBeWrittenRaisesTheWriteError) {
    TempFolder folder;
    folder.WriteFile("plain", "not a folder");
    folder.MakeFolder("folder.ini");
    struct Case {
        const char* what;
        QString name;
    };
    const Case cases[] = {
        {"missing folder", folder / "missing/settings.ini"},
        {"the folder is a file", folder / "plain/settings.ini"},
        {"the name is a folder", folder / "folder.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<TIniFile> ini(std::in_place, c.name);
        ini->WriteString("Config", "Top", "1");
        EXPECT_NE(ExpectWriteError(c.name, [&] { ini->UpdateFile(); }), 0);
        EXPECT_TRUE(ini->Modified());
        EXPECT_NO_THROW(ini.reset());  // the destructor tries again and swallows the error
    }
    EXPECT_FALSE(Exists(folder / "missing"));
    EXPECT_EQ(ReadAll(folder / "plain"), "not a folder");
    EXPECT_EQ(Entries(folder / "folder.ini"), QStringList());
    EXPECT_EQ(Entries(folder.Path()), QStringList({"folder.ini", "plain"}));
}

TEST(IniFile, TwoObjectsOnOneFileKeepEachOthersSections) {
    TempFolder folder;
    const QString name =
        folder.WriteFile("settings.ini", "[Config]\nTop=1\n[Filter]\nHistory0=*.*\n");
    TIniFile window(name);
    TIniFile filterBox(name);
    TIniFile folderBox(name);
    window.WriteInteger("Config", "Top", 2);
    filterBox.EraseSection("Filter");
    filterBox.WriteString("Filter", "History0", "*.txt");
    folderBox.WriteString("Directories", "History0", "/data");
    EXPECT_FALSE(window.SectionExists("Directories"));  // not written yet

    window.UpdateFile();
    filterBox.UpdateFile();
    folderBox.UpdateFile();
    EXPECT_EQ(ReadAll(name),
              "[Config]\nTop=2\n[Filter]\nHistory0=*.txt\n[Directories]\nHistory0=/data\n");
    EXPECT_TRUE(folderBox.SectionExists("Config"));  // after an update, reads see the disk
    EXPECT_EQ(folderBox.ReadString("Filter", "History0", ""), "*.txt");
}

TEST(IniFile, UpdateReplaysTheChangesInOrderOnTheFileAsItIsNow) {
    TempFolder folder;
    const QString name = folder.WriteFile("settings.ini", "[S]\nold=1\n");
    TIniFile late(name);
    late.WriteString("S", "k", "1");
    late.EraseSection("S");
    late.WriteString("S", "new", "2");
    late.DeleteKey("T", "gone");
    {
        TIniFile early(name);
        early.WriteString("S", "other", "3");
        early.WriteString("T", "gone", "4");
        early.WriteString("T", "t", "5");
    }
    EXPECT_EQ(ReadAll(name), "[S]\nold=1\nother=3\n[T]\ngone=4\nt=5\n");
    late.UpdateFile();
    EXPECT_EQ(ReadAll(name), "[T]\nt=5\n[S]\nnew=2\n");
}

TEST(IniFile, WritesNothingWhenNothingChanges) {
    TempFolder folder;
    const QString name = folder.WriteFile("settings.ini", "[S]\nk=v\n");
    const ino_t before = Inode(name);
    {
        TIniFile ini(name);
        ini.WriteString("s", "K", "v");
        ini.DeleteKey("S", "missing");
        ini.EraseSection("Missing");
    }
    EXPECT_EQ(Inode(name), before);  // a rename would have given a new inode
    {
        TIniFile ini(folder / "absent.ini");
        ini.EraseSection("S");
        ini.DeleteKey("S", "k");
        ini.UpdateFile();
    }
    EXPECT_FALSE(Exists(folder / "absent.ini"));
}

TEST(IniFile, KeepsPermissionsAndSymbolicLinks) {
    TempFolder folder;
    const QString real = folder.WriteFile("real.ini", "[S]\nk=1\n");
    ASSERT_EQ(chmod(Platform::ToNativeName(real).constData(), 0640), 0);
    const QString link = folder / "link.ini";
    ASSERT_EQ(symlink("real.ini", Platform::ToNativeName(link).constData()), 0);
    {
        TIniFile ini(link);
        EXPECT_EQ(ini.ReadString("S", "k", ""), "1");
        ini.WriteString("S", "k", "2");
    }
    struct stat st {};
    ASSERT_EQ(lstat(Platform::ToNativeName(link).constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadAll(real), "[S]\nk=2\n");
    EXPECT_EQ(TestSupport::Permissions(real), 0640u);
}

TEST(IniFile, ManySectionsAndKeysStayFast) {
    // A settings file of a few thousand lines, then every key written again and a new one
    // added per section: each change is a hash lookup, not a search through the file.
    TempFolder folder;
    QByteArray content;
    for (int i = 0; i < 1000; ++i) {
        content += "[RefDir" + QByteArray::number(i) + "]\n";
        for (const char* key : {"Name", "Directory", "Filter", "Subdirectories"})
            content += QByteArray(key) + "=" + QByteArray::number(i) + "\n";
    }
    const QString name = folder.WriteFile("big.ini", content);
    {
        TIniFile ini(name);
        for (int i = 0; i < 1000; ++i) {
            const QString section = "refdir" + QString::number(i);
            for (const char* key : {"name", "directory", "filter", "subdirectories"})
                ini.WriteInteger(section, key, i + 1);
            ini.WriteBool(section, "Duplicates", true);
        }
    }
    const TIniFile ini(name);
    EXPECT_EQ(ini.ReadSections().size(), 1000);
    EXPECT_EQ(ini.ReadInteger("RefDir999", "Filter", 0), 1000);
    EXPECT_EQ(ini.ReadSection("RefDir500"),
              QStringList({"Name", "Directory", "Filter", "Subdirectories", "Duplicates"}));
}
