// Tests of the path and file-name routines in Windows and POSIX syntax.
#include "Paths.h"

#include <unistd.h>

#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>
#include <utility>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;
using FileUtils::PosixPaths;
using FileUtils::TPathSyntax;
using FileUtils::WindowsPaths;

// Readable QString values in failure messages.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const TPathSyntax W = WindowsPaths;
const TPathSyntax P = PosixPaths;

std::string Trace(const TPathSyntax& syntax, const QString& a, const QString& b = QString(),
                  const QString& c = QString()) {
    std::string text = syntax.HasDrives ? "Windows: " : "POSIX: ";
    text += '"' + a.toStdString() + '"';
    if (!b.isNull()) text += ", \"" + b.toStdString() + '"';
    if (!c.isNull()) text += ", \"" + c.toStdString() + '"';
    return text;
}

struct TextCase {
    TPathSyntax Syntax;
    QString Path;
    QString Expected;
};

struct BoolCase {
    TPathSyntax Syntax;
    QString Path;
    bool Expected;
};

template <typename Routine>
void CheckTexts(const std::initializer_list<TextCase>& cases, Routine routine) {
    for (const TextCase& c : cases) {
        SCOPED_TRACE(Trace(c.Syntax, c.Path));
        EXPECT_EQ(routine(c.Path, c.Syntax), c.Expected);
    }
}

template <typename Routine>
void CheckBools(const std::initializer_list<BoolCase>& cases, Routine routine) {
    for (const BoolCase& c : cases) {
        SCOPED_TRACE(Trace(c.Syntax, c.Path));
        EXPECT_EQ(routine(c.Path, c.Syntax), c.Expected);
    }
}

TEST(PathsTest, IncludeTrailingDelimiter) {
    CheckTexts(
        {
            {W, u""_s, u"\\"_s},
            {W, u"C:\\data"_s, u"C:\\data\\"_s},
            {W, u"C:\\data\\"_s, u"C:\\data\\"_s},
            {W, u"a/"_s, u"a/\\"_s},
            {P, u""_s, u"/"_s},
            {P, u"/data"_s, u"/data/"_s},
            {P, u"/data/"_s, u"/data/"_s},
            {P, u"a\\"_s, u"a\\/"_s},
        },
        [](const QString& p, const TPathSyntax& s) {
            return FileUtils::IncludeTrailingDelimiter(p, s);
        });
}

TEST(PathsTest, ExcludeTrailingDelimiterRemovesOnlyOne) {
    CheckTexts(
        {
            {W, u"C:\\data\\"_s, u"C:\\data"_s},
            {W, u"C:\\data\\\\"_s, u"C:\\data\\"_s},
            {W, u"C:\\data"_s, u"C:\\data"_s},
            {W, u"data/"_s, u"data/"_s},
            {P, u"/data/"_s, u"/data"_s},
            {P, u"/"_s, u""_s},
            {P, u"data\\"_s, u"data\\"_s},
        },
        [](const QString& p, const TPathSyntax& s) {
            return FileUtils::ExcludeTrailingDelimiter(p, s);
        });
}

TEST(PathsTest, ExtractFilePathAndName) {
    struct Case {
        TPathSyntax Syntax;
        QString Path;
        QString Folder;
        QString Name;
    };
    const Case cases[] = {
        {W, u"C:\\a\\b.txt"_s, u"C:\\a\\"_s, u"b.txt"_s},
        {W, u"C:b.txt"_s, u"C:"_s, u"b.txt"_s},
        {W, u"b.txt"_s, u""_s, u"b.txt"_s},
        {W, u"a/b"_s, u""_s, u"a/b"_s},
        {W, u"C:\\a\\"_s, u"C:\\a\\"_s, u""_s},
        {P, u"/a/b.txt"_s, u"/a/"_s, u"b.txt"_s},
        {P, u"a:b"_s, u""_s, u"a:b"_s},
        {P, u"x/a:b"_s, u"x/"_s, u"a:b"_s},
        {P, u"a\\b"_s, u""_s, u"a\\b"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.Syntax, c.Path));
        EXPECT_EQ(FileUtils::ExtractFilePath(c.Path, c.Syntax), c.Folder);
        EXPECT_EQ(FileUtils::ExtractFileName(c.Path, c.Syntax), c.Name);
    }
}

