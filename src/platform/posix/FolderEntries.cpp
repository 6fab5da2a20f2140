// Listing every entry of a folder on Linux: readdir, and statx for the folders among them.
#include "FolderEntries.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FaultSeam.h"
#include "NativeName.h"

namespace Platform {

namespace {

// Folder, mount point or anything else, without following a link or triggering an automount.
TEntryKind KindAt(int folder, const char* name, dev_t folderDevice) {
    struct statx st;
    if (statx(folder, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE, &st) != 0) {
        return TEntryKind::NonFolder;  // vanished: deleting it will say so
    }
    if (!S_ISDIR(st.stx_mode)) return TEntryKind::NonFolder;
    // The mount-root attribute also catches a bind mount from the same file system; older
    // kernels only tell a different device.
    const bool mountRoot = (st.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT) != 0
                               ? (st.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0
                               : makedev(st.stx_dev_major, st.stx_dev_minor) != folderDevice;
    return mountRoot ? TEntryKind::MountPoint : TEntryKind::Folder;
}

}  // namespace

ErrorCode ListFolderEntries(const QString& folder, std::vector<TFolderEntry>& entries) {
    entries.clear();
    if (ErrorCode fault = InjectedFault(FaultPoint::ListFolder, folder)) return fault;
    const int fd =
        open(ToNativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno;
    struct stat own;
    if (fstat(fd, &own) != 0) {
        const ErrorCode error = errno;
        close(fd);
        return error;
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        const ErrorCode error = errno;
        close(fd);
        return error;
    }
    ErrorCode error = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (entry == nullptr) {
            error = errno;
            break;
        }
        const char* rawName = entry->d_name;
        if (rawName[0] == '.' && (rawName[1] == 0 || (rawName[1] == '.' && rawName[2] == 0))) {
            continue;
        }
        // Only a folder, or an entry whose type the file system did not say, costs a statx.
        const bool maybeFolder = entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN;
        entries.push_back({FromNativeName(rawName, static_cast<qsizetype>(std::strlen(rawName))),
                           maybeFolder ? KindAt(fd, rawName, own.st_dev) : TEntryKind::NonFolder});
    }
    closedir(dir);
    return error;
}

}  // namespace Platform
