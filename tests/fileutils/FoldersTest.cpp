// Folder operations on real temporary folders: the nearest existing folder, tree deletion with
// its counts and its limits, the trash, creating folders, and the checks for a folder dialog.
#include "Folders.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#include <ostream>
#include <set>

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "FaultSeam.h"
#include "NativeName.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

using namespace Qt::Literals::StringLiterals;
using FileUtils::PosixPaths;
using FileUtils::TPathSyntax;
using FileUtils::WindowsPaths;
using Platform::FaultPoint;
using Platform::ToNativeName;
using TestSupport::Entries;
using TestSupport::Exists;
using TestSupport::Permissions;
using TestSupport::ReadAll;
using TestSupport::ScopedEnvironment;
using TestSupport::TempFolder;

// Readable QString values in failure messages.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const TPathSyntax W = WindowsPaths;
const TPathSyntax P = PosixPaths;

void MakeLink(const QString& target, const QString& link) {
    ASSERT_EQ(symlink(ToNativeName(target).constData(), ToNativeName(link).constData()), 0);
}

// Fails the platform calls at `point` whose path is `path` with `error`, for one test.
class ScopedPathFault {
  public:
    ScopedPathFault(FaultPoint point, const QString& path, Platform::ErrorCode error) {
        Platform::SetFaultHook([=](FaultPoint p, const QString& called) {
            return p == point && QDir::cleanPath(called) == QDir::cleanPath(path) ? error : 0;
        });
    }
    ~ScopedPathFault() { Platform::SetFaultHook({}); }
    ScopedPathFault(const ScopedPathFault&) = delete;
    ScopedPathFault& operator=(const ScopedPathFault&) = delete;
};

struct TCounts {
    int Folders = 0;
    int Files = 0;
    int Failures = 0;
    bool operator==(const TCounts&) const = default;
};

std::ostream& operator<<(std::ostream& os, const TCounts& c) {
    return os << c.Folders << " folders, " << c.Files << " files, " << c.Failures << " failures";
}

TCounts DeleteTree(const QString& base, const QString& sub, bool deleteBase, TCounts counts = {}) {
    FileUtils::DeleteFolderTree(base, sub, deleteBase, counts.Folders, counts.Files,
                                counts.Failures);
    return counts;
}

// --- NearestExistingFolder -------------------------------------------------------------------

TEST(NearestExistingFolder, WalksUpInBothSyntaxes) {
    // Existing folders of a made-up machine; Windows names compare without regard to case.
    const std::set<QString> windowsFolders = {u"C:"_s, u"c:\\data"_s, u"\\\\server\\share"_s};
    const std::set<QString> posixFolders = {u"/"_s, u"/data"_s, u"//server/share"_s};
    struct Case {
        TPathSyntax Syntax;
        QString Path;
        QString Expected;
    };
    const QString def = u"DEFAULT"_s;
    const Case cases[] = {
        {W, u""_s, def},
        {W, u"data\\x"_s, def},
        {W, u"C:\\data"_s, u"C:\\data"_s},
        {W, u"C:\\data\\"_s, u"C:\\data\\"_s},  // as typed
        {W, u"C:\\data\\missing\\deeper"_s, u"C:\\data"_s},
        {W, u"C:\\missing\\"_s, u"C:"_s},  // the drive, without a delimiter
        {W, u"\\\\server\\share"_s, u"\\\\server\\share"_s},
        {W, u"\\\\server\\share\\missing"_s, def},  // network paths are not walked up
        {W, u"D:\\x\\y"_s, def},                    // no such drive
        {W, u"\\x\\y"_s, def},                      // no parent left: ends, no loop
        {W, u"abc:def"_s, def},
        {W, u"/data/x"_s, def},  // relative in Windows syntax
        {P, u""_s, def},
        {P, u"data/x"_s, def},
        {P, u"/data/"_s, u"/data/"_s},
        {P, u"/data/missing/deeper/"_s, u"/data"_s},
        {P, u"/missing/x"_s, u"/"_s},
        {P, u"//server/share/missing"_s, u"//server/share"_s},  // an ordinary path
        {P, u"C:\\data"_s, def},                                // relative in POSIX syntax
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.Syntax.HasDrives ? "Windows: " : "POSIX: ") + c.Path.toStdString());
        const auto exists = [&](const QString& path) {
            // A trailing delimiter names the same folder, except the root's.
            const QString folder =
                path.size() > 1 ? FileUtils::ExcludeTrailingDelimiter(path, c.Syntax) : path;
            if (!c.Syntax.HasDrives) return posixFolders.count(folder) > 0;
            for (const QString& known : windowsFolders) {
                if (known.compare(folder, Qt::CaseInsensitive) == 0) return true;
            }
            return false;
        };
        EXPECT_EQ(FileUtils::NearestExistingFolder(c.Path, def, c.Syntax, exists), c.Expected);
    }
}