TEST(PathsTest, ExtractFileDrive) {
    CheckTexts(
        {
            {W, u"C:\\a\\b"_s, u"C:"_s},
            {W, u"C:"_s, u"C:"_s},
            {W, u"\\\\server\\share\\folder\\x"_s, u"\\\\server\\share"_s},
            {W, u"\\\\server\\share"_s, u"\\\\server\\share"_s},
            {W, u"\\a\\b"_s, u""_s},
            {W, u"data\\x"_s, u""_s},
            {W, u"ab:c"_s, u""_s},
            {P, u"C:/a"_s, u""_s},
            {P, u"//server/share/folder"_s, u""_s},
            {P, u"/a/b"_s, u""_s},
        },
        [](const QString& p, const TPathSyntax& s) { return FileUtils::ExtractFileDrive(p, s); });
}

TEST(PathsTest, IsRelativePath) {
    CheckBools(
        {
            {W, u""_s, true},
            {W, u"data\\x"_s, true},
            {W, u"\\x"_s, false},
            {W, u"C:x"_s, false},
            {W, u"ab:c"_s, true},
            {W, u"/x"_s, true},
            {P, u""_s, true},
            {P, u"data/x"_s, true},
            {P, u"/x"_s, false},
            {P, u"C:x"_s, true},
            {P, u"\\x"_s, true},
        },
        [](const QString& p, const TPathSyntax& s) { return FileUtils::IsRelativePath(p, s); });
}

TEST(PathsTest, AddTrailingDelimiterKeepsEmptyTextEmpty) {
    CheckTexts(
        {
            {W, u""_s, u""_s},
            {W, u"C:\\data"_s, u"C:\\data\\"_s},
            {W, u"C:\\data\\"_s, u"C:\\data\\"_s},
            {P, u""_s, u""_s},
            {P, u"/data"_s, u"/data/"_s},
            {P, u"/data/"_s, u"/data/"_s},
        },
        [](const QString& p, const TPathSyntax& s) {
            return FileUtils::AddTrailingDelimiter(p, s);
        });
}

TEST(PathsTest, RemoveFileExtLooksOnlyAtLastComponent) {
    CheckTexts(
        {
            {W, u"C:\\x\\name.tar.gz"_s, u"C:\\x\\name.tar"_s},
            {W, u".log"_s, u""_s},
            {W, u"C:\\x\\.log"_s, u"C:\\x\\"_s},
            {W, u"name."_s, u"name"_s},
            {W, u"name"_s, u"name"_s},
            {W, u"C:\\my.dir\\name"_s, u"C:\\my.dir\\name"_s},
            {W, u"my.dir/name"_s, u"my"_s},
            {W, u"a.b:c"_s, u"a"_s},  // the colon does not end the walk
            {P, u"/x/name.tar.gz"_s, u"/x/name.tar"_s},
            {P, u"/x/.log"_s, u"/x/"_s},
            {P, u"name."_s, u"name"_s},
            {P, u"/my.dir/name"_s, u"/my.dir/name"_s},
            {P, u"my.dir\\name"_s, u"my"_s},
        },
        [](const QString& p, const TPathSyntax& s) { return FileUtils::RemoveFileExt(p, s); });
}

