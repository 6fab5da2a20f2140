// Fault injection through the platform's seam.
#include "FaultInjection.h"

namespace TestSupport {

using Platform::ErrorCode;
using Platform::FaultPoint;

ScopedFault::ScopedFault(FaultPoint point, ErrorCode error, int failAt, bool sticky) {
    Platform::SetFaultHook([this, point, error, failAt, sticky](FaultPoint p, const QString&) {
        const int call = ++calls_[p];
        if (p != point) return 0;
        return (call == failAt || (sticky && call > failAt)) ? error : 0;
    });
}

ScopedFault::~ScopedFault() {
    Platform::SetFaultHook({});
}

int ScopedFault::Calls(FaultPoint point) const {
    const auto it = calls_.find(point);
    return it == calls_.end() ? 0 : it->second;
}

CallCounter::CallCounter() {
    Platform::SetFaultHook([this](FaultPoint p, const QString&) {
        ++calls_[p];
        return 0;
    });
}

CallCounter::~CallCounter() {
    Platform::SetFaultHook({});
}

int CallCounter::Calls(FaultPoint point) const {
    const auto it = calls_.find(point);
    return it == calls_.end() ? 0 : it->second;
}

}  // namespace TestSupport
