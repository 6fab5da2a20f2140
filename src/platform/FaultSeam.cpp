// The test seam for failing file-system calls.
#include "FaultSeam.h"

#include <utility>

namespace Platform {

namespace {
FaultHook& Hook() {
    static FaultHook hook;
    return hook;
}
}  // namespace

void SetFaultHook(FaultHook hook) {
    Hook() = std::move(hook);
}

ErrorCode InjectedFault(FaultPoint point, const QString& path) {
    const FaultHook& hook = Hook();
    return hook ? hook(point, path) : 0;
}

namespace {
TMediumQuirks& Quirks() {
    static TMediumQuirks quirks;
    return quirks;
}
}  // namespace

void SetMediumQuirks(const TMediumQuirks& quirks) {
    Quirks() = quirks;
}

const TMediumQuirks& MediumQuirks() {
    return Quirks();
}

}  // namespace Platform
