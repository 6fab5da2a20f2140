// Comparing last-write times at the resolution of the file systems that hold them: a stick
// that keeps whole or two seconds would otherwise make every copied file look older than its
// source, and a pair would never settle.
#pragma once

#include <cstdint>

#include "FileAttributes.h"

namespace Sync {

// How finely one side keeps times, learnt from the times it holds: the coarsest step that
// every time seen is a multiple of (two seconds before any is seen), and never finer than its
// file system's own, where that is known.
class TTimeGrain {
  public:
    static constexpr int64_t kCoarsest = 2000000000;  // FAT keeps two seconds

    void Observe(const Platform::TExactTime& time);
    void AtLeast(int64_t nanoseconds) { least_ = nanoseconds; }
    int64_t Nanoseconds() const { return grain_ > least_ ? grain_ : least_; }

  private:
    int64_t grain_ = kCoarsest;
    int64_t least_ = 1;
};

// True when `a` is later than `b` once both are cut down to `grain` nanoseconds.
bool IsNewer(const Platform::TExactTime& a, const Platform::TExactTime& b, int64_t grain);

// True when the newer-or-not of `a` and `b` is the same at every grain, so that it can be
// decided before the grains are known.
bool DecidedAtAnyGrain(const Platform::TExactTime& a, const Platform::TExactTime& b);

}  // namespace Sync
