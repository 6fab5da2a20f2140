// The names of the current user and of this computer.
#pragma once

#include <QString>

namespace Platform {

// The login name of the user the process runs as; empty when it cannot be determined.
QString UserLoginName();

// The computer's host name; empty when it cannot be determined.
QString ComputerName();

}  // namespace Platform
