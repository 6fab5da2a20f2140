// What the running process knows about itself before any application object exists.
#pragma once

#include <QString>
#include <QStringList>

namespace Platform {

// Full path of the running executable; empty when it cannot be determined.
QString ExecutablePath();

// The command-line arguments after the program path, names as the system passed them.
QStringList CommandLineArguments();

}  // namespace Platform