TEST(PathsTest, ReplaceFileExt) {
    struct Case {
        TPathSyntax Syntax;
        QString Name;
        QString Extension;
        QString Expected;
    };
    const Case cases[] = {
        {W, u"C:\\cfg\\app.ini"_s, u".log"_s, u"C:\\cfg\\app.log"_s},
        {W, u"C:\\cfg\\app.ini"_s, u"log"_s, u"C:\\cfg\\app.log"_s},
        {W, u"C:\\cfg\\app.ini"_s, u""_s, u"C:\\cfg\\app"_s},
        {W, u"C:\\cfg\\app.ini"_s, u"."_s, u"C:\\cfg\\app"_s},
        {W, u"C:\\cfg\\app.ini"_s, u"..x"_s, u"C:\\cfg\\app..x"_s},
        {W, u"C:\\cfg.d\\app"_s, u"ini"_s, u"C:\\cfg.d\\app.ini"_s},
        {W, u""_s, u"log"_s, u""_s},
        {P, u"/cfg/app.ini"_s, u".log"_s, u"/cfg/app.log"_s},
        {P, u"/cfg/app.ini"_s, u"log"_s, u"/cfg/app.log"_s},
        {P, u"/cfg/app.ini"_s, u""_s, u"/cfg/app"_s},
        {P, u"/cfg.d/app"_s, u"ini"_s, u"/cfg.d/app.ini"_s},
        {P, u""_s, u"log"_s, u""_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.Syntax, c.Name, c.Extension));
        EXPECT_EQ(FileUtils::ReplaceFileExt(c.Name, c.Extension, c.Syntax), c.Expected);
    }
}

TEST(PathsTest, AddPathJoinsWithOneDelimiter) {
    struct Case {
        TPathSyntax Syntax;
        QString Folder;
        QString Name;
        QString Expected;
    };
    const Case cases[] = {
        {W, u"C:\\a"_s, u"b\\c.txt"_s, u"C:\\a\\b\\c.txt"_s},
        {W, u"C:\\a\\"_s, u"b"_s, u"C:\\a\\b"_s},
        {W, u""_s, u"b"_s, u"b"_s},
        {W, u"C:\\a"_s, u""_s, u"C:\\a"_s},
        {P, u"/a"_s, u"b/c.txt"_s, u"/a/b/c.txt"_s},
        {P, u"/a/"_s, u"b"_s, u"/a/b"_s},
        {P, u""_s, u"b"_s, u"b"_s},
        {P, u"/a"_s, u""_s, u"/a"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.Syntax, c.Folder, c.Name));
        EXPECT_EQ(FileUtils::AddPath(c.Folder, c.Name, c.Syntax), c.Expected);
    }
}

TEST(PathsTest, ComposeFileName) {
    struct Case {
        TPathSyntax Syntax;
        QString Folder;
        QString Name;
        QString Extension;
        QString Expected;
    };
    const Case cases[] = {
        {W, u"C:\\cfg"_s, u"app"_s, u"ini"_s, u"C:\\cfg\\app.ini"_s},
        {W, u"C:\\cfg\\"_s, u"app"_s, u".ini"_s, u"C:\\cfg\\app.ini"_s},
        {W, u"C:\\cfg"_s, u"D:\\x\\app"_s, u"ini"_s, u"D:\\x\\app.ini"_s},
        {W, u"C:\\cfg"_s, u"sub.d\\app"_s, u"ini"_s, u"C:\\cfg\\sub.d\\app"_s},
        {W, u"C:\\cfg"_s, u"\\x\\app"_s, u"ini"_s, u"\\x\\app.ini"_s},
        {W, u"C:\\cfg"_s, u"x:app"_s, u"ini"_s, u"x:app.ini"_s},
        {W, u"C:\\cfg"_s, u"x/app"_s, u"ini"_s, u"C:\\cfg\\x/app.ini"_s},
        {W, u""_s, u"app"_s, u"ini"_s, u"app.ini"_s},
        {W, u"C:\\cfg"_s, u"app"_s, u""_s, u"C:\\cfg\\app"_s},
        {W, u"C:\\data"_s, u"*"_s, u"*"_s, u"C:\\data\\*.*"_s},
        {W, u"C:\\data"_s, u"*.txt"_s, u""_s, u"C:\\data\\*.txt"_s},
        {P, u"/cfg"_s, u"app"_s, u"ini"_s, u"/cfg/app.ini"_s},
        {P, u"/cfg/"_s, u"app"_s, u".ini"_s, u"/cfg/app.ini"_s},
        {P, u"/cfg"_s, u"/x/app"_s, u"ini"_s, u"/x/app.ini"_s},
        {P, u"/cfg"_s, u"sub.d/app"_s, u"ini"_s, u"/cfg/sub.d/app"_s},
        {P, u"/cfg"_s, u"D:x/app"_s, u"ini"_s, u"/cfg/D:x/app.ini"_s},
        {P, u"/cfg"_s, u"\\x"_s, u"ini"_s, u"/cfg/\\x.ini"_s},
        {P, u""_s, u"app"_s, u"ini"_s, u"app.ini"_s},
        {P, u"/data"_s, u"*"_s, u"*"_s, u"/data/*.*"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.Syntax, c.Folder, c.Name, c.Extension));
        EXPECT_EQ(FileUtils::ComposeFileName(c.Folder, c.Name, c.Extension, c.Syntax), c.Expected);
    }
}

