// A request from the system to end the program (a logout, a kill), turned into a call on the
// program's event loop, so that the program can close its window and keep its settings.
#pragma once

#include <functional>

class QObject;

namespace Platform {

// While `owner` lives, a termination request calls `callback` from the event loop of the
// calling thread. A second request while the first is handled ends the process at once.
void OnTerminationRequest(QObject* owner, std::function<void()> callback);

}  // namespace Platform
