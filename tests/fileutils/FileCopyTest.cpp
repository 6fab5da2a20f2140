// The copy engine: what arrives, what is refused, and that a failed copy never damages the old
// target.
#include "FileCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include <QRegularExpression>

#include "ExtFileStream.h"
#include "FaultInjection.h"
#include "FileAttributes.h"
#include "FileSystemOps.h"
#include "NativeName.h"
#include "TempFolder.h"
#include "VolumeInfo.h"

using namespace FileUtils;
using Platform::FaultPoint;
using Platform::ToNativeName;
using TestSupport::ModificationTime;
using TestSupport::Permissions;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

QByteArray Pattern(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// Clone and kernel copy refused, so that the bytes go through the buffer.
const std::initializer_list<TestSupport::FaultRule> kNoKernelCopy = {
    {FaultPoint::Clone, EXDEV, 1, true}, {FaultPoint::CopyRange, EXDEV, 1, true}};

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// The message and code of the copy error raised by `copy`, or an empty message.
template <typename Copy>
std::pair<QString, int> CopyError(Copy copy) {
    try {
        copy();
    } catch (const ECopyError& e) {
        return {e.Message(), e.ErrorCode};
    }
    return {QString(), 0};
}

}  // namespace

TEST(FileCopy, ContentTimeAndPermissionsArrive) {
    struct Case {
        qsizetype size;
        int bufferSize;
        mode_t mode;
    };
    const Case cases[] = {
        {0, 4096, 0644},                  // empty file
        {1, 4096, 0600},                  //
        {8192, 4096, 0640},               // exactly two buffers
        {8193, 4096, 0755},               //
        {300000, kCopyBufferSize, 0444},  // read-only source
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const QString source = folder.WriteFile("src/file", Pattern(c.size), 1500000000, 123456789);
        ASSERT_EQ(chmod(ToNativeName(source).constData(), c.mode), 0);
        const QString target = folder.MakeFolder("dst") + "/file";

        CopyFileWithTimestamp(source, target, -1, c.bufferSize);

        EXPECT_EQ(ReadAll(target), Pattern(c.size)) << c.size;
        EXPECT_TRUE(SameTime(ModificationTime(target), {1500000000, 123456789})) << c.size;
        EXPECT_EQ(Permissions(target), c.mode) << c.size;
        EXPECT_EQ(TestSupport::Entries(folder / "dst"), QStringList{"file"});
    }
}

TEST(FileCopy, SourceOfTwoBufferSizesIsReadThreeTimes) {
    TempFolder folder;
    const QString source = folder.WriteFile("a", Pattern(2 * 1024));
    TestSupport::ScopedFault calls(kNoKernelCopy);
    CopyFileWithTimestamp(source, folder / "b", -1, 1024);
    EXPECT_EQ(calls.Calls(FaultPoint::Read), 3);
    EXPECT_EQ(ReadAll(folder / "b"), Pattern(2 * 1024));
}

// A read may return less than asked for long before the end (FUSE, network shares, signals):
// only an empty read ends the copy, whichever way the bytes travel.
TEST(FileCopy, ShortReadsAreNotTheEnd) {
    const qsizetype sizes[] = {0, 1, 999, 1000, 4096, 8192, 8193, 1000000};
    for (const bool kernelCopy : {true, false}) {
        for (const qsizetype size : sizes) {
            TempFolder folder;
            const QString source = folder.WriteFile("src", Pattern(size), 1500000000, 7);
            TestSupport::ScopedQuirks shortReads({.MaxTransfer = 1000});
            std::optional<TestSupport::ScopedFault> noKernelCopy;
            if (!kernelCopy) noKernelCopy.emplace(kNoKernelCopy);
            CopyFileWithTimestamp(source, folder / "dst", -1, 4096);
            EXPECT_EQ(ReadAll(folder / "dst"), Pattern(size)) << size << " " << kernelCopy;
            EXPECT_TRUE(SameTime(ModificationTime(folder / "dst"), {1500000000, 7})) << size;
        }
    }
}

