// Temporary folders and file helpers for tests.
#include "TempFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QDir>

#include "FileSystemOps.h"
#include "NativeName.h"

namespace TestSupport {

using Platform::FromNativeName;
using Platform::ToNativeName;

TempFolder::TempFolder() {
    EXPECT_TRUE(dir_.isValid());
    dir_.setAutoRemove(false);
}

TempFolder::TempFolder(const QString& base) : dir_(base + QStringLiteral("/test-XXXXXX")) {
    EXPECT_TRUE(dir_.isValid());
    dir_.setAutoRemove(false);
}

QString MemoryFolder() {
    struct statfs st;
    const bool tmpfs = statfs("/dev/shm", &st) == 0 && st.f_type == TMPFS_MAGIC;
    return tmpfs && access("/dev/shm", W_OK) == 0 ? QStringLiteral("/dev/shm") : QString();
}

// Removed by native names, which Qt cannot spell when they are not UTF-8; read-only folders
// are opened up first.
TempFolder::~TempFolder() {
    const QByteArray root = ToNativeName(dir_.path());
    nftw(
        root.constData(),
        [](const char* path, const struct stat* st, int type, FTW*) {
            if (type == FTW_D) chmod(path, (st->st_mode & 07777) | S_IRWXU);
            return 0;
        },
        16, FTW_PHYS);
    nftw(
        root.constData(),
        [](const char* path, const struct stat*, int, FTW*) { return remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

QString TempFolder::Path() const {
    return dir_.path() + QLatin1Char('/');
}

QString TempFolder::operator/(const QString& relative) const {
    return Path() + relative;
}

QString TempFolder::WriteFile(const QString& relative, const QByteArray& content) {
    const QString path = Path() + relative;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    EXPECT_EQ(Platform::CreateFolderWithParents(path.left(slash)), 0);
    const int fd = open(ToNativeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    EXPECT_GE(fd, 0) << path.toStdString();
    if (fd >= 0) {
        EXPECT_EQ(write(fd, content.constData(), size_t(content.size())), content.size());
        close(fd);
    }
    return path;
}

QString TempFolder::WriteFile(const QString& relative, const QByteArray& content,
                              time_t mtimeSeconds, long nanoseconds) {
    const QString path = WriteFile(relative, content);
    SetModificationTime(path, mtimeSeconds, nanoseconds);
    return path;
}

QString TempFolder::MakeFolder(const QString& relative) {
    const QString path = Path() + relative;
    EXPECT_EQ(Platform::CreateFolderWithParents(path), 0);
    return path;
}

QByteArray ReadAll(const QString& path) {
    QByteArray content;
    const int fd = open(ToNativeName(path).constData(), O_RDONLY);
    if (fd < 0) return content;
    char buffer[65536];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        content.append(buffer, n);
    close(fd);
    return content;
}

void AppendFile(const QString& path, const QByteArray& content) {
    const int fd = open(ToNativeName(path).constData(), O_WRONLY | O_APPEND);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(write(fd, content.constData(), size_t(content.size())), content.size());
    close(fd);
}

void SetModificationTime(const QString& path, time_t seconds, long nanoseconds) {
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    EXPECT_EQ(utimensat(AT_FDCWD, ToNativeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

timespec ModificationTime(const QString& path) {
    struct stat st {};
    EXPECT_EQ(stat(ToNativeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mtim;
}

mode_t Permissions(const QString& path) {
    struct stat st {};
    EXPECT_EQ(stat(ToNativeName(path).constData(), &st), 0) << path.toStdString();
    return st.st_mode & 07777;
}

bool Exists(const QString& path) {
    struct stat st;
    return lstat(ToNativeName(path).constData(), &st) == 0;
}

QStringList Entries(const QString& folder) {
    QStringList names;
    DIR* dir = opendir(ToNativeName(folder).constData());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..") names << FromNativeName(name);
    }
    closedir(dir);
    names.sort();
    return names;
}

}  // namespace TestSupport