TEST(PathsTest, ShortenPathName) {
    struct Case {
        TPathSyntax Syntax;
        QString Path;
        int MaxLength;
        QString Expected;
    };
    const QString longWin = u"C:\\data\\alpha\\beta\\gamma\\file.txt"_s;  // 33 characters
    const QString longPosix = u"/data/alpha/beta/gamma/file.txt"_s;       // 31 characters
    const QString noDelimiter = u"abcdefghijklmnopqrstuvwxy"_s;           // 25 characters
    const Case cases[] = {
        {W, longWin, 25, u"C:\\data\\...\\file.txt"_s},
        {W, longWin, 40, longWin},
        {W, longWin, 34, longWin},
        // A path of exactly the maximum length is still shortened where it can be.
        {W, longWin, 33, u"C:\\data\\alpha\\beta\\...\\file.txt"_s},
        {W, u"C:\\data\\alpha\\beta\\gamma\\"_s, 20, u"C:\\data\\...\\gamma\\"_s},
        {W, noDelimiter, 10, u"...stuvwxy"_s},
        {W, longWin, 11, u"...file.txt"_s},  // no cut keeps the last component
        {W, u"C:\\abcdefghijklmnop.txt"_s, 10, u"...nop.txt"_s},
        {W, u"C:/data/alpha/beta/gamma/file.txt"_s, 25, u"...ha/beta/gamma/file.txt"_s},
        {P, longPosix, 25, u"/data/alpha/.../file.txt"_s},
        {P, longPosix, 40, longPosix},
        {P, u"/data/alpha/beta/gamma/"_s, 20, u"/data/.../gamma/"_s},
        {P, noDelimiter, 10, u"...stuvwxy"_s},
        {P, u"a\\b\\c\\d\\e\\f\\g\\h\\i\\j"_s, 10, u"...g\\h\\i\\j"_s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Trace(c.Syntax, c.Path) + " max " + std::to_string(c.MaxLength));
        EXPECT_EQ(FileUtils::ShortenPathName(c.Path, c.MaxLength, c.Syntax), c.Expected);
    }
}

TEST(PathsTest, ShortenPathNameNeverExceedsMaximum) {
    const QString paths[] = {
        u"C:\\data\\alpha\\beta\\gamma\\file.txt"_s,
        u"C:\\data\\alpha\\beta\\gamma\\"_s,
        u"\\\\server\\share\\a\\bb\\ccc\\dddd"_s,
        u"abcdefghijklmnopqrstuvwxy"_s,
        u"\\x"_s,
        u"\\"_s,
        u""_s,
    };
    for (const TPathSyntax& syntax : {W, P}) {
        for (const QString& windowsPath : paths) {
            const QString path =
                syntax.HasDrives ? windowsPath : QString(windowsPath).replace(u'\\', u'/');
            for (int max = -1; max <= path.size() + 2; ++max) {
                SCOPED_TRACE(Trace(syntax, path) + " max " + std::to_string(max));
                const QString result = FileUtils::ShortenPathName(path, max, syntax);
                if (path.size() < max) {
                    EXPECT_EQ(result, path);
                } else {
                    EXPECT_LE(result.size(), std::max(max, 0));
                }
            }
        }
    }
}