// The kernel refuses to copy between some file systems; the buffer then does the work, and
// only a real failure fails the copy.
TEST(FileCopy, RefusedKernelCopiesFallBackAndRealFailuresDoNot) {
    struct Case {
        TestSupport::FaultRule clone;
        TestSupport::FaultRule copyRange;
        int expectedError;
    };
    const Case cases[] = {
        {{FaultPoint::Clone, EXDEV}, {FaultPoint::CopyRange, EXDEV, 1, true}, 0},
        {{FaultPoint::Clone, EOPNOTSUPP}, {FaultPoint::CopyRange, EOPNOTSUPP, 1, true}, 0},
        {{FaultPoint::Clone, EINVAL}, {FaultPoint::CopyRange, EXDEV, 2, true}, 0},  // midway
        {{FaultPoint::Clone, EIO}, {FaultPoint::CopyRange, 0}, EIO},
        {{FaultPoint::Clone, EOPNOTSUPP}, {FaultPoint::CopyRange, EIO}, EIO},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const QString source = folder.WriteFile("src", Pattern(300000), 1600000000, 99);
        const QString target = folder.WriteFile("dst", "old", 1500000000);
        {
            TestSupport::ScopedQuirks shortCopies({.MaxTransfer = 100000});
            TestSupport::ScopedFault fault({c.clone, c.copyRange});
            const auto [message, code] = CopyError([&] { CopyFileWithTimestamp(source, target); });
            EXPECT_EQ(code, c.expectedError) << message.toStdString();
        }
        if (c.expectedError == 0) {
            EXPECT_EQ(ReadAll(target), Pattern(300000));
            EXPECT_TRUE(SameTime(ModificationTime(target), {1600000000, 99}));
        } else {
            EXPECT_EQ(ReadAll(target), "old");
        }
        EXPECT_EQ(TestSupport::Entries(folder.Path()), (QStringList{"dst", "src"}));
    }
}

// A file written to while it is copied gives a copy that matches no version of it: the copy
// fails and the next run takes the file as it is then.
TEST(FileCopy, SourceChangedDuringTheCopyFailsIt) {
    const std::pair<const char*, std::function<void(const QString&)>> changes[] = {
        {"grew", [](const QString& file) { TestSupport::AppendFile(file, "more"); }},
        {"shrank", [](const QString& file) { truncate(ToNativeName(file).constData(), 10); }},
        {"rewritten",
         [](const QString& file) { TestSupport::SetModificationTime(file, 1700000000); }},
    };
    for (const auto& [name, change] : changes) {
        TempFolder folder;
        const QString source = folder.WriteFile("src", Pattern(20000), 1600000000);
        const QString target = folder.WriteFile("dst", "old", 1500000000);
        bool changed = false;
        Platform::SetFaultHook([&](FaultPoint point, const QString&) {
            if ((point == FaultPoint::Read || point == FaultPoint::CopyRange) && !changed) {
                changed = true;
                change(source);
            }
            return 0;
        });
        const auto [message, code] = CopyError([&] { CopyFileWithTimestamp(source, target); });
        Platform::SetFaultHook({});
        EXPECT_EQ(message, "Error reading from \"" + source + "\"") << name;
        EXPECT_EQ(code, kErrorChangedWhileCopied) << name;
        EXPECT_EQ(ErrorReason(code), "The file changed while it was being copied");
        EXPECT_EQ(ReadAll(target), "old") << name;
        EXPECT_EQ(TestSupport::Entries(folder.Path()), (QStringList{"dst", "src"})) << name;
    }
}

// Holes are not written out: a sparse file stays sparse.
TEST(FileCopy, SparseSourceGivesASparseCopy) {
    TempFolder folder;
    const QString source = folder / "sparse";
    constexpr off_t kSize = 16 << 20;
    {
        const int fd = open(ToNativeName(source).constData(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, kSize), 0);
        ASSERT_EQ(pwrite(fd, "data", 4, kSize / 2), 4);
        ASSERT_EQ(pwrite(fd, "end", 3, kSize - 3), 3);
        close(fd);
    }
    struct stat st;
    ASSERT_EQ(stat(ToNativeName(source).constData(), &st), 0);
    if (off_t(st.st_blocks) * 512 >= kSize) GTEST_SKIP() << "no holes on this file system";

    CopyFileWithTimestamp(source, folder / "copy");
    EXPECT_EQ(ReadAll(folder / "copy"), ReadAll(source));
    ASSERT_EQ(stat(ToNativeName(folder / "copy").constData(), &st), 0);
    EXPECT_EQ(st.st_size, kSize);
    EXPECT_LT(off_t(st.st_blocks) * 512, 1 << 20);
}

