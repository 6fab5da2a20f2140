// File times and attribute queries.
#include "FileInfo.h"

#include <chrono>
#include <cmath>

#include "FolderSearch.h"
#include "LocalTime.h"
#include "Paths.h"

namespace FileUtils {

using namespace Platform;
using namespace std::chrono;

namespace {

constexpr int64_t kMsPerDay = 86400000;
constexpr int64_t kTicksPerMs = 10000;
// Days from 1601-01-01 (file times) to 1899-12-30 (date-times).
constexpr int64_t kDateTimeEpochDays =
    (sys_days{1899y / December / 30} - sys_days{1601y / January / 1}).count();
// The first millisecond after 9999-12-31, counted from 1601.
constexpr int64_t kFileTimeLimitMs =
    (sys_days{10000y / January / 1} - sys_days{1601y / January / 1}).count() * kMsPerDay;

TDateTime FromSystemTime(const TSystemTime& t) {
    const int64_t days =
        (sys_days{year{t.Year} / t.Month / t.Day} - sys_days{1899y / December / 30}).count();
    const int64_t ms = ((t.Hour * 60 + t.Minute) * 60 + t.Second) * int64_t{1000} + t.Millisecond;
    return static_cast<double>(days) + static_cast<double>(ms) / kMsPerDay;
}

}  // namespace

bool FileTimeToDateTime(TFileTime fileTime, TDateTime& dateTime) {
    const uint64_t ms = fileTime / kTicksPerMs;
    if (ms >= static_cast<uint64_t>(kFileTimeLimitMs)) {
        dateTime = Now();
        return false;
    }
    const int64_t days = static_cast<int64_t>(ms) / kMsPerDay;
    const int64_t msOfDay = static_cast<int64_t>(ms) % kMsPerDay;
    dateTime =
        static_cast<double>(days - kDateTimeEpochDays) + static_cast<double>(msOfDay) / kMsPerDay;
    return true;
}

TFileTime DateTimeToFileTime(TDateTime dateTime) {
    const double ms = std::round(dateTime * kMsPerDay) + double(kDateTimeEpochDays * kMsPerDay);
    if (!(ms >= 0) || ms >= double(kFileTimeLimitMs)) return 0;
    return static_cast<TFileTime>(ms) * kTicksPerMs;
}

TDateTime Now() {
    return FromSystemTime(CurrentLocalTime());
}

int GetFileAttributeData(const QString& fileName, TFileAttributeData& data, bool followLink) {
    const ErrorCode error = QueryAttributeData(fileName, followLink, data);
    if (error != kErrorSharingViolation && error != kErrorLockViolation) return error;

    // A file held by another program still shows up in its folder's listing.
    FolderSearch search(fileName,
                        kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive | kAttrDirectory);
    const QString name = ExtractFileName(fileName);
    TSearchHit hit;
    while (search.Next(hit)) {
        if (hit.Name != name) continue;
        if (hit.Data.Attributes & kAttrDirectory) break;
        data = hit.Data;
        return 0;
    }
    return kErrorSharingViolation;
}

TFileTime GetFileLastWriteTime(const QString& fileName) {
    TFileAttributeData data;
    return GetFileAttributeData(fileName, data, true) == 0 ? data.LastWriteTime : 0;
}

int SetFileLastWriteTime(const QString& fileName, TFileTime fileTime) {
    return SetLastWriteTime(fileName, fileTime);
}

TDateTime GetFileDateTime(const QString& fileName) {
    TFileAttributeData data;
    TDateTime dateTime;
    if (GetFileAttributeData(fileName, data, true) != 0) return 0.0;
    if (!FileTimeToDateTime(data.LastWriteTime, dateTime)) return 0.0;
    return dateTime;
}

namespace {

int64_t FloorMod(int64_t value, int64_t divisor) {
    const int64_t rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

}  // namespace

TExactTime CutDownTime(const TExactTime& time, int64_t step) {
    if (step >= 1000000000) return {time.Seconds - FloorMod(time.Seconds, step / 1000000000), 0};
    return {time.Seconds, static_cast<uint32_t>(time.Nanoseconds - time.Nanoseconds % step)};
}

bool IsTimeMultiple(const TExactTime& time, int64_t step) {
    return CutDownTime(time, step) == time;
}

TExactTime TimeAfterStep(const TExactTime& time, int64_t step) {
    if (step >= 1000000000) return {time.Seconds + step / 1000000000, time.Nanoseconds};
    const int64_t nanoseconds = int64_t(time.Nanoseconds) + step;
    return nanoseconds < 1000000000
               ? TExactTime{time.Seconds, static_cast<uint32_t>(nanoseconds)}
               : TExactTime{time.Seconds + 1, static_cast<uint32_t>(nanoseconds - 1000000000)};
}

bool DescribesFile(const TFileAttributeData& data) {
    return IsFileAttributes(data.Attributes) && (data.Attributes & kAttrReparsePoint) == 0;
}

bool FileExists(const QString& fileName) {
    TFileAttributeData data;
    return GetFileAttributeData(fileName, data, true) == 0 && DescribesFile(data);
}

bool DirectoryExists(const QString& name) {
    TFileAttributeData data;
    return GetFileAttributeData(name, data, true) == 0 && (data.Attributes & kAttrDirectory) != 0;
}

}  // namespace FileUtils
