// Attribute data, attributes and last-write times of paths on POSIX.
#include "FileAttributes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <QDir>

#include "FaultSeam.h"
#include "NativeName.h"
#include "StatConversion.h"

namespace Platform {

using namespace Posix;

namespace {

// The attribute data of `name` in the folder `folder` (AT_FDCWD for a path).
ErrorCode QueryAt(int folder, const char* name, bool hidden, bool followLink,
                  TFileAttributeData& data) {
    struct stat own;
    if (fstatat(folder, name, &own, AT_SYMLINK_NOFOLLOW) != 0) return errno;
    if (!S_ISLNK(own.st_mode)) {
        FillAttributeData(own, hidden, data);
        return 0;
    }
    struct stat target;
    const bool resolved = fstatat(folder, name, &target, 0) == 0;
    if (followLink && resolved) {
        FillAttributeData(target, hidden, data);
        return 0;
    }
    // The link itself: a link to a folder carries the directory bit, any other counts as a
    // link to a file.
    FillAttributeData(own, hidden, data);
    data.Attributes = kAttrReparsePoint | (hidden ? kAttrHidden : 0) |
                      (resolved && S_ISDIR(target.st_mode) ? kAttrDirectory : kAttrArchive);
    return 0;
}

}  // namespace

QString Posix::CaseVariantIn(int folder, const QString& folderPath, const QString& name) {
    const QString& insensitive = MediumQuirks().CaseInsensitiveFolder;
    if (insensitive.isEmpty() || QDir::cleanPath(folderPath) != QDir::cleanPath(insensitive)) {
        return QString();
    }
    const int fd = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd >= 0 ? fdopendir(fd) : nullptr;
    if (dir == nullptr) {
        if (fd >= 0) close(fd);
        return QString();
    }
    QString found;
    while (const dirent* entry = readdir(dir)) {
        const QString candidate = FromNativeName(QByteArray(entry->d_name));
        if (candidate.compare(name, Qt::CaseInsensitive) == 0) {
            found = candidate;
            break;
        }
    }
    closedir(dir);
    return found;
}

ErrorCode QueryAttributeData(const QString& path, bool followLink, TFileAttributeData& data) {
    if (ErrorCode fault = InjectedFault(FaultPoint::QueryAttributes, path)) return fault;
    return QueryAt(AT_FDCWD, ToNativeName(path).constData(), IsHiddenPath(path), followLink, data);
}

TFolderHandle::TFolderHandle(const QString& folder)
    : path_(folder),
      handle_(open(ToNativeName(folder).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC)) {
    if (handle_ < 0) error_ = errno;
}

TFolderHandle::~TFolderHandle() {
    if (handle_ >= 0) close(handle_);
}

ErrorCode TFolderHandle::QueryEntry(const QString& name, bool followLink,
                                    TFileAttributeData& data) const {
    if (ErrorCode fault = InjectedFault(FaultPoint::QueryAttributes, name)) return fault;
    if (handle_ < 0) return error_;
    const ErrorCode error =
        QueryAt(handle_, ToNativeName(name).constData(), IsHiddenName(name), followLink, data);
    if (error != ENOENT) return error;
    const QString variant = CaseVariantIn(handle_, path_, name);
    if (variant.isEmpty()) return error;
    return QueryAt(handle_, ToNativeName(variant).constData(), IsHiddenName(name), followLink,
                   data);
}

ErrorCode SetAttributes(const QString& path, uint32_t attributes) {
    if (ErrorCode fault = InjectedFault(FaultPoint::SetAttributes, path)) return fault;
    const QByteArray native = ToNativeName(path);
    struct stat st;
    if (stat(native.constData(), &st) != 0) return errno;
    const mode_t mode = st.st_mode & 07777;
    const mode_t wanted = (attributes & kAttrReadOnly) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
    if (wanted == mode) return 0;
    return chmod(native.constData(), wanted) == 0 ? 0 : errno;
}

uint32_t PermissionsForAttributes(uint32_t attributes) {
    // The umask can only be read by setting it; programs are single-threaded at this point.
    static const mode_t mask = [] {
        const mode_t current = umask(022);
        umask(current);
        return current;
    }();
    mode_t mode = 0666 & ~mask;
    if (attributes & kAttrReadOnly) mode &= ~mode_t{0222};
    return mode;
}

ErrorCode SetLastWriteTime(const QString& path, TFileTime time) {
    if (time == 0) return 0;
    return SetLastWriteTime(path, ExactTimeOf(time));
}

ErrorCode SetLastWriteTime(const QString& path, const TExactTime& time) {
    if (ErrorCode fault = InjectedFault(FaultPoint::SetTime, path)) return fault;
    if (MediumQuirks().PathTimeIgnored) return 0;
    const timespec times[2] = {{0, UTIME_OMIT}, StoredTime(time)};
    return utimensat(AT_FDCWD, ToNativeName(path).constData(), times, 0) == 0 ? 0 : errno;
}

ErrorCode SetFileTimesIn(const TFolderHandle& folder, const QString& name,
                         const TExactTime& lastAccess, const TExactTime& lastWrite) {
    if (ErrorCode fault = InjectedFault(FaultPoint::SetTime, name)) return fault;
    if (!folder.IsOpen()) return folder.Error();
    if (MediumQuirks().PathTimeIgnored) return 0;
    const timespec times[2] = {TimespecFromExactTime(lastAccess), StoredTime(lastWrite)};
    return utimensat(folder.Native(), ToNativeName(name).constData(), times, 0) == 0 ? 0 : errno;
}

}  // namespace Platform