TEST(FileCopy, ExistingReadOnlyTargetIsReplacedAndGetsTheSourcesAttributes) {
    TempFolder folder;
    const QString source = folder.WriteFile("new", "new content", 1600000000);
    const QString target = folder.WriteFile(".old", "old", 1500000000);
    ASSERT_EQ(chmod(ToNativeName(target).constData(), 0444), 0);

    CopyFileWithTimestamp(source, target);
    EXPECT_EQ(ReadAll(target), "new content");
    EXPECT_EQ(Permissions(target), 0644u);
    EXPECT_EQ(ModificationTime(target).tv_sec, 1600000000);
}

TEST(FileCopy, ExplicitAttributesReplaceTheSourcesOwn) {
    TempFolder folder;
    const QString source = folder.WriteFile("a", "x");
    CopyFileWithTimestamp(source, folder / "b", int(Platform::kAttrReadOnly));
    EXPECT_EQ(Permissions(folder / "b") & 0222, 0u);
    EXPECT_EQ(Permissions(folder / "b"),
              Platform::PermissionsForAttributes(Platform::kAttrReadOnly));
}

TEST(FileCopy, MissingSourcesAndNonFilesAreNotFoundAndCreateNothing) {
    TempFolder folder;
    folder.MakeFolder("dir");
    const QString fifo = folder / "fifo";
    ASSERT_EQ(mkfifo(ToNativeName(fifo).constData(), 0644), 0);
    ASSERT_EQ(symlink("nowhere", ToNativeName(folder / "dangling").constData()), 0);
    folder.MakeFolder("out");
    for (const char* name : {"missing", "dir", "fifo", "dangling"}) {
        const QString source = folder / name;
        const auto [message, code] =
            CopyError([&] { CopyFileWithTimestamp(source, folder / "out/copy"); });
        EXPECT_EQ(message, "File not found: \"" + source + "\"") << name;
        EXPECT_EQ(code, ENOENT) << name;
        EXPECT_TRUE(TestSupport::Entries(folder / "out").isEmpty()) << name;
    }
    const auto [message, code] =
        CopyError([&] { CopyFileWithTimestamp(folder.WriteFile("file", "x"), QString()); });
    EXPECT_EQ(message, "File not found: \"" + (folder / "file") + "\"");
}

// A copy carries its source's time exactly, whatever it is, so that a pair settles after one
// run: a time far ahead does not become "now", and times before 1601 or after 9999 survive.
TEST(FileCopy, SourceTimesAreKeptExactlyHoweverFarOff) {
    const QString base = TestSupport::MemoryFolder();
    if (base.isEmpty()) GTEST_SKIP() << "no tmpfs, which keeps such times";
    const time_t now = time(nullptr);
    const timespec times[] = {
        {now + 3 * 86400, 500},     // a clock gone wrong, three days ahead
        {now + 12 * 3600, 500},     //
        {-14831769600, 123456789},  // 1500-01-01
        {4102444800, 1},            // 2100-01-01
        {16725225600, 999999999},   // 2500-01-01
        {253402300800 + 86400, 0},  // 10000-01-02
    };
    for (const timespec& t : times) {
        TempFolder folder(base);
        const QString source = folder.WriteFile("src", "x", t.tv_sec, t.tv_nsec);
        ASSERT_TRUE(SameTime(ModificationTime(source), t)) << t.tv_sec;
        CopyFileWithTimestamp(source, folder / "copy");
        EXPECT_TRUE(SameTime(ModificationTime(folder / "copy"), t)) << t.tv_sec;
    }
}

