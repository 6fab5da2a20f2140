// Operating-system error codes as the file-system layer passes them on, and their system text.
#pragma once

#include <QString>

namespace Platform {

// The native code of a failed call (errno on POSIX, GetLastError on Windows); 0 is success.
using ErrorCode = int;

// Codes the modules above test for by meaning rather than by number.
extern const ErrorCode kErrorFileNotFound;      // ENOENT
extern const ErrorCode kErrorDiskFull;          // ENOSPC
extern const ErrorCode kErrorSharingViolation;  // EBUSY: no POSIX call reports a sharing violation
extern const ErrorCode kErrorLockViolation;     // EAGAIN
extern const ErrorCode kErrorIsFolder;          // EISDIR
extern const ErrorCode
    kErrorNotRegularFile;  // EINVAL: a FIFO, socket or device where a file was expected
extern const ErrorCode kErrorFileExists;  // EEXIST
extern const ErrorCode kErrorNoMoreData;  // ENXIO: nothing but a hole follows

// True for the codes that say a name leads to no entry: missing, a path through a file, a
// link loop.
bool MeansNoSuchEntry(ErrorCode code);

// True for the codes with which a clone or a copy inside the kernel says that it cannot copy
// between these two files (other file systems, no support); the bytes are then copied another
// way. Real failures (input/output, full disk) are not among them.
bool MeansCannotCopyThisWay(ErrorCode code);

// True for the codes with which a file system says that it keeps no permission bits (FAT, exFAT,
// some network shares).
bool MeansNoPermissionBits(ErrorCode code);

// The system's text for an error code, as a user would see it ("No space left on device").
QString SystemErrorMessage(ErrorCode code);

}  // namespace Platform
