// The copy engine: what arrives, what is refused, and that a failed copy never damages the old
// target.
#include "FileCopy.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include <gtest/gtest.h>

#include "ExtFileStream.h"
#include "FaultInjection.h"
#include "FileAttributes.h"
#include "NativeName.h"
#include "TempFolder.h"

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
    TestSupport::CallCounter calls;
    CopyFileWithTimestamp(source, folder / "b", -1, 1024);
    EXPECT_EQ(calls.Calls(FaultPoint::Read), 3);
    EXPECT_EQ(ReadAll(folder / "b"), Pattern(2 * 1024));
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

TEST(FileCopy, SourceTimeMoreThanADayAheadBecomesNow) {
    TempFolder folder;
    const time_t now = time(nullptr);
    const QString farAhead = folder.WriteFile("far", "x", now + 3 * 86400, 500);
    const QString nearAhead = folder.WriteFile("near", "x", now + 12 * 3600, 500);
    CopyFileWithTimestamp(farAhead, folder / "far-copy");
    CopyFileWithTimestamp(nearAhead, folder / "near-copy");
    EXPECT_NEAR(double(ModificationTime(folder / "far-copy").tv_sec), double(now), 5.0);
    EXPECT_TRUE(SameTime(ModificationTime(folder / "near-copy"), {now + 12 * 3600, 500}));
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

TEST(FileCopy, LinkAtTheTargetKeepsPointingAtTheFreshContent) {
    TempFolder folder;
    const QString source = folder.WriteFile("src", "fresh");
    const QString linked = folder.WriteFile("elsewhere/real", "stale");
    ASSERT_EQ(symlink(ToNativeName(linked).constData(), ToNativeName(folder / "link").constData()),
              0);
    CopyFileWithTimestamp(source, folder / "link");
    EXPECT_EQ(ReadAll(linked), "fresh");
    struct stat st;
    ASSERT_EQ(lstat(ToNativeName(folder / "link").constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
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
        {FaultPoint::SetAttributes, 1, EPERM, "Error setting attributes of \"%1\"", false},
        {FaultPoint::Close, 2, EIO, "Error writing to \"%1\"", false},
        {FaultPoint::Rename, 1, EXDEV, "Error creating \"%1\"", false},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const QString source = folder.WriteFile("src", Pattern(3 * 4096), 1600000000);
        const QString target = folder.WriteFile("target", "old content", 1500000000, 42);
        ASSERT_EQ(chmod(ToNativeName(target).constData(), 0604), 0);

        TestSupport::ScopedFault fault(c.point, c.error, c.failAt);
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
    TempFolder folder;
    const QString source = folder.WriteFile("src", Pattern(100));
    TestSupport::ScopedFault full(FaultPoint::Write, Platform::kErrorDiskFull);
    const auto [message, code] = CopyError([&] { CopyFileWithTimestamp(source, folder / "t"); });
    EXPECT_EQ(code, Platform::kErrorDiskFull);
    EXPECT_FALSE(TestSupport::Exists(folder / "t"));
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