// exFAT and FAT through FUSE ignore a time set on an open file while the access time is left
// alone; the copy then sets both through its name. A file system that keeps whole or two
// seconds has kept the time; one that keeps none fails the copy, and the old target stays.
TEST(FileCopy, TimeThatDoesNotStickIsSetAgainOrFailsTheCopy) {
    using Platform::TMediumQuirks;
    struct Case {
        TMediumQuirks quirks;
        timespec expected;
        int error;
    };
    const Case cases[] = {
        {{.HandleTimeIgnored = true}, {1600000001, 123456789}, 0},
        {{.HandleTimeIgnored = true, .TimeGranularity = 2000000000}, {1600000000, 0}, 0},
        {{.TimeGranularity = 1000000000}, {1600000001, 0}, 0},
        {{.TimeGranularity = 10000000}, {1600000001, 120000000}, 0},
        {{.TimeGranularity = 100}, {1600000001, 123456700}, 0},
        {{.HandleTimeIgnored = true, .PathTimeIgnored = true}, {1500000000, 0}, kErrorTimeNotKept},
        {{.TimeGranularity = 3000000000}, {1500000000, 0}, kErrorTimeNotKept},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const QString source = folder.WriteFile("src", "new", 1600000001, 123456789);
        const QString target = folder.WriteFile("dst", "old", 1500000000);
        TestSupport::ScopedQuirks quirks(c.quirks);
        const auto [message, code] = CopyError([&] { CopyFileWithTimestamp(source, target); });
        EXPECT_EQ(code, c.error) << message.toStdString();
        EXPECT_EQ(ReadAll(target), c.error == 0 ? "new" : "old");
        EXPECT_TRUE(SameTime(ModificationTime(target), c.expected))
            << ModificationTime(target).tv_sec << "." << ModificationTime(target).tv_nsec;
        if (c.error != 0) {
            EXPECT_EQ(message, "Error setting timestamps of \"" + target + "\"");
            EXPECT_EQ(ErrorReason(code), "The file system did not keep the file's time");
        }
        EXPECT_EQ(TestSupport::Entries(folder.Path()), (QStringList{"dst", "src"}));
    }
}

// FAT and exFAT keep no permission bits: the copy is kept as the file system can hold it. Any
// other failure still fails it.
TEST(FileCopy, TargetWithoutPermissionBitsKeepsTheCopy) {
    for (const int error : {ENOSYS, EOPNOTSUPP, EPERM, EIO}) {
        TempFolder folder;
        const QString source = folder.WriteFile("src", "new", 1600000000);
        const QString target = folder.WriteFile("dst", "old", 1500000000);
        TestSupport::ScopedFault noBits(FaultPoint::SetAttributes, error);
        const auto [message, code] = CopyError([&] { CopyFileWithTimestamp(source, target); });
        const bool kept = error != EIO;
        EXPECT_EQ(code, kept ? 0 : EIO) << error;
        EXPECT_EQ(ReadAll(target), kept ? "new" : "old") << error;
        EXPECT_EQ(ModificationTime(target).tv_sec, kept ? 1600000000 : 1500000000) << error;
    }
}

// The temporary name never makes a path too long that fits as the target's own.
TEST(FileCopy, TargetPathAtTheLengthLimitIsCopied) {
    TempFolder folder;
    QString deep = folder.Path();
    deep.chop(1);
    const QString level = "/" + QString(200, QLatin1Char('d'));
    while (deep.size() + level.size() + 2 <= PATH_MAX - 1)
        deep += level;
    deep += "/" + QString(PATH_MAX - 1 - deep.size() - 3, QLatin1Char('e'));
    ASSERT_EQ(Platform::CreateFolderWithParents(deep), 0);
    const QString target = deep + "/a";
    ASSERT_EQ(target.size(), PATH_MAX - 1);
    const QString source = folder.WriteFile("src", "x", 1600000000);

    CopyFileWithTimestamp(source, target);
    EXPECT_EQ(ReadAll(target), "x");
}