TEST(NearestExistingFolder, EndsAtTheRootEvenWhenNothingExists) {
    const auto nothing = [](const QString&) { return false; };
    EXPECT_EQ(FileUtils::NearestExistingFolder(u"/a/b"_s, u"D"_s, P, nothing), u"D"_s);
}

TEST(NearestExistingFolder, AsksTheFileSystem) {
    TempFolder temp;
    const QString folder = temp.MakeFolder(u"a"_s);
    temp.WriteFile(u"file.txt"_s, "x");
    MakeLink(folder, temp / u"link"_s);
    const QString base = QDir::cleanPath(temp.Path());
    const QString def = u"DEFAULT"_s;
    const std::pair<QString, QString> cases[] = {
        {folder, folder},
        {folder + u"/"_s, folder + u"/"_s},
        {folder + u"/missing/deeper"_s, folder},
        {temp / u"file.txt/x"_s, base},
        {temp / u"link"_s, temp / u"link"_s},                // a link to a folder counts as one
        {u"/"_s + folder + u"/missing"_s, u"/"_s + folder},  // "//..." stays an ordinary path
        {u"relative/x"_s, def},
    };
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(FileUtils::NearestExistingFolder(path, def), expected);
    }
    EXPECT_EQ(FileUtils::NearestExistingFolder(u"/no-such-folder-anywhere/x"_s, def), u"/"_s);
}

// --- DeleteFolderTree -------------------------------------------------------------------------

class DeleteFolderTreeTest : public ::testing::Test {
  protected:
    // Two files, and a subfolder with three.
    QString MakeTree() {
        temp.WriteFile(u"base/one.txt"_s, "1");
        temp.WriteFile(u"base/two.txt"_s, "2");
        for (const QString& name : {u"a"_s, u"b"_s, u"c"_s})
            temp.WriteFile(u"base/sub/"_s + name, "x");
        return temp / u"base"_s;
    }

    TempFolder temp;
};

TEST_F(DeleteFolderTreeTest, CountsWhatItRemoves) {
    struct Case {
        bool DeleteBase;
        TCounts Before;
        TCounts Expected;
        bool BaseStays;
    };
    const Case cases[] = {
        {true, {}, {2, 5, 0}, false},
        {false, {}, {1, 5, 0}, true},
        {true, {10, 20, 30}, {12, 25, 30}, false},  // counters are only added to
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.DeleteBase ? "base deleted" : "base kept");
        const QString base = MakeTree();
        EXPECT_EQ(DeleteTree(base, QString(), c.DeleteBase, c.Before), c.Expected);
        EXPECT_EQ(Exists(base), c.BaseStays);
        if (c.BaseStays) {
            EXPECT_TRUE(Entries(base).isEmpty());
        }
        QDir(base).removeRecursively();
    }
}

TEST_F(DeleteFolderTreeTest, DeletesASubfolderBelowTheBase) {
    const QString base = MakeTree();
    EXPECT_EQ(DeleteTree(base + u"/"_s, u"sub"_s, false), (TCounts{1, 3, 0}));
    EXPECT_EQ(Entries(base), QStringList({u"one.txt"_s, u"two.txt"_s}));
}

TEST_F(DeleteFolderTreeTest, AMissingFolderChangesNoCounter) {
    EXPECT_EQ(DeleteTree(temp / u"missing"_s, QString(), true, {1, 2, 3}), (TCounts{1, 2, 3}));
    temp.WriteFile(u"file.txt"_s, "x");
    EXPECT_EQ(DeleteTree(temp / u"file.txt"_s, QString(), true), TCounts{});
    EXPECT_TRUE(Exists(temp / u"file.txt"_s));
}

