// Fault injection through the platform's seam.
#include "FaultInjection.h"

namespace TestSupport {

using Platform::ErrorCode;
using Platform::FaultPoint;

ScopedFault::ScopedFault(FaultPoint point, ErrorCode error, int failAt, bool sticky)
    : ScopedFault({FaultRule{point, error, failAt, sticky}}) {}

ScopedFault::ScopedFault(std::initializer_list<FaultRule> rules) : rules_(rules) {
    Platform::SetFaultHook([this](FaultPoint p, const QString&) {
        const int call = ++calls_[p];
        for (const FaultRule& rule : rules_) {
            if (rule.point != p) continue;
            if (call == rule.failAt || (rule.sticky && call > rule.failAt)) return rule.error;
        }
        return 0;
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
