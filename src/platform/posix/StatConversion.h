// Private to the POSIX layer: struct stat and struct timespec in the platform's terms.
#pragma once

#include <sys/stat.h>
#include <ctime>

#include <QString>

#include "FaultSeam.h"
#include "FileAttributes.h"

namespace Platform::Posix {

inline TExactTime ExactTimeFromTimespec(const timespec& ts) {
    return {static_cast<int64_t>(ts.tv_sec), static_cast<uint32_t>(ts.tv_nsec)};
}

inline timespec TimespecFromExactTime(const TExactTime& time) {
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(time.Seconds);
    ts.tv_nsec = static_cast<long>(time.Nanoseconds);
    return ts;
}

// The time a file system stores when it is given `time`: the time itself, unless a test makes
// the medium coarser.
inline timespec StoredTime(const TExactTime& time) {
    timespec ts = TimespecFromExactTime(time);
    const int64_t granularity = MediumQuirks().TimeGranularity;
    if (granularity >= 1000000000) {
        const int64_t seconds = granularity / 1000000000;
        ts.tv_sec -= ((ts.tv_sec % seconds) + seconds) % seconds;
        ts.tv_nsec = 0;
    } else if (granularity > 1) {
        ts.tv_nsec -= ts.tv_nsec % granularity;
    }
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
    data.LastAccess = ExactTimeFromTimespec(st.st_atim);
    data.LastWrite = ExactTimeFromTimespec(st.st_mtim);
    data.LastAccessTime = FileTimeOf(data.LastAccess);
    data.LastWriteTime = FileTimeOf(data.LastWrite);
    data.FileSize = st.st_size > 0 ? static_cast<uint64_t>(st.st_size) : 0;
    data.AllocatedSize = static_cast<uint64_t>(st.st_blocks) * 512;
    data.Permissions = st.st_mode & 07777;
    data.VolumeId = st.st_dev;
    data.FileIndex = st.st_ino;
}

// The name of an entry of the folder `folder` that differs from `name` only in case, where a
// test makes the folder behave as on FAT and exFAT; empty otherwise.
QString CaseVariantIn(int folder, const QString& folderPath, const QString& name);

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