TEST_F(DeleteFolderTreeTest, ReadOnlyAndHiddenEntriesGoAllTheSame) {
    const QString readOnly = temp.WriteFile(u"base/locked/read-only.txt"_s, "r");
    temp.WriteFile(u"base/.hidden"_s, "h");
    ASSERT_EQ(chmod(ToNativeName(readOnly).constData(), 0444), 0);
    ASSERT_EQ(chmod(ToNativeName(temp / u"base/locked"_s).constData(), 0555), 0);
    EXPECT_EQ(DeleteTree(temp / u"base"_s, QString(), true), (TCounts{2, 2, 0}));
    EXPECT_FALSE(Exists(temp / u"base"_s));
}

TEST_F(DeleteFolderTreeTest, LinksGoAsLinksAndWhatTheyLeadToStays) {
    const QString outsideFile = temp.WriteFile(u"outside/keep.txt"_s, "outside");
    ASSERT_EQ(chmod(ToNativeName(outsideFile).constData(), 0444), 0);
    const QString base = temp.MakeFolder(u"base"_s);
    MakeLink(temp / u"outside"_s, base + u"/folder-link"_s);
    MakeLink(outsideFile, base + u"/file-link"_s);
    MakeLink(temp / u"missing"_s, base + u"/dangling"_s);
    ASSERT_EQ(mkfifo(ToNativeName(base + u"/pipe"_s).constData(), 0644), 0);

    EXPECT_EQ(DeleteTree(base, QString(), true), (TCounts{1, 4, 0}));
    EXPECT_FALSE(Exists(base));
    EXPECT_EQ(ReadAll(outsideFile), "outside");
    EXPECT_EQ(Permissions(outsideFile), 0444u);  // not made writable through the link
}

TEST_F(DeleteFolderTreeTest, ABaseThatIsALinkGoesAsTheLink) {
    temp.WriteFile(u"outside/keep.txt"_s, "outside");
    MakeLink(temp / u"outside"_s, temp / u"link"_s);
    EXPECT_EQ(DeleteTree(temp / u"link/"_s, QString(), false), TCounts{});
    EXPECT_EQ(DeleteTree(temp / u"link/"_s, QString(), true), (TCounts{0, 1, 0}));
    EXPECT_FALSE(Exists(temp / u"link"_s));
    EXPECT_EQ(ReadAll(temp / u"outside/keep.txt"_s), "outside");
}

TEST_F(DeleteFolderTreeTest, AFileThatStaysKeepsItsFolders) {
    const QString base = MakeTree();
    const QString stuck = base + u"/sub/b"_s;
    ScopedPathFault fault(FaultPoint::Delete, stuck, EBUSY);
    // The file fails; "sub" is not tried; the base is tried and fails.
    EXPECT_EQ(DeleteTree(base, QString(), true), (TCounts{0, 4, 2}));
    EXPECT_EQ(Entries(base), QStringList({u"sub"_s}));
    EXPECT_EQ(Entries(base + u"/sub"_s), QStringList({u"b"_s}));
}

TEST_F(DeleteFolderTreeTest, AFolderThatCannotBeListedIsAFailure) {
    const QString base = MakeTree();
    {
        ScopedPathFault fault(FaultPoint::ListFolder, base + u"/sub"_s, EACCES);
        EXPECT_EQ(DeleteTree(base, QString(), true), (TCounts{0, 2, 2}));
        EXPECT_EQ(Entries(base + u"/sub"_s).size(), 3);
    }
    {
        // Keeping the base makes no removal attempt that could fail: still not a success.
        ScopedPathFault fault(FaultPoint::ListFolder, base, EACCES);
        EXPECT_EQ(DeleteTree(base, QString(), false), (TCounts{0, 0, 1}));
    }
}

