// Times at the resolution of their file systems.
#include "TimeGrain.h"

namespace Sync {

using Platform::TExactTime;

namespace {

// The steps in which file systems keep times, coarsest first.
constexpr int64_t kSteps[] = {2000000000, 1000000000, 10000000, 1000000, 1000, 100, 1};

int64_t FloorMod(int64_t value, int64_t divisor) {
    const int64_t rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

bool IsMultiple(const TExactTime& time, int64_t grain) {
    if (grain >= 1000000000) {
        return time.Nanoseconds == 0 && FloorMod(time.Seconds, grain / 1000000000) == 0;
    }
    return time.Nanoseconds % grain == 0;
}

TExactTime CutDown(const TExactTime& time, int64_t grain) {
    if (grain >= 1000000000) {
        return {time.Seconds - FloorMod(time.Seconds, grain / 1000000000), 0};
    }
    return {time.Seconds, static_cast<uint32_t>(time.Nanoseconds - time.Nanoseconds % grain)};
}

}  // namespace

void TTimeGrain::Observe(const TExactTime& time) {
    for (const int64_t step : kSteps) {
        if (step <= grain_ && IsMultiple(time, step)) {
            grain_ = step;
            return;
        }
    }
}

bool IsNewer(const TExactTime& a, const TExactTime& b, int64_t grain) {
    return CutDown(a, grain) > CutDown(b, grain);
}

bool DecidedAtAnyGrain(const TExactTime& a, const TExactTime& b) {
    return IsNewer(a, b, 1) == IsNewer(a, b, TTimeGrain::kCoarsest) &&
           IsNewer(b, a, 1) == IsNewer(b, a, TTimeGrain::kCoarsest);
}

}  // namespace Sync
