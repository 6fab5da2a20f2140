// Makes chosen file-system calls fail for the length of a test.
#pragma once

#include <map>

#include "FaultSeam.h"

namespace TestSupport {

// Fails the call number `failAt` (counted from 1) at `point`, and every later one when
// `sticky` is set, with `error`. Counts every call per point; removed when it goes.
class ScopedFault {
  public:
    ScopedFault(Platform::FaultPoint point, Platform::ErrorCode error, int failAt = 1,
                bool sticky = false);
    ~ScopedFault();
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;

    int Calls(Platform::FaultPoint point) const;

  private:
    std::map<Platform::FaultPoint, int> calls_;
};

// Counts calls without failing any.
class CallCounter {
  public:
    CallCounter();
    ~CallCounter();
    CallCounter(const CallCounter&) = delete;
    CallCounter& operator=(const CallCounter&) = delete;

    int Calls(Platform::FaultPoint point) const;

  private:
    std::map<Platform::FaultPoint, int> calls_;
};

}  // namespace TestSupport
