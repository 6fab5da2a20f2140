// Runs Pairwell's two-way run unattended on two folders, without the program around it, for
// profiling: sync-trees FIRST SECOND [--preview] [--filter MASKS] [--log FILE]. Prints the final
// status; exits 1 when an error was logged.
#include <cstdio>
#include <cstring>

#include "ConsoleHost.h"
#include "TwoWaySync.h"

int main(int argc, char** argv) {
    QStringList folders;
    QString filter = QStringLiteral("*.*");
    QString logName;
    bool preview = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0) {
            preview = true;
        } else if (std::strcmp(argv[i], "--filter") == 0 && i + 1 < argc) {
            filter = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--log") == 0 && i + 1 < argc) {
            logName = QString::fromLocal8Bit(argv[++i]);
        } else {
            folders << QString::fromLocal8Bit(argv[i]);
        }
    }
    if (folders.size() != 2) {
        std::fprintf(stderr,
                     "usage: sync-trees FIRST SECOND [--preview] [--filter MASKS] [--log FILE]\n");
        return 2;
    }
    QFile log(logName);
    if (!logName.isEmpty() && !log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(logName));
        return 2;
    }
    TConsoleHost host(logName.isEmpty() ? nullptr : &log);
    TTwoWayInputs inputs;
    inputs.FirstFolder = folders[0];
    inputs.SecondFolder = folders[1];
    inputs.Filter = filter;
    inputs.Preview = preview;
    inputs.Interactive = false;
    TTwoWaySync run(host);
    run.DoSync(inputs);
    std::printf("%s\n", qPrintable(host.LastLine()));
    return run.ErrorsLogged() ? 1 : 0;
}
