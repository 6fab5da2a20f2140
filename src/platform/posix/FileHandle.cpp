// File handles on POSIX: file descriptors.
#include "FileHandle.h"

#include <fcntl.h>
#include <linux/falloc.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include <cerrno>

#include "FaultSeam.h"
#include "NativeName.h"
#include "StatConversion.h"

namespace Platform {

using namespace Posix;

namespace {

// The most bytes one read or kernel copy moves: `count`, unless a test makes the medium answer
// short.
int64_t TransferSize(int64_t count) {
    const int64_t limit = MediumQuirks().MaxTransfer;
    return limit > 0 ? std::min(count, limit) : count;
}

ErrorCode OpenAt(int folder, const QString& name, FileAccess access, FileDisposition disposition,
                 uint32_t permissions, FileHandle& handle, TFileAttributeData* data) {
    handle = kInvalidHandle;
    if (ErrorCode fault = InjectedFault(FaultPoint::Open, name)) return fault;

    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; the FIFO is then refused.
    // Regular files ignore the flag, so it stays.
    int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    switch (access) {
        case FileAccess::Read:
            flags |= O_RDONLY;
            break;
        case FileAccess::Write:
            flags |= O_WRONLY;
            break;
        case FileAccess::ReadWrite:
            flags |= O_RDWR;
            break;
    }
    switch (disposition) {
        case FileDisposition::OpenExisting:
            break;
        case FileDisposition::CreateAlways:
            flags |= O_CREAT | O_TRUNC;
            break;
        case FileDisposition::CreateNew:
            flags |= O_CREAT | O_EXCL;
            break;
    }
    const mode_t mode = permissions != 0 ? permissions : 0666;
    int fd;
    do {
        fd = openat(folder, ToNativeName(name).constData(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno;

    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const ErrorCode error = S_ISDIR(st.st_mode) ? kErrorIsFolder : kErrorNotRegularFile;
        close(fd);
        return error;
    }
    if (data != nullptr) FillAttributeData(st, IsHiddenPath(name), *data);
    handle = fd;
    return 0;
}

}  // namespace

ErrorCode OpenFile(const QString& path, FileAccess access, FileDisposition disposition,
                   uint32_t permissions, FileHandle& handle, TFileAttributeData* data) {
    return OpenAt(AT_FDCWD, path, access, disposition, permissions, handle, data);
}

ErrorCode OpenFileIn(const TFolderHandle& folder, const QString& name, FileAccess access,
                     FileDisposition disposition, uint32_t permissions, FileHandle& handle,
                     TFileAttributeData* data) {
    if (!folder.IsOpen()) {
        handle = kInvalidHandle;
        return folder.Error();
    }
    return OpenAt(folder.Native(), name, access, disposition, permissions, handle, data);
}

ErrorCode ReadFile(FileHandle handle, void* buffer, int64_t count, int64_t& done) {
    done = -1;
    if (ErrorCode fault = InjectedFault(FaultPoint::Read, QString())) return fault;
    ssize_t n;
    do {
        n = read(handle, buffer, static_cast<size_t>(TransferSize(count)));
    } while (n < 0 && errno == EINTR);
    if (n < 0) return errno;
    done = n;
    return 0;
}

ErrorCode WriteFile(FileHandle handle, const void* buffer, int64_t count, int64_t& done) {
    done = 0;
    if (ErrorCode fault = InjectedFault(FaultPoint::Write, QString())) return fault;
    const char* p = static_cast<const char*>(buffer);
    while (done < count) {
        const ssize_t n = write(handle, p + done, static_cast<size_t>(count - done));
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0) break;  // reported to the caller as a short write
        done += n;
    }
    return 0;
}

ErrorCode SeekFile(FileHandle handle, int64_t offset, SeekOrigin origin, int64_t& position) {
    const int whence = origin == SeekOrigin::Begin     ? SEEK_SET
                       : origin == SeekOrigin::Current ? SEEK_CUR
                                                       : SEEK_END;
    const off_t result = lseek(handle, offset, whence);
    if (result < 0) return errno;
    position = result;
    return 0;
}

ErrorCode QueryHandleData(FileHandle handle, TFileAttributeData& data) {
    if (ErrorCode fault = InjectedFault(FaultPoint::QueryAttributes, QString())) return fault;
    struct stat st;
    if (fstat(handle, &st) != 0) return errno;
    FillAttributeData(st, false, data);
    return 0;
}

ErrorCode SetHandleLastWriteTime(FileHandle handle, const TExactTime& time) {
    if (ErrorCode fault = InjectedFault(FaultPoint::SetTime, QString())) return fault;
    if (MediumQuirks().HandleTimeIgnored) return 0;
    const timespec times[2] = {{0, UTIME_OMIT}, StoredTime(time)};
    return futimens(handle, times) == 0 ? 0 : errno;
}

ErrorCode SetHandlePermissions(FileHandle handle, uint32_t permissions) {
    if (ErrorCode fault = InjectedFault(FaultPoint::SetAttributes, QString())) return fault;
    return fchmod(handle, permissions & 07777) == 0 ? 0 : errno;
}

ErrorCode CloneFile(FileHandle from, FileHandle to) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Clone, QString())) return fault;
    return ioctl(to, FICLONE, from) == 0 ? 0 : errno;
}

ErrorCode CopyFileRange(FileHandle from, FileHandle to, int64_t count, int64_t& done) {
    done = -1;
    if (ErrorCode fault = InjectedFault(FaultPoint::CopyRange, QString())) return fault;
    ssize_t n;
    do {
        n = copy_file_range(from, nullptr, to, nullptr, static_cast<size_t>(TransferSize(count)),
                            0);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return errno;
    done = n;
    return 0;
}

ErrorCode NextDataRange(FileHandle handle, int64_t offset, int64_t& start, int64_t& end) {
    const off_t data = lseek(handle, offset, SEEK_DATA);
    if (data < 0) return errno;
    const off_t hole = lseek(handle, data, SEEK_HOLE);
    if (hole < 0) return errno;
    start = data;
    end = hole;
    return 0;
}

ErrorCode SetFileSize(FileHandle handle, int64_t size) {
    int result;
    do {
        result = ftruncate(handle, off_t(size));
    } while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

ErrorCode FlushFile(FileHandle handle) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Flush, QString())) return fault;
    return fsync(handle) == 0 ? 0 : errno;
}

void StartWriteBack(FileHandle handle, int64_t offset, int64_t length) {
    sync_file_range(handle, off_t(offset), off_t(length), SYNC_FILE_RANGE_WRITE);
}

ErrorCode ReserveFileSpace(FileHandle handle, uint64_t size) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Reserve, QString())) return fault;
    if (fallocate(handle, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) == 0) return 0;
    // File systems without reservations (FAT on a stick, network shares) just write.
    return errno == EOPNOTSUPP || errno == ENOSYS ? 0 : errno;
}

void AdviseSequentialRead(FileHandle handle) {
    posix_fadvise(handle, 0, 0, POSIX_FADV_SEQUENTIAL);
}

ErrorCode CloseFile(FileHandle handle) {
    const ErrorCode fault = InjectedFault(FaultPoint::Close, QString());
    // Never retry close on EINTR: Linux has released the descriptor already.
    const int result = close(handle);
    if (fault != 0) return fault;
    return result == 0 || errno == EINTR ? 0 : errno;
}

}  // namespace Platform