TEST_F(DeleteFolderTreeTest, AMountedFolderIsNotEntered) {
    const QString outside = temp.WriteFile(u"outside/keep.txt"_s, "outside");
    const QString base = MakeTree();
    const QString mountPoint = temp.MakeFolder(u"base/mounted"_s);
    if (mount(ToNativeName(temp / u"outside"_s).constData(), ToNativeName(mountPoint).constData(),
              nullptr, MS_BIND, nullptr) != 0) {
        GTEST_SKIP() << "mounting needs privileges this run does not have";
    }
    const TCounts counts = DeleteTree(base, QString(), true);
    umount2(ToNativeName(mountPoint).constData(), MNT_DETACH);
    // The mount point and the base stay, each a failure; everything else goes.
    EXPECT_EQ(counts, (TCounts{1, 5, 2}));
    EXPECT_EQ(ReadAll(outside), "outside");
    EXPECT_EQ(Entries(base), QStringList({u"mounted"_s}));
}

// --- Protected folders ------------------------------------------------------------------------

class ProtectedFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home = temp.MakeFolder(u"users/me"_s);
        temp.WriteFile(u"users/me/precious.txt"_s, "mine");
        temp.MakeFolder(u"users/me/projects"_s);
        temp.MakeFolder(u"users/other"_s);
        MakeLink(home, temp / u"home-link"_s);
        environment.Set("HOME", home);
        environment.Set("XDG_DATA_HOME", temp / u"data"_s);
    }

    TempFolder temp;
    QString home;
    ScopedEnvironment environment;
};

TEST_F(ProtectedFolderTest, RootHomeAndWhatHoldsHomeAreProtected) {
    const std::pair<QString, bool> cases[] = {
        {u"/"_s, true},
        {u"//"_s, true},
        {home, true},
        {home + u"/"_s, true},
        {home + u"/projects/.."_s, true},
        {temp / u"home-link"_s, true},
        {temp / u"users"_s, true},
        {temp.Path(), true},
        {home + u"/projects"_s, false},
        {temp / u"users/other"_s, false},
        {temp / u"users/m"_s, false},
        {temp / u"missing"_s, false},
    };
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(FileUtils::IsProtectedFolder(path), expected);
    }
}

TEST_F(ProtectedFolderTest, NeitherDeletionTouchesThem) {
    for (const QString& path : {home + u"/"_s, temp / u"users"_s}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(DeleteTree(path, QString(), true), (TCounts{0, 0, 1}));
        EXPECT_EQ(DeleteTree(path, QString(), false), (TCounts{0, 0, 1}));
        EXPECT_EQ(FileUtils::DeleteFolderShell(path), EACCES);
        EXPECT_EQ(ReadAll(home + u"/precious.txt"_s), "mine");
        EXPECT_TRUE(Exists(home + u"/projects"_s));
    }
}

// --- DeleteFolderShell ------------------------------------------------------------------------

class TrashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // Home and the folders to trash on one file system, so the home trash takes them.
        environment.Set("HOME", temp.MakeFolder(u"home"_s));
        environment.Set("XDG_DATA_HOME", temp / u"home/data"_s);
        temp.WriteFile(u"work/folder/sub/file.txt"_s, "content");
        // Qt falls back to the current folder when it finds no trash: keep that one ours.
        ASSERT_TRUE(QDir::setCurrent(temp.MakeFolder(u"current"_s)));
    }
    void TearDown() override { QDir::setCurrent(previousCurrent); }

    TempFolder temp;
    ScopedEnvironment environment;
    const QString previousCurrent = QDir::currentPath();
};

TEST_F(TrashTest, MovesTheFolderToTheTrash) {
    // The trash (and the data folder above it) is created when missing.
    EXPECT_EQ(FileUtils::DeleteFolderShell(temp / u"work/folder/"_s), 0);
    EXPECT_FALSE(Exists(temp / u"work/folder"_s));
    EXPECT_EQ(ReadAll(temp / u"home/data/Trash/files/folder/sub/file.txt"_s), "content");
    EXPECT_EQ(Entries(temp / u"home/data/Trash/info"_s), QStringList({u"folder.trashinfo"_s}));
    EXPECT_EQ(Permissions(temp / u"home/data/Trash"_s), 0700u);
}

