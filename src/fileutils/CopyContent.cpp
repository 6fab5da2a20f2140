// Moving the bytes of one file into another.
#include "CopyContent.h"

#include <algorithm>

namespace FileUtils {

using namespace Platform;

namespace {

// Bytes copied in one go; after each stretch its writing to the medium begins, so that the
// flush before the copy takes its target's place waits for little.
constexpr int64_t kKernelCopyChunk = int64_t{8} << 20;
constexpr int64_t kWriteBackStretch = int64_t{8} << 20;

// Starts writing out what was copied since `written`, in stretches (or the rest at the end).
void WriteBack(FileHandle to, int64_t position, int64_t& written, bool end) {
    if (position - written >= kWriteBackStretch || (end && position > written)) {
        StartWriteBack(to, written, position - written);
        written = position;
    }
}

// Copies from the current positions, which stand at `start`, until the source ends or until
// `limit` bytes (-1: no limit) are copied; `expected` is where the source should end (-1:
// unknown). `copied` counts the bytes moved.
TContentResult Transfer(FileHandle from, FileHandle to, int64_t start, int64_t limit,
                        int64_t expected, char* buffer, int64_t bufferSize, TCopyWays& ways,
                        int64_t& copied) {
    const auto wanted = [&](int64_t chunk) {
        return limit < 0 ? chunk : std::min(chunk, limit - copied);
    };
    int64_t written = start;
    const auto moved = [&](int64_t count) {
        copied += count;
        WriteBack(to, start + copied, written, /*end=*/false);
    };
    while (ways.KernelCopy && (limit < 0 || copied < limit)) {
        int64_t done;
        const ErrorCode error = CopyFileRange(from, to, wanted(kKernelCopyChunk), done);
        if (error != 0) {
            if (!MeansCannotCopyThisWay(error)) return {error, false, false};
            ways.KernelCopy = false;  // the positions stand where it stopped: the loop goes on
            break;
        }
        // A kernel copy that sees no more is checked by a read, since some file systems
        // answer nothing where a read still finds data.
        if (done == 0) break;
        moved(done);
        if (copied == expected) break;  // one read tells whether that was the end
    }
    while (limit < 0 || copied < limit) {
        int64_t readCount;
        if (ErrorCode error = ReadFile(from, buffer, wanted(bufferSize), readCount)) {
            return {error, true, false};
        }
        if (readCount == 0) break;  // only an empty read is the end; a short one is not
        int64_t writeCount;
        if (ErrorCode error = WriteFile(to, buffer, readCount, writeCount)) {
            return {error, false, false};
        }
        if (writeCount < readCount) return {kErrorDiskFull, false, false};
        moved(readCount);
    }
    // Small files are left to the one flush of their batch, which writes them out together.
    if (written > start) WriteBack(to, start + copied, written, /*end=*/true);
    return {};
}

bool SeekBoth(FileHandle from, FileHandle to, int64_t offset) {
    int64_t position;
    return SeekFile(from, offset, SeekOrigin::Begin, position) == 0 &&
           SeekFile(to, offset, SeekOrigin::Begin, position) == 0;
}

// Copies only the stretches that hold data, so that the copy has the source's holes.
TContentResult CopySparse(FileHandle from, FileHandle to, int64_t size, char* buffer,
                          int64_t bufferSize, TCopyWays& ways) {
    int64_t offset = 0;
    int64_t end = 0;
    for (;;) {
        int64_t start;
        const ErrorCode error = NextDataRange(from, offset, start, end);
        if (error == kErrorNoMoreData) break;
        if (error != 0) return {error, true, false};
        if (!SeekBoth(from, to, start)) return {kErrorNotRegularFile, true, false};
        int64_t copied = 0;
        const TContentResult result =
            Transfer(from, to, start, end - start, -1, buffer, bufferSize, ways, copied);
        if (result.Error != 0) return result;
        if (copied != end - start) return {0, true, true};  // cut short while being copied
        offset = end;
    }
    if (offset != size) return {0, true, true};
    if (ErrorCode error = SetFileSize(to, size)) return {error, false, false};
    return {};
}

}  // namespace

TContentResult CopyContent(FileHandle from, FileHandle to, const TFileAttributeData& source,
                           char* buffer, int64_t bufferSize, TCopyWays& ways) {
    const auto size = static_cast<int64_t>(source.FileSize);
    if (size > 0 && ways.Clone) {
        const ErrorCode error = CloneFile(from, to);
        if (error == 0) return {};  // the caller sees a change of the source by its time
        if (!MeansCannotCopyThisWay(error)) return {error, false, false};
        ways.Clone = false;
    }
    if (size > 0 && source.AllocatedSize < source.FileSize) {
        return CopySparse(from, to, size, buffer, bufferSize, ways);
    }
    // A file of more than one buffer is read ahead and gets its room first: a full disk then
    // shows at once, not after hundreds of megabytes, and the file lies in one piece.
    if (size > bufferSize) {
        AdviseSequentialRead(from);
        const ErrorCode error = ReserveFileSpace(to, uint64_t(size));
        if (error == kErrorDiskFull) return {error, false, false};
    }
    int64_t copied = 0;
    const TContentResult result = Transfer(from, to, 0, -1, size, buffer, bufferSize, ways, copied);
    if (result.Error != 0) return result;
    if (copied != size) return {0, true, true};
    return {};
}

}  // namespace FileUtils
