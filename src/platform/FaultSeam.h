// A seam through which tests make file-system calls fail as a full disk or a missing
// permission would. Programs never set it.
#pragma once

#include <functional>

#include <QString>

#include "ErrorCode.h"

namespace Platform {

enum class FaultPoint {
    Open,
    Read,
    Write,
    Clone,      // a copy that shares the source's blocks
    CopyRange,  // a copy inside the kernel
    Reserve,
    Flush,
    Close,
    QueryAttributes,
    SetAttributes,
    SetTime,
    Rename,
    CreateFolder,
    ListFolder,
    Delete,
};

// Asked before each call with the call's path (empty for calls on a handle); a nonzero answer
// is returned as that call's error code and the call is not made.
using FaultHook = std::function<ErrorCode(FaultPoint point, const QString& path)>;

void SetFaultHook(FaultHook hook);  // an empty hook removes it

// Used by the platform implementation: the injected error for this call, or 0.
ErrorCode InjectedFault(FaultPoint point, const QString& path);

// How a medium departs from a local disk, so that tests meet what USB sticks, FUSE and network
// file systems do.
struct TMediumQuirks {
    int64_t MaxTransfer = 0;             // a read or a kernel copy moves at most this many bytes
    bool HandleTimeIgnored = false;      // a last-write time set on an open file, with the access
                                         // time left alone, is not kept
    bool PathTimeIgnored = false;        // times set through a name are not kept either
    int64_t TimeGranularity = 0;         // nanoseconds (a divisor or a multiple of a second): times
                                         // are stored cut down to a multiple of it
    QString CaseInsensitiveFolder = {};  // in this folder, a name also finds an entry whose name
                                         // differs in case, as on FAT and exFAT
};

void SetMediumQuirks(const TMediumQuirks& quirks);  // TMediumQuirks{} removes them
const TMediumQuirks& MediumQuirks();

}  // namespace Platform
