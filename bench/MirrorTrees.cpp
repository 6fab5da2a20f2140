// Runs Mirrowen's one-way run on two folders, without the program around it: the benchmark's
// side of Mirrowen, which has no unattended mode. mirror-trees SOURCE DESTINATION [--existing]
// [--log FILE]. Prints the final status; exits 1 when an error was logged.
#include <cstdio>
#include <cstring>

#include "ConsoleHost.h"
#include "OneWaySync.h"

int main(int argc, char** argv) {
    QStringList folders;
    QString logName;
    bool existing = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--existing") == 0) {
            existing = true;
        } else if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc) {
            logName = QString::fromLocal8Bit(argv[++i]);
        } else {
            folders << QString::fromLocal8Bit(argv[i]);
        }
    }
    if (folders.size() != 2) {
        std::fprintf(stderr, "usage: mirror-trees SOURCE DESTINATION [--existing] [--log FILE]\n");
        return 2;
    }
    QFile log(logName);
    if (!logName.isEmpty() && !log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(logName));
        return 2;
    }
    TConsoleHost host(logName.isEmpty() ? nullptr : &log);
    TOneWayInputs inputs;
    inputs.Source = folders[0];
    inputs.Destination = folders[1];
    inputs.Filter = QStringLiteral("*.*");
    inputs.ReplaceOnlyExisting = existing;
    TOneWaySync run(host);
    run.DoSync(inputs);
    std::printf("%s\n", qPrintable(host.Status()));
    return run.ErrorsLogged() ? 1 : 0;
}
