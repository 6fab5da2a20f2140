// The folder list: what it reads from a settings file, how it finds a folder's entry, and what
// it writes back.
#include "FolderList.h"

#include <gtest/gtest.h>

#include <QStringList>

#include "IniFiles.h"
#include "TempFolder.h"

using IniFiles::TIniFile;
using Sync::TDirInfo;
using Sync::TFolderList;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

const Sync::TFolderListLayout kPairwell{"RefDir", true};
const Sync::TFolderListLayout kMirrowen{"Dir", false};

QStringList Names(const TFolderList& list) {
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << list.Name(i);
    return names;
}

}  // namespace

TEST(FolderList, ReadsTheEntriesBelowTheCountInNameOrder) {
    TempFolder folder;
    const QString name = folder.WriteFile(
        "p.ini",
        "[Config]\nDirCount=6\n"
        "[RefDir00]\nName=/c\nDirectory=/cc\n"
        "[RefDir01]\nName=/A\nDirectory=/aa\nFilter=*.txt\nSubdirectories=0\nDuplicates=1\n"
        "[RefDir02]\nDirectory=/nameless\n"
        "[RefDir3]\nName=/not-an-entry-spelling\n"
        "[refdir04]\nName=/b\n"
        "[RefDir05]\nName=/a\nDirectory=/second-a\n"
        "[RefDir06]\nName=/beyond-the-count\n");
    TFolderList list(kPairwell);
    list.Load(TIniFile(name));
    EXPECT_EQ(Names(list), QStringList({"/A", "/a", "/b", "/c"}));
    EXPECT_EQ(list.Info(0), (TDirInfo{"/aa", "*.txt", false, true}));
    EXPECT_EQ(list.Info(2), (TDirInfo{"", "*.*", true, false}));  // the defaults
    EXPECT_EQ(list.rowCount(), 4);
    EXPECT_EQ(list.data(list.index(3), Qt::DisplayRole).toString(), "/c");

    TFolderList mirrowen(kMirrowen);
    folder.WriteFile("m.ini", "[Config]\nDirCount=1\n[Dir00]\nName=/m\nDuplicates=1\n");
    mirrowen.Load(TIniFile(folder / "m.ini"));
    EXPECT_EQ(Names(mirrowen), QStringList({"/m"}));
    EXPECT_FALSE(mirrowen.Info(0).Dupl);  // Mirrowen's entries have no such value
}

TEST(FolderList, ACountFarBeyondTheEntriesCostsNothing) {
    TempFolder folder;
    const QString name =
        folder.WriteFile("p.ini", "[Config]\nDirCount=2147483647\n[RefDir00]\nName=/a\n");
    TFolderList list(kPairwell);
    list.Load(TIniFile(name));  // would take minutes counting up to the count
    EXPECT_EQ(Names(list), QStringList({"/a"}));
}

TEST(FolderList, FindsAFolderWithOrWithoutItsTrailingDelimiter) {
    TFolderList list(kPairwell);
    list.Add("/data", {});
    list.Add("/data-x/", {});
    list.Add("/", {});
    list.Add("/Photos", {});
    const struct {
        QString folder;
        int entry;
    } cases[] = {
        {"/data", 1}, {"/data/", 1}, {"/data-x", 2},  {"/data-x/", 2}, {"/", 0},
        {"", -1},     {"/dat", -1},  {"/data//", -1}, {"/photos", -1},  // another folder where the
                                                                        // file system tells case
                                                                        // apart
    };
    for (const auto& c : cases)
        EXPECT_EQ(list.Find(c.folder), c.entry) << c.folder.toStdString();
}

TEST(FolderList, AddingAndRemovingKeepTheNameOrder) {
    TFolderList list(kPairwell);
    EXPECT_EQ(list.Add("/m", {}), 0);
    EXPECT_EQ(list.Add("/B", {}), 0);
    EXPECT_EQ(list.Add("/z", {}), 2);
    EXPECT_EQ(list.Add("/b", {}), 1);  // after the equal name
    EXPECT_EQ(Names(list), QStringList({"/B", "/b", "/m", "/z"}));
    list.Remove(0);
    list.Remove(7);  // nothing there
    EXPECT_EQ(Names(list), QStringList({"/b", "/m", "/z"}));
    EXPECT_EQ(list.Find("/m"), 1);
}

TEST(FolderList, WritesEachEntryInListOrderAndLeavesHigherSections) {
    TempFolder folder;
    const QString name = folder.WriteFile(
        "p.ini", "[Config]\nDirCount=3\n[RefDir00]\nName=/x\n[RefDir02]\nName=/old\n");
    TFolderList list(kPairwell);
    list.Add("/b", {"/bb", "*.doc", false, true});
    list.Add("/a", {});
    {
        TIniFile ini(name);
        list.Save(ini);
        ini.UpdateFile();
    }
    EXPECT_EQ(ReadAll(name),
              "[Config]\nDirCount=2\n"
              "[RefDir02]\nName=/old\n"
              "[RefDir00]\nName=/a\nDirectory=\nFilter=*.*\nSubdirectories=1\nDuplicates=0\n"
              "[RefDir01]\nName=/b\nDirectory=/bb\nFilter=*.doc\nSubdirectories=0\n"
              "Duplicates=1\n");

    TFolderList again(kPairwell);
    again.Load(TIniFile(name));
    EXPECT_EQ(Names(again), QStringList({"/a", "/b"}));
    EXPECT_EQ(again.Info(1), list.Info(1));
}