TEST(FileCopy, NameThatIsNotUtf8IsCopiedByteForByte) {
    TempFolder folder;
    const QString name = Platform::FromNativeName(QByteArray("caf\xe9.txt"));
    const QString source = folder.WriteFile("a/" + name, "latin");
    folder.MakeFolder("b");
    CopyFileWithTimestamp(source, folder / "b/" + name);
    const QByteArray nativeTarget = ToNativeName(folder / "b/") + "caf\xe9.txt";
    EXPECT_EQ(ReadAll(Platform::FromNativeName(nativeTarget)), "latin");
}

TEST(FileCopy, SameNameIsLeftAloneAndCaseMattersOnLinux) {
    TempFolder folder;
    const QString file = folder.WriteFile("a", "content");
    CopyFileWithTimestamp(file, file);
    EXPECT_EQ(ReadAll(file), "content");
    CopyFileWithTimestamp(file, folder / "A");
    EXPECT_EQ(ReadAll(folder / "A"), "content");
}

TEST(FileCopy, CopyOntoItselfThroughAnotherPathKeepsTheContent) {
    TempFolder folder;
    const QString file = folder.WriteFile("real/f", Pattern(100000));
    ASSERT_EQ(symlink("real", ToNativeName(folder / "alias").constData()), 0);
    CopyFileWithTimestamp(file, folder / "alias/f", -1, 4096);
    EXPECT_EQ(ReadAll(file), Pattern(100000));
}

