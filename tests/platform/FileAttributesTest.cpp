// Attributes, times and handles of single files.
#include "FileAttributes.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "FaultInjection.h"
#include "FileHandle.h"
#include "NativeName.h"
#include "TempFolder.h"

using namespace Platform;
using TestSupport::TempFolder;

TEST(FileAttributes, MapsModeAndNameOntoTheAttributeWord) {
    TempFolder folder;
    const QString file = folder.WriteFile(QStringLiteral("f"), "x");
    const QString hidden = folder.WriteFile(QStringLiteral(".f"), "x");
    const QString fifo = folder / QStringLiteral("fifo");
    ASSERT_EQ(mkfifo(ToNativeName(fifo).constData(), 0644), 0);

    TFileAttributeData data;
    ASSERT_EQ(QueryAttributeData(file, true, data), 0);
    EXPECT_EQ(data.Attributes, kAttrArchive);
    EXPECT_EQ(data.FileSize, 1u);
    ASSERT_EQ(QueryAttributeData(hidden, true, data), 0);
    EXPECT_EQ(data.Attributes, kAttrArchive | kAttrHidden);
    ASSERT_EQ(QueryAttributeData(folder.Path(), true, data), 0);
    EXPECT_EQ(data.Attributes & kAttrDirectory, kAttrDirectory);
    ASSERT_EQ(QueryAttributeData(fifo, true, data), 0);
    EXPECT_FALSE(IsFileAttributes(data.Attributes));
    EXPECT_EQ(QueryAttributeData(folder / QStringLiteral("missing"), true, data), ENOENT);
}

TEST(FileAttributes, ReadOnlyIsTheOwnersWritePermission) {
    TempFolder folder;
    const QString file = folder.WriteFile(QStringLiteral("f"), "x");
    ASSERT_EQ(SetAttributes(file, kAttrReadOnly | kAttrArchive), 0);
    EXPECT_EQ(TestSupport::Permissions(file), 0444u);
    TFileAttributeData data;
    ASSERT_EQ(QueryAttributeData(file, true, data), 0);
    EXPECT_EQ(data.Attributes, kAttrReadOnly | kAttrArchive);

    ASSERT_EQ(SetAttributes(file, kAttrArchive), 0);
    EXPECT_EQ(TestSupport::Permissions(file), 0644u);
    EXPECT_EQ(PermissionsForAttributes(kAttrReadOnly) & 0222, 0u);
}

TEST(FileAttributes, LinksAnswerForThemselvesOrForTheirTarget) {
    TempFolder folder;
    folder.MakeFolder(QStringLiteral("dir"));
    const QString toFolder = folder / QStringLiteral("to-dir");
    const QString dangling = folder / QStringLiteral("dangling");
    ASSERT_EQ(symlink("dir", ToNativeName(toFolder).constData()), 0);
    ASSERT_EQ(symlink("missing", ToNativeName(dangling).constData()), 0);

    TFileAttributeData data;
    ASSERT_EQ(QueryAttributeData(toFolder, false, data), 0);
    EXPECT_EQ(data.Attributes, kAttrDirectory | kAttrReparsePoint);
    ASSERT_EQ(QueryAttributeData(toFolder, true, data), 0);
    EXPECT_EQ(data.Attributes, kAttrDirectory);
    ASSERT_EQ(QueryAttributeData(dangling, true, data), 0);  // keeps its own data
    EXPECT_EQ(data.Attributes, kAttrArchive | kAttrReparsePoint);
}

TEST(FileAttributes, LastWriteTimeIsSetToTheNanosecondAndZeroLeavesIt) {
    TempFolder folder;
    const QString file = folder.WriteFile(QStringLiteral("f"), "x", 1000000000, 123456789);
    TFileAttributeData data;
    ASSERT_EQ(QueryAttributeData(file, true, data), 0);
    EXPECT_EQ(data.LastWriteTime, (1000000000 + 11644473600LL) * 10000000 + 1234567);
    EXPECT_EQ(data.LastWrite, (TExactTime{1000000000, 123456789}));

    ASSERT_EQ(SetLastWriteTime(file, TExactTime{1000000000, 123457789}), 0);
    EXPECT_EQ(TestSupport::ModificationTime(file).tv_nsec, 123457789);
    ASSERT_EQ(SetLastWriteTime(file, TFileTime{0}), 0);
    EXPECT_EQ(TestSupport::ModificationTime(file).tv_nsec, 123457789);
}

TEST(FileHandle, OnlyRegularFilesAreOpenedAndFifosDoNotBlock) {
    TempFolder folder;
    const QString fifo = folder / QStringLiteral("fifo");
    ASSERT_EQ(mkfifo(ToNativeName(fifo).constData(), 0644), 0);
    FileHandle handle;
    EXPECT_EQ(OpenFile(fifo, FileAccess::Read, FileDisposition::OpenExisting, 0, handle),
              kErrorNotRegularFile);
    EXPECT_EQ(handle, kInvalidHandle);
    EXPECT_EQ(OpenFile(folder.Path(), FileAccess::Read, FileDisposition::OpenExisting, 0, handle),
              kErrorIsFolder);

    const QString file = folder.WriteFile(QStringLiteral("f"), "x");
    EXPECT_EQ(OpenFile(file, FileAccess::Write, FileDisposition::CreateNew, 0, handle), EEXIST);
}

TEST(FileHandle, InjectedWriteFaultIsReportedWithItsCode) {
    TempFolder folder;
    FileHandle handle;
    ASSERT_EQ(OpenFile(folder / QStringLiteral("f"), FileAccess::ReadWrite,
                       FileDisposition::CreateAlways, 0, handle),
              0);
    TestSupport::ScopedFault full(FaultPoint::Write, ENOSPC, 2);
    int64_t done;
    EXPECT_EQ(WriteFile(handle, "abc", 3, done), 0);
    EXPECT_EQ(done, 3);
    EXPECT_EQ(WriteFile(handle, "abc", 3, done), ENOSPC);
    EXPECT_EQ(CloseFile(handle), 0);
}