TEST_F(TrashTest, NothingMovesWhenTheTrashCannotBeMade) {
    temp.WriteFile(u"plain-file"_s, "x");
    environment.Set("XDG_DATA_HOME", temp / u"plain-file/data"_s);
    EXPECT_EQ(FileUtils::DeleteFolderShell(temp / u"work/folder"_s), ENOTDIR);
    // Not moved anywhere, least of all into the current folder.
    EXPECT_EQ(ReadAll(temp / u"work/folder/sub/file.txt"_s), "content");
    EXPECT_TRUE(Entries(temp / u"current"_s).isEmpty());
}

TEST_F(TrashTest, RefusesWhatIsNoFolder) {
    temp.WriteFile(u"work/file.txt"_s, "x");
    EXPECT_EQ(FileUtils::DeleteFolderShell(temp / u"work/missing"_s), ENOENT);
    EXPECT_EQ(FileUtils::DeleteFolderShell(temp / u"work/file.txt"_s), ENOTDIR);
    EXPECT_TRUE(Exists(temp / u"work/file.txt"_s));
}

TEST_F(TrashTest, ANameQtCannotSpellStays) {
    // "caf" and the Latin-1 byte of "é": not UTF-8. Qt would spell it as another name, which
    // exists here too.
    const QString name = Platform::FromNativeName(QByteArray("caf\xE9"));
    const QString path = temp / (u"work/"_s + name);
    ASSERT_TRUE(FileUtils::ForceFolders(path));
    const QString lookalike = temp.Path() + u"work/"_s + QString::fromUtf8(QFile::encodeName(name));
    ASSERT_TRUE(FileUtils::ForceFolders(lookalike));
    EXPECT_EQ(FileUtils::DeleteFolderShell(path), EILSEQ);
    EXPECT_TRUE(Exists(path));
    EXPECT_TRUE(Exists(lookalike));
}

// --- ForceFolders -----------------------------------------------------------------------------

TEST(ForceFolders, CreatesEveryMissingParent) {
    TempFolder temp;
    temp.WriteFile(u"file.txt"_s, "x");
    EXPECT_TRUE(FileUtils::ForceFolders(temp / u"a/b/c"_s));
    EXPECT_TRUE(FileUtils::IsExistingFolder(temp / u"a/b/c"_s));
    EXPECT_TRUE(FileUtils::ForceFolders(temp / u"a/b/"_s));  // exists already
    EXPECT_FALSE(FileUtils::ForceFolders(temp / u"file.txt/x"_s));
    EXPECT_FALSE(FileUtils::ForceFolders(temp / u"file.txt"_s));
    EXPECT_FALSE(FileUtils::ForceFolders(QString()));
    ScopedPathFault fault(FaultPoint::CreateFolder, temp / u"d"_s, ENOSPC);
    EXPECT_FALSE(FileUtils::ForceFolders(temp / u"d"_s));
}

// --- IsSafeSubfolderName ----------------------------------------------------------------------

TEST(IsSafeSubfolderName, RefusesNamesThatLeaveTheFolder) {
    struct Case {
        TPathSyntax Syntax;
        QString Name;
        bool Expected;
    };
    const Case cases[] = {
        {P, u"new"_s, true},        {P, u"a/b"_s, true},
        {P, u"a/./b/"_s, true},     {P, u"..."_s, true},
        {P, u"a\\..\\b"_s, true},  // one name on POSIX
        {P, u"..x"_s, true},        {P, u""_s, false},
        {P, u"."_s, false},         {P, u"/tmp/x"_s, false},
        {P, u".."_s, false},        {P, u"../x"_s, false},
        {P, u"a/../../x"_s, false}, {P, u"a/.."_s, false},
        {W, u"a\\b"_s, true},       {W, u"a.b"_s, true},
        {W, u"..\\x"_s, false},     {W, u"a/../x"_s, false},  // Windows takes "/" as well
        {W, u"\\x"_s, false},       {W, u"C:x"_s, false},
        {W, u"..."_s, false},       {W, u". ."_s, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((c.Syntax.HasDrives ? "Windows: " : "POSIX: ") + c.Name.toStdString());
        EXPECT_EQ(FileUtils::IsSafeSubfolderName(c.Name, c.Syntax), c.Expected);
    }
}

}  // namespace
