// Makes chosen file-system calls fail for the length of a test.
#pragma once

#include <initializer_list>
#include <map>
#include <vector>

#include "FaultSeam.h"

namespace TestSupport {

// Fails the call number `failAt` (counted from 1) at `point`, and every later one when
// `sticky` is set, with `error`.
struct FaultRule {
    Platform::FaultPoint point;
    Platform::ErrorCode error;
    int failAt = 1;
    bool sticky = false;
};

// Applies its rules while it lives; counts every call per point.
class ScopedFault {
  public:
    ScopedFault(Platform::FaultPoint point, Platform::ErrorCode error, int failAt = 1,
                bool sticky = false);
    explicit ScopedFault(std::initializer_list<FaultRule> rules);
    ~ScopedFault();
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;

    int Calls(Platform::FaultPoint point) const;

  private:
    std::vector<FaultRule> rules_;
    std::map<Platform::FaultPoint, int> calls_;
};

// Makes the medium misbehave while it lives.
class ScopedQuirks {
  public:
    explicit ScopedQuirks(const Platform::TMediumQuirks& quirks) {
        Platform::SetMediumQuirks(quirks);
    }
    ~ScopedQuirks() { Platform::SetMediumQuirks({}); }
    ScopedQuirks(const ScopedQuirks&) = delete;
    ScopedQuirks& operator=(const ScopedQuirks&) = delete;
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