// A copy never writes through a link at the target, which may lead anywhere: the link is
// replaced by the copy and what it led to stays as it was.
TEST(FileCopy, LinkAtTheTargetIsReplacedAndWhatItLedToIsLeftAlone) {
    TempFolder folder;
    const QString source = folder.WriteFile("src", "fresh");
    const QString linked = folder.WriteFile("elsewhere/real", "stale");
    ASSERT_EQ(symlink(ToNativeName(linked).constData(), ToNativeName(folder / "link").constData()),
              0);
    CopyFileWithTimestamp(source, folder / "link");
    EXPECT_EQ(ReadAll(linked), "stale");
    EXPECT_EQ(ReadAll(folder / "link"), "fresh");
    struct stat st;
    ASSERT_EQ(lstat(ToNativeName(folder / "link").constData(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
}

TEST(FileCopy, FolderInPlaceOfTheTargetIsRefused) {
    TempFolder folder;
    const QString source = folder.WriteFile("src", "x");
    const QString target = folder.MakeFolder("target");
    folder.WriteFile("target/inside", "keep");
    const auto [message, code] = CopyError([&] { CopyFileWithTimestamp(source, target); });
    EXPECT_EQ(message, "Error creating \"" + target + "\"");
    EXPECT_EQ(code, EISDIR);
    EXPECT_EQ(TestSupport::Entries(target), QStringList{"inside"});
}

// Whatever fails, the old target keeps its content, time and permissions, and no temporary
// file is left behind.
TEST(FileCopy, FailureAtAnyStepLeavesTheOldTargetIntact) {
    struct Case {
        FaultPoint point;
        int failAt;
        int error;
        const char* message;
        bool namesSource;
    };
    const Case cases[] = {
        {FaultPoint::Open, 1, EACCES, "Error opening \"%1\"", true},
        {FaultPoint::Open, 2, EROFS, "Error creating \"%1\"", false},
        {FaultPoint::Read, 2, EIO, "Error reading from \"%1\"", true},
        {FaultPoint::Reserve, 1, ENOSPC, "Error writing to \"%1\"", false},
        {FaultPoint::Write, 2, ENOSPC, "Error writing to \"%1\"", false},
        {FaultPoint::SetTime, 1, EPERM, "Error setting timestamps of \"%1\"", false},
        {FaultPoint::SetAttributes, 1, EIO, "Error setting attributes of \"%1\"", false},
        {FaultPoint::Flush, 1, EIO, "Error writing to \"%1\"", false},
        {FaultPoint::Close, 2, EIO, "Error writing to \"%1\"", false},
        {FaultPoint::Rename, 1, EXDEV, "Error creating \"%1\"", false},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const QString source = folder.WriteFile("src", Pattern(3 * 4096), 1600000000);
        const QString target = folder.WriteFile("target", "old content", 1500000000, 42);
        ASSERT_EQ(chmod(ToNativeName(target).constData(), 0604), 0);

        // Through the buffer, so that reads and writes can fail midway.
        TestSupport::ScopedFault fault(
            {{c.point, c.error, c.failAt}, kNoKernelCopy.begin()[0], kNoKernelCopy.begin()[1]});
        const auto [message, code] =
            CopyError([&] { CopyFileWithTimestamp(source, target, -1, 4096); });
        const QString expected = QString::fromUtf8(c.message).arg(c.namesSource ? source : target);
        EXPECT_EQ(message, expected) << int(c.point);
        EXPECT_EQ(code, c.error) << int(c.point);
        EXPECT_EQ(ReadAll(target), "old content") << int(c.point);
        EXPECT_TRUE(SameTime(ModificationTime(target), {1500000000, 42})) << int(c.point);
        EXPECT_EQ(Permissions(target), 0604u) << int(c.point);
        EXPECT_EQ(TestSupport::Entries(folder.Path()), (QStringList{"src", "target"}))
            << int(c.point);
    }
}

TEST(FileCopy, FullDiskOnANewTargetLeavesNothingBehind) {
    for (const FaultPoint point : {FaultPoint::Write, FaultPoint::CopyRange}) {
        TempFolder folder;
        const QString source = folder.WriteFile("src", Pattern(100));
        const FaultPoint refused =
            point == FaultPoint::Write ? FaultPoint::CopyRange : FaultPoint::Clone;
        TestSupport::ScopedFault full(
            {{point, Platform::kErrorDiskFull}, {refused, EXDEV}, {FaultPoint::Clone, EXDEV}});
        const auto [message, code] =
            CopyError([&] { CopyFileWithTimestamp(source, folder / "t"); });
        EXPECT_EQ(code, Platform::kErrorDiskFull) << int(point);
        EXPECT_EQ(message, "Error writing to \"" + (folder / "t") + "\"");
        EXPECT_EQ(TestSupport::Entries(folder.Path()), QStringList{"src"});
    }
}

TEST(FileCopy, TemporaryFileIsBesideTheTargetAndRecognisable) {
    const std::pair<const char*, bool> cases[] = {
        {".~copy-0a1b2c3d.tmp", true},   {".~copy-0a1b2c3.tmp", false},
        {".~copy-0A1B2C3D.tmp", false},  {"~copy-0a1b2c3d.tmp", false},
        {".~copy-0a1b2c3d.tmpx", false}, {"report.tmp", false},
    };
    for (const auto& [name, recognised] : cases)
        EXPECT_EQ(IsCopyTempName(name), recognised) << name;

    // Look into the target's folder while the copy is being stamped.
    TempFolder folder;
    const QString source = folder.WriteFile("src/a", "x");
    const QString targetFolder = folder.MakeFolder("dst");
    QStringList during;
    Platform::SetFaultHook([&](FaultPoint point, const QString&) {
        if (point == FaultPoint::SetTime) during = TestSupport::Entries(targetFolder);
        return 0;
    });
    CopyFileWithTimestamp(source, targetFolder + "/a");
    Platform::SetFaultHook({});
    ASSERT_EQ(during.size(), 1);
    EXPECT_TRUE(IsCopyTempName(during.first())) << during.first().toStdString();
    EXPECT_EQ(TestSupport::Entries(targetFolder), QStringList{"a"});
}

// A batch copies into temporary files and takes the targets only at its commit, after one
// flush: until then the old targets stand, and a crash leaves only temporary files beside them.
TEST(CopyBatch, CopiesTakeTheirTargetsOnlyAtTheCommit) {
    TempFolder folder;
    const QString first = folder.WriteFile("src/a", "new a", 1600000000);
    const QString second = folder.WriteFile("src/b", "new b", 1600000000);
    const QString target = folder.WriteFile("dst/a", "old a", 1500000000);
    TestSupport::CallCounter calls;
    TCopyBatch batch;
    batch.Add(first, target);
    batch.Add(second, folder / "dst/b");

    const QStringList before = TestSupport::Entries(folder / "dst");
    ASSERT_EQ(before.size(), 3);
    EXPECT_EQ(before.filter(QRegularExpression("^\\.~copy-")).size(), 2);
    EXPECT_TRUE(before.contains("a"));
    EXPECT_EQ(ReadAll(target), "old a");

    std::vector<size_t> order;
    batch.Commit([&](size_t index, const ECopyError* error) {
        EXPECT_EQ(error, nullptr);
        order.push_back(index);
    });
    EXPECT_EQ(order, (std::vector<size_t>{0, 1}));
    EXPECT_EQ(TestSupport::Entries(folder / "dst"), (QStringList{"a", "b"}));
    EXPECT_EQ(ReadAll(target), "new a");
    EXPECT_EQ(ModificationTime(folder / "dst/b").tv_sec, 1600000000);

    // A flush of the volume before and after the renames where that reaches the medium, else
    // two per file and one for their folder.
    Platform::FileHandle handle;
    Platform::TVolumeInfo volume;
    ASSERT_EQ(Platform::OpenFile(target, Platform::FileAccess::Read,
                                 Platform::FileDisposition::OpenExisting, 0, handle),
              0);
    ASSERT_EQ(Platform::QueryVolumeInfo(handle, volume), 0);
    Platform::CloseFile(handle);
    EXPECT_EQ(calls.Calls(FaultPoint::Flush), volume.FlushesAsAWhole ? 2 : 5);
}

TEST(CopyBatch, FailedFlushRenamesNothing) {
    TempFolder folder;
    const QString target = folder.WriteFile("dst/a", "old a", 1500000000);
    const QString sources[] = {folder.WriteFile("src/a", "new a"), folder.WriteFile("src/b", "b")};
    const QString targets[] = {target, folder / "dst/b"};

    // A volume flushed as a whole fails at the commit; a file flushed on its own while it is
    // added. Either way each copy reports the failure.
    TestSupport::ScopedFault fault(FaultPoint::Flush, EIO, 1, true);
    TCopyBatch batch;
    QStringList messages;
    for (int i = 0; i < 2; ++i) {
        const auto [message, code] = CopyError([&] { batch.Add(sources[i], targets[i]); });
        if (!message.isEmpty()) messages << message;
    }
    batch.Commit([&](size_t, const ECopyError* error) {
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->ErrorCode, EIO);
        messages << error->Message();
    });
    EXPECT_EQ(messages, (QStringList{"Error writing to \"" + targets[0] + "\"",
                                     "Error writing to \"" + targets[1] + "\""}));
    EXPECT_EQ(TestSupport::Entries(folder / "dst"), QStringList{"a"});
    EXPECT_EQ(ReadAll(target), "old a");
}

// A copy is reported in place only when its new name has reached the medium too.
TEST(CopyBatch, FailedFlushAfterTheRenamesIsReported) {
    TempFolder folder;
    folder.MakeFolder("dst");
    folder.MakeFolder("probe");
    TCopyBatch batch;
    batch.Add(folder.WriteFile("src/a", "new a"), folder / "dst/a");
    // The last flush of a commit is the one after the renames, whichever kind the volume is.
    int flushes = 0;
    {
        TCopyBatch probe;
        probe.Add(folder.WriteFile("src/b", "b"), folder / "probe/b");
        TestSupport::CallCounter counter;
        probe.Commit([](size_t, const ECopyError*) {});
        flushes = counter.Calls(FaultPoint::Flush);
    }
    TestSupport::ScopedFault fault(FaultPoint::Flush, EIO, flushes);
    int failures = 0;
    batch.Commit([&](size_t, const ECopyError* error) {
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->Message(), "Error writing to \"" + (folder / "dst/a") + "\"");
        ++failures;
    });
    EXPECT_EQ(failures, 1);
}

TEST(CopyBatch, DiscardedBatchLeavesTheOldTargets) {
    TempFolder folder;
    const QString target = folder.WriteFile("dst/a", "old a", 1500000000);
    {
        TCopyBatch batch;
        batch.Add(folder.WriteFile("src/a", "new a"), target);
    }
    EXPECT_EQ(TestSupport::Entries(folder / "dst"), QStringList{"a"});
    EXPECT_EQ(ReadAll(target), "old a");
}
