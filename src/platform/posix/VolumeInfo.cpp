// File systems on Linux: which ones one syncfs puts on disk, and syncfs itself.
#include "VolumeInfo.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>

#include "FaultSeam.h"
#include "NativeName.h"

namespace Platform {

namespace {

// Local file systems on a block device (or in memory) whose syncfs writes every file's data and
// attributes out. FUSE and network file systems are missing on purpose: a syncfs need not reach
// their servers, while a file's own flush does.
bool SyncfsWritesEverything(__fsword_t type) {
    switch (static_cast<unsigned long>(type)) {
        case EXT4_SUPER_MAGIC:  // also ext2 and ext3
        case XFS_SUPER_MAGIC:
        case BTRFS_SUPER_MAGIC:
        case F2FS_SUPER_MAGIC:
        case MSDOS_SUPER_MAGIC:  // vfat and msdos
        case 0x2011BAB0:         // exfat
        case 0x7366746E:         // ntfs3
        case 0x482B:             // hfsplus
        case 0x3153464A:         // jfs
        case REISERFS_SUPER_MAGIC:
        case NILFS_SUPER_MAGIC:
        case 0xCA451A4E:             // bcachefs
        case OVERLAYFS_SUPER_MAGIC:  // its syncfs flushes the file system below
        case TMPFS_MAGIC:
        case RAMFS_MAGIC:
            return true;
        default:
            return false;
    }
}

int64_t TimeGrainOf(__fsword_t type) {
    switch (static_cast<unsigned long>(type)) {
        case MSDOS_SUPER_MAGIC:
            return 2000000000;
        case 0x2011BAB0:  // exfat
            return 10000000;
        case 0x7366746E:  // ntfs3
            return 100;
        default:
            return 1;
    }
}

void Fill(const struct statfs& st, TVolumeInfo& info) {
    info.FlushesAsAWhole = SyncfsWritesEverything(st.f_type);
    info.TimeGrain = TimeGrainOf(st.f_type);
}

}  // namespace

ErrorCode QueryVolumeInfo(FileHandle handle, TVolumeInfo& info) {
    struct statfs st;
    if (fstatfs(handle, &st) != 0) return errno;
    Fill(st, info);
    return 0;
}

ErrorCode QueryVolumeInfoOf(const QString& path, TVolumeInfo& info) {
    struct statfs st;
    if (statfs(ToNativeName(path).constData(), &st) != 0) return errno;
    Fill(st, info);
    return 0;
}

ErrorCode OpenVolumeAnchor(const QString& folder, FileHandle& handle) {
    handle = open(ToNativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    return handle >= 0 ? 0 : errno;
}

ErrorCode FlushVolume(FileHandle anchor) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Flush, QString())) return fault;
    return syncfs(anchor) == 0 ? 0 : errno;
}

ErrorCode FlushFolder(const QString& folder) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Flush, folder)) return fault;
    const int fd = open(ToNativeName(folder.isEmpty() ? QStringLiteral(".") : folder).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    // Some file systems cannot flush a folder on its own; their entries then go with the files.
    const ErrorCode error = fsync(fd) == 0 || errno == EINVAL || errno == EROFS ? 0 : errno;
    close(fd);
    return error;
}

}  // namespace Platform
