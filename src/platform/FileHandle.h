// Files opened by handle: open, create, read, write, query and close, each with the native
// error code.
#pragma once

#include <cstdint>

#include <QString>

#include "ErrorCode.h"
#include "FileAttributes.h"

namespace Platform {

using FileHandle = int;
constexpr FileHandle kInvalidHandle = -1;

enum class FileAccess { Read, Write, ReadWrite };

enum class FileDisposition {
    OpenExisting,  // fail when the file is missing
    CreateAlways,  // create, or truncate an existing file
    CreateNew,     // create, fail with kErrorFileExists when the name is taken
};

// Opens or creates a regular file (links followed). Folders (kErrorIsFolder), FIFOs, sockets
// and devices (kErrorNotRegularFile) are refused without blocking. `permissions` are the POSIX
// bits of a newly created file (the umask applies); 0 means the usual 0666. `data`, when
// given, receives the opened file's attribute data.
ErrorCode OpenFile(const QString& path, FileAccess access, FileDisposition disposition,
                   uint32_t permissions, FileHandle& handle, TFileAttributeData* data = nullptr);
// The same for the entry `name` of a folder held open: the folder's path is not looked up
// again, and a name fits wherever the folder's path does.
ErrorCode OpenFileIn(const TFolderHandle& folder, const QString& name, FileAccess access,
                     FileDisposition disposition, uint32_t permissions, FileHandle& handle,
                     TFileAttributeData* data = nullptr);

// One read of at most `count` bytes; `done` receives the bytes read. A read may return fewer
// bytes than asked for before the end of the file; only 0 means the end.
ErrorCode ReadFile(FileHandle handle, void* buffer, int64_t count, int64_t& done);

// Writes all `count` bytes unless an error stops it; `done` receives the bytes written.
ErrorCode WriteFile(FileHandle handle, const void* buffer, int64_t count, int64_t& done);

enum class SeekOrigin { Begin, Current, End };
ErrorCode SeekFile(FileHandle handle, int64_t offset, SeekOrigin origin, int64_t& position);

ErrorCode QueryHandleData(FileHandle handle, TFileAttributeData& data);
// Sets only the last-write time; the access time is left alone.
ErrorCode SetHandleLastWriteTime(FileHandle handle, const TExactTime& time);
ErrorCode SetHandlePermissions(FileHandle handle, uint32_t permissions);

// Gives the empty file `to` the whole content of `from` by sharing its blocks, where the file
// system can (a reflink). MeansCannotCopyThisWay tells a refusal from a failure.
ErrorCode CloneFile(FileHandle from, FileHandle to);

// Copies up to `count` bytes from the position of `from` to the position of `to` inside the
// kernel, moving both; `done` receives the bytes copied, 0 at the end of the source. Like a
// read, it may copy fewer bytes than asked for. MeansCannotCopyThisWay tells a refusal from a
// failure.
ErrorCode CopyFileRange(FileHandle from, FileHandle to, int64_t count, int64_t& done);

// The next stretch of data at or after `offset`, [start, end); holes in between hold no data.
// kErrorNoMoreData when only a hole (or nothing) follows. A file system that does not know holes
// answers with the whole rest of the file.
ErrorCode NextDataRange(FileHandle handle, int64_t offset, int64_t& start, int64_t& end);

// Cuts or extends the file to `size` bytes; an extension is a hole.
ErrorCode SetFileSize(FileHandle handle, int64_t size);

// Puts the file's data and attributes on the medium.
ErrorCode FlushFile(FileHandle handle);

// Starts writing `length` bytes from `offset` out to the medium without waiting for them, so
// that a later flush finds most of the work done.
void StartWriteBack(FileHandle handle, int64_t offset, int64_t length);

// Reserves room for `size` bytes of a file about to be written, without changing its length,
// so that a full disk shows before anything is written. 0 also when the file system cannot
// reserve room (nothing is reserved then).
ErrorCode ReserveFileSpace(FileHandle handle, uint64_t size);

// Tells the system that the file will be read from start to end.
void AdviseSequentialRead(FileHandle handle);

// Closes the handle; the result reports a write that failed late (network file systems).
ErrorCode CloseFile(FileHandle handle);

}  // namespace Platform
