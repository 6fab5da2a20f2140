// The copy engine: a file's content, last-write time and attributes, replacing the target in
// one step so that a failed copy never damages what was there before.
#pragma once

#include <QString>

namespace FileUtils {

constexpr int kCopyBufferSize = 262144;

// Copies `source` over `target`. attributes -1 gives the copy the source's attributes
// (permission bits on POSIX); a value of 0 or more is applied instead. The content goes into
// a temporary file beside the target, which gets the time and attributes and is then renamed
// over the target; on any failure it is removed and the old target stays as it was.
// Raises ECopyError naming the file concerned, with the operating-system error code.
void CopyFileWithTimestamp(const QString& source, const QString& target, int attributes = -1,
                           int bufferSize = kCopyBufferSize);

// True for the name of a temporary file of the copy engine; scans pass over them.
bool IsCopyTempName(const QString& name);

}  // namespace FileUtils
