// Times at the resolution of their file systems.
#include "TimeGrain.h"

#include "FileInfo.h"

namespace Sync {

using Platform::TExactTime;

void TTimeGrain::Observe(const TExactTime& time) {
    for (const int64_t step : FileUtils::kTimeSteps) {
        if (step <= grain_ && FileUtils::IsTimeMultiple(time, step)) {
            grain_ = step;
            return;
        }
    }
}

bool IsNewer(const TExactTime& a, const TExactTime& b, int64_t grain) {
    return FileUtils::CutDownTime(a, grain) > FileUtils::CutDownTime(b, grain);
}

bool DecidedAtAnyGrain(const TExactTime& a, const TExactTime& b) {
    return IsNewer(a, b, 1) == IsNewer(a, b, TTimeGrain::kCoarsest) &&
           IsNewer(b, a, 1) == IsNewer(b, a, TTimeGrain::kCoarsest);
}

}  // namespace Sync
