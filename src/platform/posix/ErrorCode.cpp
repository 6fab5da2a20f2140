// Error codes on POSIX: errno values and strerror text.
#include "ErrorCode.h"

#include <cerrno>
#include <cstring>

namespace Platform {

const ErrorCode kErrorFileNotFound = ENOENT;
const ErrorCode kErrorDiskFull = ENOSPC;
const ErrorCode kErrorSharingViolation = EBUSY;
const ErrorCode kErrorLockViolation = EAGAIN;
const ErrorCode kErrorIsFolder = EISDIR;
const ErrorCode kErrorNotRegularFile = EINVAL;
const ErrorCode kErrorFileExists = EEXIST;
const ErrorCode kErrorNoMoreData = ENXIO;

bool MeansNoSuchEntry(ErrorCode code) {
    return code == ENOENT || code == ENOTDIR || code == ELOOP;
}

bool MeansCannotCopyThisWay(ErrorCode code) {
    return code == EXDEV || code == EOPNOTSUPP || code == ENOSYS || code == ENOTTY ||
           code == EINVAL;
}

bool MeansNoPermissionBits(ErrorCode code) {
    return code == ENOSYS || code == EOPNOTSUPP || code == EPERM;
}

QString SystemErrorMessage(ErrorCode code) {
    char buffer[256];
    // The GNU strerror_r returns its text, which need not be in the buffer.
    const char* text = strerror_r(code, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text);
}

}  // namespace Platform
