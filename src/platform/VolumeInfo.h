// What the copy engine needs to know of the file system that holds a file, and flushing it.
#pragma once

#include <QString>

#include "ErrorCode.h"
#include "FileHandle.h"

namespace Platform {

struct TVolumeInfo {
    // One flush of the whole volume puts every file written to it on the medium. Where this is
    // false (FUSE, network file systems), each file is flushed on its own.
    bool FlushesAsAWhole = false;
    // The steps in which the file system keeps times, in nanoseconds, where its type tells
    // (two seconds on FAT); 1 where it does not.
    int64_t TimeGrain = 1;
};

ErrorCode QueryVolumeInfo(FileHandle handle, TVolumeInfo& info);
ErrorCode QueryVolumeInfoOf(const QString& path, TVolumeInfo& info);

// Opens the folder as an anchor on its volume: FlushVolume through it writes everything
// written to the volume out, and reports the write errors met since the anchor was opened.
ErrorCode OpenVolumeAnchor(const QString& folder, FileHandle& handle);
ErrorCode FlushVolume(FileHandle anchor);

// Puts the folder's entries (names created or renamed in it) on the medium.
ErrorCode FlushFolder(const QString& folder);

}  // namespace Platform
