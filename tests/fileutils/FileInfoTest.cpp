// File times and date-times, and the attribute queries the runs compare files by.
#include "FileInfo.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <ctime>

#include <gtest/gtest.h>

#include "FaultInjection.h"
#include "NativeName.h"
#include "TempFolder.h"

using namespace FileUtils;
using TestSupport::TempFolder;

namespace {

constexpr int64_t kUnixEpochTicks = 11644473600LL * 10000000;

TFileTime TicksOf(time_t unixSeconds, long nanoseconds = 0) {
    return TFileTime(kUnixEpochTicks + int64_t(unixSeconds) * 10000000 + nanoseconds / 100);
}

}  // namespace

TEST(FileInfo, FileTimesConvertToDateTimesAtMillisecondResolution) {
    struct Case {
        TFileTime fileTime;
        double dateTime;
    };
    const Case cases[] = {
        {0, -109205.0},                        // 1601-01-01
        {TicksOf(-2209161600), 0.0},           // 1899-12-30
        {TicksOf(946728000), 36526.5},         // 2000-01-01 12:00 UTC
        {TicksOf(946728000) + 9999, 36526.5},  // below a millisecond: not seen
        {TicksOf(946728000) + 10000, 36526.5 + 1.0 / 86400000},
    };
    for (const Case& c : cases) {
        TDateTime dateTime = -1;
        ASSERT_TRUE(FileTimeToDateTime(c.fileTime, dateTime));
        EXPECT_EQ(dateTime, c.dateTime) << c.fileTime;
        EXPECT_EQ(DateTimeToFileTime(c.dateTime), c.fileTime - c.fileTime % 10000);
    }
}

TEST(FileInfo, TimesBeyondTheYear9999AreNotConvertedButGiveNow) {
    TDateTime dateTime = 0;
    const TFileTime year10000 = TicksOf(253402300800);
    EXPECT_FALSE(FileTimeToDateTime(year10000, dateTime));
    EXPECT_NEAR(dateTime, Now(), 1.0 / 24 / 60);
    EXPECT_TRUE(FileTimeToDateTime(year10000 - 10000, dateTime));
}

TEST(FileInfo, LastWriteTimesAreSetExactlyHoweverFarAhead) {
    const time_t now = time(nullptr);
    TempFolder folder;
    const QString file = folder.WriteFile("f", "x");
    for (const TFileTime time :
         {TicksOf(now + 12 * 3600), TicksOf(now + 2 * 86400), TicksOf(4102444800) /* 2100 */}) {
        ASSERT_EQ(SetFileLastWriteTime(file, time), 0);
        EXPECT_EQ(GetFileLastWriteTime(file), time);
    }
    EXPECT_EQ(SetFileLastWriteTime(folder / "missing", TicksOf(now)), ENOENT);
}

TEST(FileInfo, FilesCompareByMillisecondAndAMissingFileIsOldest) {
    TempFolder folder;
    const QString a = folder.WriteFile("a", "x", 1700000000, 5000100);
    const QString b = folder.WriteFile("b", "x", 1700000000, 5000900);  // same millisecond
    const QString c = folder.WriteFile("c", "x", 1700000000, 6000000);
    EXPECT_EQ(GetFileDateTime(a), GetFileDateTime(b));
    EXPECT_GT(GetFileDateTime(c), GetFileDateTime(a));
    EXPECT_EQ(GetFileDateTime(folder / "missing"), 0.0);
    EXPECT_EQ(GetFileLastWriteTime(folder / "missing"), 0u);
}

TEST(FileInfo, FileAndDirectoryExistFollowLinksAndTellKindsApart) {
    TempFolder folder;
    folder.WriteFile("file", "x");
    folder.MakeFolder("dir");
    const QByteArray base = Platform::ToNativeName(folder.Path());
    ASSERT_EQ(symlink("file", (base + "link").constData()), 0);
    ASSERT_EQ(symlink("dir", (base + "dirlink").constData()), 0);
    ASSERT_EQ(symlink("none", (base + "dangling").constData()), 0);
    ASSERT_EQ(mkfifo((base + "fifo").constData(), 0644), 0);
    const struct {
        const char* name;
        bool file, directory;
    } cases[] = {
        {"file", true, false},     {"link", true, false},      {"dir", false, true},
        {"dirlink", false, true},  {"dangling", false, false}, {"fifo", false, false},
        {"missing", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(folder / c.name), c.file) << c.name;
        EXPECT_EQ(DirectoryExists(folder / c.name), c.directory) << c.name;
    }
}

TEST(FileInfo, SharingViolationIsAnsweredFromTheFolderListing) {
    TempFolder folder;
    const QString file = folder.WriteFile("held", "12345", 1600000000);
    folder.MakeFolder("dir");
    TestSupport::ScopedFault locked(Platform::FaultPoint::QueryAttributes,
                                    Platform::kErrorSharingViolation, 1, true);
    TFileAttributeData data;
    ASSERT_EQ(GetFileAttributeData(file, data, true), 0);
    EXPECT_EQ(data.FileSize, 5u);
    EXPECT_EQ(data.LastWriteTime, TicksOf(1600000000));
    EXPECT_EQ(GetFileAttributeData(folder / "dir", data, true), Platform::kErrorSharingViolation);
}
