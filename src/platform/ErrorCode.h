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

// True for the codes that say a name leads to no entry: missing, a path through a file, a
// link loop.
bool MeansNoSuchEntry(ErrorCode code);

// The system's text for an error code, as a user would see it ("No space left on device").
QString SystemErrorMessage(ErrorCode code);

}  // namespace Platform
