// The network probe: which mount tables and GVfs folders offer a place to browse the network.
#include "NetworkProbe.h"

#include <unistd.h>

#include <ostream>

#include <gtest/gtest.h>

#include "ScopedEnvironment.h"
#include "TempFolder.h"

using namespace Qt::Literals::StringLiterals;
using TestSupport::ScopedEnvironment;
using TestSupport::TempFolder;

// Readable QString values in failure messages.
static void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QByteArray kLocalOnly =
    "/dev/vda1 / ext4 rw,relatime 0 0\n"
    "proc /proc proc rw,nosuid 0 0\n"
    "tmpfs /run tmpfs rw,nosuid 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw,nosuid 0 0\n"
    "/dev/sdb1 /media/me/usb vfat rw 0 0\n";

TEST(NetworkProbe, FindsTheFolderOfTheNetworkMounts) {
    struct Case {
        const char* What;
        QByteArray Table;
        QString Expected;
    };
    const Case cases[] = {
        {"no table", "", QString()},
        {"local file systems only", kLocalOnly, QString()},
        {"one NFS share", kLocalOnly + "nas:/export /mnt/nas nfs4 rw 0 0\n", u"/mnt/nas"_s},
        {"shares side by side",
         "//nas/music /mnt/music cifs rw 0 0\nnas:/photos /mnt/photos nfs rw 0 0\n", u"/mnt"_s},
        {"shares far apart", "//nas/a /srv/a smb3 rw 0 0\nnas:/b /media/b nfs rw 0 0\n", u"/"_s},
        {"an escaped blank", "me@box:/ /home/me/remote\\040box fuse.sshfs rw 0 0\n",
         u"/home/me/remote box"_s},
        {"WebDAV", "https://dav.example/ /mnt/dav davfs rw 0 0\n", u"/mnt/dav"_s},
        {"broken lines", "garbage\n\n  \nnas:/x /mnt/x\n", QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(NetworkProbe::FindNetworkFolder(QString(), c.Table), c.Expected);
    }
}

TEST(NetworkProbe, TheGvfsFolderComesFirstWhenItExists) {
    TempFolder temp;
    const QByteArray table = "nas:/export /mnt/nas nfs rw 0 0\n";
    const QString gvfs = temp / u"gvfs"_s;
    EXPECT_EQ(NetworkProbe::FindNetworkFolder(gvfs, table), u"/mnt/nas"_s);
    EXPECT_EQ(NetworkProbe::FindNetworkFolder(gvfs, QByteArray()), QString());
    temp.MakeFolder(u"gvfs"_s);
    EXPECT_EQ(NetworkProbe::FindNetworkFolder(gvfs, table), gvfs);
    EXPECT_EQ(NetworkProbe::FindNetworkFolder(gvfs, QByteArray()), gvfs);
}

TEST(NetworkProbe, TheGvfsFolderIsInTheRuntimeFolder) {
    ScopedEnvironment environment;
    environment.Set("XDG_RUNTIME_DIR", u"/run/elsewhere"_s);
    EXPECT_EQ(NetworkProbe::GvfsFolder(), u"/run/elsewhere/gvfs"_s);
    environment.Unset("XDG_RUNTIME_DIR");
    EXPECT_EQ(NetworkProbe::GvfsFolder(), u"/run/user/%1/gvfs"_s.arg(getuid()));
}

// The probe as the folder dialog sees it, with a mount table and a runtime folder of our own.
class NetworkProbeSystemTest : public ::testing::Test {
  protected:
    void SetUp() override { environment.Set("XDG_RUNTIME_DIR", temp.MakeFolder(u"run"_s)); }
    void TearDown() override { NetworkProbe::SetMountTableFile(QString()); }

    void UseTable(const QByteArray& content) {
        const QString file = temp.WriteFile(u"mounts"_s, content);
        NetworkProbe::SetMountTableFile(file);
    }

    TempFolder temp;
    ScopedEnvironment environment;
};

TEST_F(NetworkProbeSystemTest, NetworkBrowsingFollowsThePlaceOfTheShares) {
    UseTable(kLocalOnly);
    EXPECT_EQ(NetworkProbe::NetworkFolder(), QString());
    EXPECT_FALSE(NetworkProbe::IsNetworkClientEnabled());

    UseTable(kLocalOnly + "//nas/data /mnt/data cifs rw 0 0\n");
    EXPECT_EQ(NetworkProbe::NetworkFolder(), u"/mnt/data"_s);
    EXPECT_TRUE(NetworkProbe::IsNetworkClientEnabled());
    EXPECT_TRUE(NetworkProbe::IsOptionalFeatureEnabled(u"smb1protocol-client"_s));
    EXPECT_FALSE(NetworkProbe::IsOptionalFeatureEnabled(u"Some-Other-Feature"_s));

    temp.MakeFolder(u"run/gvfs"_s);
    EXPECT_EQ(NetworkProbe::NetworkFolder(), temp / u"run/gvfs"_s);
}

TEST_F(NetworkProbeSystemTest, AnUnreadableTableLeavesTheGvfsFolder) {
    NetworkProbe::SetMountTableFile(temp / u"missing"_s);
    EXPECT_FALSE(NetworkProbe::IsNetworkClientEnabled());
    temp.MakeFolder(u"run/gvfs"_s);
    EXPECT_TRUE(NetworkProbe::IsNetworkClientEnabled());
}

}  // namespace
