// The file stream: modes, results of single reads and writes, and its error messages.
#include "ExtFileStream.h"

#include <sys/stat.h>

#include <cerrno>

#include <gtest/gtest.h>

#include <QDir>

#include "FaultInjection.h"
#include "NativeName.h"
#include "TempFolder.h"

using namespace FileUtils;
using TestSupport::TempFolder;

TEST(ExtFileStream, FailedOpenNamesTheFullPathAndTheSystemsReason) {
    TempFolder folder;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.Path()));
    try {
        TExtFileStream stream("missing.txt", fmOpenRead | fmShareDenyNone);
        ADD_FAILURE() << "opened a missing file";
    } catch (const EExtFileStreamError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + QDir::cleanPath(folder / "missing.txt") +
                                   "\". No such file or directory");
        EXPECT_EQ(e.ErrorCode, ENOENT);
    }
    QDir::setCurrent(previous);

    try {
        TExtFileStream stream(folder / "no/such/folder/f", fmCreate);
        ADD_FAILURE() << "created a file in a missing folder";
    } catch (const EExtFileStreamError& e) {
        EXPECT_TRUE(e.Message().startsWith("Cannot create file \"")) << e.what();
        EXPECT_EQ(e.ErrorCode, ENOENT);
    }
}

TEST(ExtFileStream, CreateTruncatesOrRefusesAnExistingFile) {
    TempFolder folder;
    const QString file = folder.WriteFile("f", "old content");
    { TExtFileStream stream(file, fmCreate); }
    EXPECT_EQ(TestSupport::ReadAll(file), QByteArray());
    EXPECT_THROW(TExtFileStream(file, fmCreate | fmCreateNew), EExtFileStreamError);
    EXPECT_THROW(TExtFileStream(file, fmOpenRead | 0x0050),
                 EExtFileStreamError);  // no such sharing
}

TEST(ExtFileStream, ReadAndWriteReportCountsAndErrorCodes) {
    TempFolder folder;
    TExtFileStream stream(folder / "f", fmCreate);
    int64_t count = 0;
    EXPECT_EQ(stream.Write("hello", 5, count), 0);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(stream.Size(), 5);
    EXPECT_EQ(stream.Seek(0, Platform::SeekOrigin::Begin), 0);

    char buffer[16];
    EXPECT_EQ(stream.Read(buffer, sizeof buffer, count), 0);
    EXPECT_EQ(count, 5);  // a short read is the end of the file
    EXPECT_EQ(stream.Read(buffer, sizeof buffer, count), 0);
    EXPECT_EQ(count, 0);

    TestSupport::ScopedFault failing(Platform::FaultPoint::Read, EIO);
    EXPECT_EQ(stream.Read(buffer, sizeof buffer, count), EIO);
    EXPECT_EQ(count, -1);
}
