// File attributes, file times and the attribute data of one file system entry.
#pragma once

#include <compare>
#include <cstdint>

#include <QString>

#include "ErrorCode.h"

namespace Platform {

// Bits of the attribute word. On POSIX: read-only = no write permission for the owner,
// hidden = the name begins with ".", system = never, archive = a regular file,
// directory = a folder, reparse point = a symbolic link, device = a FIFO, socket or device.
constexpr uint32_t kAttrReadOnly = 0x0001;
constexpr uint32_t kAttrHidden = 0x0002;
constexpr uint32_t kAttrSystem = 0x0004;
constexpr uint32_t kAttrVolumeId = 0x0008;
constexpr uint32_t kAttrDirectory = 0x0010;
constexpr uint32_t kAttrArchive = 0x0020;
constexpr uint32_t kAttrDevice = 0x0040;
constexpr uint32_t kAttrReparsePoint = 0x0400;

// 100-nanosecond ticks since 1601-01-01 00:00 UTC; 0 stands for "no time".
using TFileTime = uint64_t;

// A time exactly as a file system stores it: seconds since 1970-01-01 00:00 UTC (negative
// before) and nanoseconds. Copies carry this, so that no time is lost to the 100-ns ticks or
// to the range of a file time.
struct TExactTime {
    int64_t Seconds = 0;
    uint32_t Nanoseconds = 0;  // 0..999999999

    friend bool operator==(const TExactTime&, const TExactTime&) = default;
    friend auto operator<=>(const TExactTime&, const TExactTime&) = default;
};

// Seconds from 1601-01-01 (file times) to 1970-01-01.
constexpr int64_t kFileTimeEpochSeconds = 11644473600;
constexpr int64_t kFileTimeTicksPerSecond = 10000000;

// The file time of an exact time; 0 ("no time") before 1601.
inline TFileTime FileTimeOf(const TExactTime& time) {
    if (time.Seconds < -kFileTimeEpochSeconds) return 0;
    const auto seconds = static_cast<uint64_t>(time.Seconds + kFileTimeEpochSeconds);
    if (seconds > UINT64_MAX / kFileTimeTicksPerSecond - 1) return UINT64_MAX;
    return seconds * kFileTimeTicksPerSecond + time.Nanoseconds / 100;
}

inline TExactTime ExactTimeOf(TFileTime time) {
    return {static_cast<int64_t>(time / kFileTimeTicksPerSecond) - kFileTimeEpochSeconds,
            static_cast<uint32_t>(time % kFileTimeTicksPerSecond) * 100};
}

// What the file system knows about one entry.
struct TFileAttributeData {
    uint32_t Attributes = 0;
    TFileTime CreationTime = 0;  // 0 where the file system keeps none
    TFileTime LastAccessTime = 0;
    TFileTime LastWriteTime = 0;  // 0 when the time lies before 1601
    TExactTime LastWrite;         // the same time exactly as stored
    TExactTime LastAccess;
    uint64_t FileSize = 0;
    uint64_t AllocatedSize = 0;  // room taken on the medium; less than FileSize when sparse
    uint32_t Permissions = 0;    // POSIX permission bits (07777); 0 on Windows
    uint64_t VolumeId = 0;       // with FileIndex: the identity of the entry on this machine
    uint64_t FileIndex = 0;
};

// True for a regular file (or a link to one), the only kind of entry that counts as a file.
inline bool IsFileAttributes(uint32_t attributes) {
    return (attributes & (kAttrDirectory | kAttrDevice)) == 0;
}

// Attribute data of a path. With followLink a link answers for its final target (a dangling
// link keeps its own data); without, a link answers for itself, with the directory bit set
// when it leads to a folder, as Windows marks links to folders.
ErrorCode QueryAttributeData(const QString& path, bool followLink, TFileAttributeData& data);

// A folder held open so that many of its entries can be queried by name, each query looking
// up one name instead of a whole path.
class TFolderHandle {
  public:
    explicit TFolderHandle(const QString& folder);
    ~TFolderHandle();
    TFolderHandle(const TFolderHandle&) = delete;
    TFolderHandle& operator=(const TFolderHandle&) = delete;

    // False when the folder could not be opened (it does not exist, say); Error() tells why.
    bool IsOpen() const { return handle_ >= 0; }
    ErrorCode Error() const { return error_; }
    // As QueryAttributeData, for the entry `name` of the folder.
    ErrorCode QueryEntry(const QString& name, bool followLink, TFileAttributeData& data) const;

    const QString& Path() const { return path_; }
    // The native handle, for the platform layer's calls on entries of the folder.
    int Native() const { return handle_; }

  private:
    QString path_;
    int handle_ = -1;
    ErrorCode error_ = 0;
};

// Applies the read-only bit of the attribute word (links followed). Hidden, system and
// archive cannot be set on POSIX and are passed over.
ErrorCode SetAttributes(const QString& path, uint32_t attributes);

// The permission bits a new file gets when a copy is given the attribute word `attributes`
// instead of the source's own attributes.
uint32_t PermissionsForAttributes(uint32_t attributes);

// Sets only the last-write time (links followed); a file time of 0 leaves the stored time alone.
ErrorCode SetLastWriteTime(const QString& path, TFileTime time);
ErrorCode SetLastWriteTime(const QString& path, const TExactTime& time);
// Sets both times of the entry `name` of a folder held open (links followed). Some file
// systems keep a last-write time only when the access time comes with it.
ErrorCode SetFileTimesIn(const TFolderHandle& folder, const QString& name,
                         const TExactTime& lastAccess, const TExactTime& lastWrite);

}  // namespace Platform
