// Moving the bytes of one file into another: shared blocks where the file system can, else a
// copy inside the kernel, else reads and writes through a buffer; holes stay holes.
#pragma once

#include <cstdint>

#include "ErrorCode.h"
#include "FileAttributes.h"
#include "FileHandle.h"

namespace FileUtils {

// The faster ways that are still worth trying between two file systems; a refusal switches
// a way off for the files that follow.
struct TCopyWays {
    bool Clone = true;
    bool KernelCopy = true;
};

struct TContentResult {
    Platform::ErrorCode Error = 0;
    bool InSource = false;     // the error came from reading the source, else from the target
    bool SizeDiffers = false;  // the source did not end where its size said when it was opened
};

// Copies the content of `from`, opened at its start with the attribute data `source`, into the
// empty file `to`. Reads go on until a read returns nothing, whatever a single read returns.
TContentResult CopyContent(Platform::FileHandle from, Platform::FileHandle to,
                           const Platform::TFileAttributeData& source, char* buffer,
                           int64_t bufferSize, TCopyWays& ways);

}  // namespace FileUtils
