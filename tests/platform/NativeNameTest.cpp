// Names that are not UTF-8 must survive the trip through QString byte for byte.
#include "NativeName.h"

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "FileHandle.h"
#include "FolderSearch.h"
#include "TempFolder.h"

using namespace Platform;

TEST(NativeName, EveryByteSequenceRoundTrips) {
    const QByteArray cases[] = {
        "plain.txt",
        "Gr\xc3\xbc\xc3\x9f"
        "e.txt",                    // valid UTF-8
        "caf\xe9.txt",              // Latin-1
        "\xed\xa0\x80",             // an encoded surrogate is not valid UTF-8
        "\xc0\xaf",                 // overlong "/"
        "\xf4\x90\x80\x80",         // beyond U+10FFFF
        "x\xe2\x82",                // truncated sequence at the end
        "\xf0\x9f\x93\x81 folder",  // four-byte sequence
        "\xed\xb3\xa9",             // the UTF-8 form of an escape character itself
        "\x80\xff\xfe",
    };
    for (const QByteArray& bytes : cases) {
        EXPECT_EQ(ToNativeName(FromNativeName(bytes)), bytes) << bytes.toHex().toStdString();
    }
}

TEST(NativeName, DecodesUtf8AndEscapesOtherBytes) {
    EXPECT_EQ(FromNativeName(QByteArray("Gr\xc3\xbc\xc3\x9f"
                                        "e")),
              QStringLiteral("Grüße"));
    const QString latin1 = FromNativeName(QByteArray("caf\xe9"));
    ASSERT_EQ(latin1.size(), 4);
    EXPECT_EQ(latin1.at(3).unicode(), 0xDCE9);
    // Two names that differ only in an undecodable byte stay different.
    EXPECT_NE(FromNativeName(QByteArray("a\xe9")), FromNativeName(QByteArray("a\xe8")));
}

TEST(NativeName, Latin1NamedFileIsListedAndOpenedByItsListedName) {
    TestSupport::TempFolder folder;
    const QByteArray nativeName("caf\xe9.txt");
    const QByteArray nativePath = ToNativeName(folder.Path()) + nativeName;
    const int fd = open(nativePath.constData(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "latin", 5), 5);
    close(fd);

    FolderSearch search(folder.Path() + QStringLiteral("*"), kAttrArchive);
    TSearchHit hit;
    ASSERT_TRUE(search.Next(hit));
    EXPECT_EQ(ToNativeName(hit.Name), nativeName);
    EXPECT_EQ(TestSupport::ReadAll(folder.Path() + hit.Name), QByteArray("latin"));
}
