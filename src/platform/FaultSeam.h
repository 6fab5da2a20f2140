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
    Reserve,
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

}  // namespace Platform
