// Private to the POSIX layer: struct stat and struct timespec in the platform's terms.
#pragma once

#include <sys/stat.h>
#include <ctime>

#include <QString>

#include "FileAttributes.h"

namespace Platform::Posix {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kEpochDifferenceSeconds = 11644473600;
constexpr int64_t kTicksPerSecond = 10000000;

inline TFileTime FileTimeFromTimespec(const timespec& ts, uint32_t* subTick = nullptr) {
    const int64_t seconds = static_cast<int64_t>(ts.tv_sec) + kEpochDifferenceSeconds;
    if (seconds < 0) return 0;  // before 1601: no time
    if (subTick != nullptr) *subTick = static_cast<uint32_t>(ts.tv_nsec % 100);
    return static_cast<TFileTime>(seconds) * kTicksPerSecond +
           static_cast<TFileTime>(ts.tv_nsec / 100);
}

inline timespec TimespecFromFileTime(TFileTime time, uint32_t subTick) {
    timespec ts{};
    ts.tv_sec =
        static_cast<time_t>(static_cast<int64_t>(time / kTicksPerSecond) - kEpochDifferenceSeconds);
    ts.tv_nsec = static_cast<long>((time % kTicksPerSecond) * 100 + (subTick % 100));
    return ts;
}

// The attribute word of an entry; `hidden` comes from its name.
inline uint32_t AttributesFromMode(mode_t mode, bool hidden) {
    uint32_t attributes = 0;
    if (S_ISDIR(mode)) {
        attributes |= kAttrDirectory;
    } else if (S_ISREG(mode)) {
        attributes |= kAttrArchive;
    } else {
        attributes |= kAttrDevice;
    }
    if ((mode & S_IWUSR) == 0) attributes |= kAttrReadOnly;
    if (hidden) attributes |= kAttrHidden;
    return attributes;
}

inline void FillAttributeData(const struct stat& st, bool hidden, TFileAttributeData& data) {
    data.Attributes = AttributesFromMode(st.st_mode, hidden);
    data.CreationTime = 0;
    data.LastAccessTime = FileTimeFromTimespec(st.st_atim);
    data.LastWriteTime = FileTimeFromTimespec(st.st_mtim, &data.LastWriteSubTick);
    data.FileSize = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
    data.Permissions = st.st_mode & 07777;
    data.VolumeId = st.st_dev;
    data.FileIndex = st.st_ino;
}

inline bool IsHiddenName(const QString& name) {
    return name.startsWith(QLatin1Char('.')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

// The hidden bit of a path is that of its last component.
inline bool IsHiddenPath(const QString& path) {
    qsizetype end = path.size();
    while (end > 1 && path.at(end - 1) == QLatin1Char('/'))
        --end;
    const qsizetype start = path.lastIndexOf(QLatin1Char('/'), end - 1) + 1;
    return IsHiddenName(path.mid(start, end - start));
}

}  // namespace Platform::Posix
