// File times, date-times and attribute queries by which the runs decide what is newer.
#pragma once

#include <QString>

#include "FileAttributes.h"

namespace FileUtils {

using Platform::TFileAttributeData;
using Platform::TFileTime;

// Days since 1899-12-30, the time of day as the fraction; 0.0 means no time.
using TDateTime = double;

// The file time (UTC) as a date-time at millisecond resolution, without time-zone conversion.
// False, with the current local date-time in `dateTime`, when it is after the year 9999.
bool FileTimeToDateTime(TFileTime fileTime, TDateTime& dateTime);
// The date-time's calendar fields taken as UTC; 0 before 1601.
TFileTime DateTimeToFileTime(TDateTime dateTime);

TDateTime Now();  // the local date and time

// Attribute data of a file; a link answers for its final target when followLink is set.
// When the query meets a sharing or lock violation the folder listing answers instead.
int GetFileAttributeData(const QString& fileName, TFileAttributeData& data, bool followLink);

// The last-write time, links followed; 0 when it cannot be read.
TFileTime GetFileLastWriteTime(const QString& fileName);

// Sets only the last-write time, exactly as given, however far ahead or behind; 0 or the
// operating-system error code.
int SetFileLastWriteTime(const QString& fileName, TFileTime fileTime);

// The last-write time as a date-time, links followed; 0.0 when it cannot be read.
TDateTime GetFileDateTime(const QString& fileName);

// The steps in which file systems keep times, in nanoseconds, coarsest first: two seconds
// (FAT), whole seconds, 10 ms (exFAT), 1 ms, 1 µs, 100 ns (NTFS, network shares), 1 ns.
inline constexpr int64_t kTimeSteps[] = {2000000000, 1000000000, 10000000, 1000000, 1000, 100, 1};

// `time` cut down to a multiple of `step` (one of kTimeSteps), and whether it is one already.
Platform::TExactTime CutDownTime(const Platform::TExactTime& time, int64_t step);
bool IsTimeMultiple(const Platform::TExactTime& time, int64_t step);
// `time` one `step` later.
Platform::TExactTime TimeAfterStep(const Platform::TExactTime& time, int64_t step);

// True when attribute data queried with links followed describe a regular file; a dangling
// link, which keeps its own data, does not.
bool DescribesFile(const TFileAttributeData& data);

// True for an existing regular file or a link to one; false for folders, special files and
// dangling links.
bool FileExists(const QString& fileName);

// True for an existing folder or a link to one.
bool DirectoryExists(const QString& name);

}  // namespace FileUtils