TEST(PathsTest, GetParentFolder) {
    CheckTexts(
        {
            {W, u"C:\\a\\b\\"_s, u"C:\\a"_s},
            {W, u"C:\\a"_s, u"C:"_s},
            {W, u"C:\\"_s, u"C:"_s},
            {W, u"C:"_s, u"C:"_s},
            {W, u"\\x"_s, u"\\x"_s},
            {W, u"\\\\server\\share\\folder"_s, u"\\\\server\\share"_s},
            {W, u"a/b"_s, u"a/b"_s},
            {P, u"/a/b/"_s, u"/a"_s},
            {P, u"/a/b"_s, u"/a"_s},
            {P, u"/a"_s, u"/"_s},
            {P, u"/a/"_s, u"/"_s},
            {P, u"/"_s, u"/"_s},
            {P, u"a"_s, u"a"_s},
            {P, u"a\\b"_s, u"a\\b"_s},
            {P, u"C:/a"_s, u"C:"_s},
        },
        [](const QString& p, const TPathSyntax& s) { return FileUtils::GetParentFolder(p, s); });
}

TEST(PathsTest, IsAbsolutePath) {
    CheckBools(
        {
            {W, u"\\x"_s, true},
            {W, u"C:"_s, true},
            {W, u"abc:def"_s, true},
            {W, u""_s, false},
            {W, u"data\\x"_s, false},
            {W, u"/x"_s, false},
            {P, u"/x"_s, true},
            {P, u"/"_s, true},
            {P, u"C:"_s, false},
            {P, u"abc:def"_s, false},
            {P, u""_s, false},
            {P, u"data/x"_s, false},
            {P, u"\\x"_s, false},
        },
        [](const QString& p, const TPathSyntax& s) { return FileUtils::IsAbsolutePath(p, s); });
}

TEST(PathsTest, IsNetworkPath) {
    CheckBools(
        {
            {W, u"\\\\server\\share"_s, true},
            {W, u"\\\\"_s, true},
            {W, u"\\x"_s, false},
            {W, u"C:\\x"_s, false},
            {W, u"//server/share"_s, false},
            {P, u"//server/share"_s, false},
            {P, u"/x"_s, false},
        },
        [](const QString& p, const TPathSyntax& s) { return FileUtils::IsNetworkPath(p, s); });
}

TEST(PathsTest, IsRealEntryName) {
    const std::pair<QString, bool> cases[] = {
        {u"."_s, false}, {u".."_s, false}, {u"..."_s, true},
        {u".x"_s, true}, {u"x"_s, true},   {u"x."_s, true},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(FileUtils::IsRealEntryName(name), expected);
    }
}

class IsExistingFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(Temp.isValid());
        ASSERT_TRUE(QDir(Temp.path()).mkdir(u"folder"_s));
        QFile file(Path(u"file.txt"_s));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.close();
    }

    QString Path(const QString& name) const { return Temp.filePath(name); }

    void Link(const QString& target, const QString& link) const {
        ASSERT_EQ(::symlink(QFile::encodeName(target).constData(),
                            QFile::encodeName(Path(link)).constData()),
                  0);
    }

    QTemporaryDir Temp;
};

TEST_F(IsExistingFolderTest, AnswersFromTheEntryItself) {
    Link(Path(u"folder"_s), u"folder-link"_s);
    Link(Path(u"file.txt"_s), u"file-link"_s);
    Link(Path(u"missing"_s), u"dangling-link"_s);
    const std::pair<QString, bool> cases[] = {
        {Temp.path(), true},
        {Path(u"folder"_s), true},
        {Path(u"file.txt"_s), false},
        {Path(u"missing"_s), false},
        {Path(u"missing/deeper"_s), false},
        {Path(u"folder-link"_s), true},
        {Path(u"file-link"_s), false},
        {Path(u"dangling-link"_s), false},
        {QString(), false},
    };
    for (const auto& [name, expected] : cases) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(FileUtils::IsExistingFolder(name), expected);
    }
}

}  // namespace
