// Folder listings: masks, attribute sets, links and the entries that are never files.
#include "FolderSearch.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>

#include <gtest/gtest.h>

#include "FaultInjection.h"
#include "NativeName.h"
#include "TempFolder.h"

using namespace Platform;

namespace {

constexpr uint32_t kFiles = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;
constexpr uint32_t kEverything = kFiles | kAttrDirectory;

class FolderSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.WriteFile(QStringLiteral("a.txt"), "a");
        folder.WriteFile(QStringLiteral("B.DOC"), "b");
        folder.WriteFile(QStringLiteral(".hidden.txt"), "h");
        folder.MakeFolder(QStringLiteral("sub"));
        folder.MakeFolder(QStringLiteral(".hiddensub"));
        Native("pipe");
        ASSERT_EQ(mkfifo(Native("pipe").constData(), 0644), 0);
        ASSERT_EQ(symlink("a.txt", Native("filelink").constData()), 0);
        ASSERT_EQ(symlink("sub", Native("folderlink").constData()), 0);
        ASSERT_EQ(symlink("missing", Native("dangling").constData()), 0);
        MakeSocket();
    }

    QByteArray Native(const char* name) const {
        return ToNativeName(folder.Path()) + QByteArray(name);
    }

    void MakeSocket() {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = Native("socket");
        ASSERT_LT(size_t(path.size()), sizeof address.sun_path);
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(fd);
    }

    // Name -> attributes of every hit.
    std::map<QString, uint32_t> Search(const QString& mask, uint32_t attributeSet) {
        FolderSearch search(folder.Path() + mask, attributeSet);
        std::map<QString, uint32_t> hits;
        TSearchHit hit;
        while (search.Next(hit))
            hits[hit.Name] = hit.Data.Attributes;
        EXPECT_EQ(search.Error(), 0);
        return hits;
    }

    static QStringList Names(const std::map<QString, uint32_t>& hits) {
        QStringList names;
        for (const auto& [name, attributes] : hits)
            names << name;
        return names;
    }

    TestSupport::TempFolder folder;
};

}  // namespace

TEST_F(FolderSearchTest, AttributeSetDecidesWhichEntriesAreHits) {
    struct Case {
        const char* mask;
        uint32_t attributeSet;
        QStringList expected;
    };
    const Case cases[] = {
        {"*.*", kFiles, {".hidden.txt", "B.DOC", "a.txt", "filelink"}},
        {"*",
         kEverything,
         {".hidden.txt", ".hiddensub", "B.DOC", "a.txt", "filelink", "folderlink", "sub"}},
        {"*", kAttrArchive, {"B.DOC", "a.txt", "filelink"}},
        {"*", kAttrArchive | kAttrDirectory, {"B.DOC", "a.txt", "filelink", "folderlink", "sub"}},
        {"*.txt", kFiles, {".hidden.txt", "a.txt"}},
        {"b.doc", kFiles, {"B.DOC"}},
        {"", kEverything, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Names(Search(QString::fromLatin1(c.mask), c.attributeSet)), c.expected)
            << c.mask << " / " << c.attributeSet;
    }
}

TEST_F(FolderSearchTest, HitsCarryAttributesOfTheTargetAndMarkLinks) {
    const auto hits = Search(QStringLiteral("*"), kEverything);
    EXPECT_EQ(hits.at(QStringLiteral("a.txt")), kAttrArchive);
    EXPECT_EQ(hits.at(QStringLiteral(".hidden.txt")), kAttrArchive | kAttrHidden);
    EXPECT_EQ(hits.at(QStringLiteral("sub")), kAttrDirectory);
    EXPECT_EQ(hits.at(QStringLiteral("filelink")), kAttrArchive | kAttrReparsePoint);
    EXPECT_EQ(hits.at(QStringLiteral("folderlink")), kAttrDirectory | kAttrReparsePoint);
}

TEST_F(FolderSearchTest, FolderThatCannotBeListedReportsWhy) {
    FolderSearch missing(folder.Path() + QStringLiteral("nothere/*"), kEverything);
    TSearchHit hit;
    EXPECT_FALSE(missing.Next(hit));
    EXPECT_EQ(missing.Error(), ENOENT);

    TestSupport::ScopedFault denied(FaultPoint::ListFolder, EACCES);
    FolderSearch search(folder.Path() + QStringLiteral("*"), kEverything);
    EXPECT_FALSE(search.Next(hit));
    EXPECT_EQ(search.Error(), EACCES);
}
