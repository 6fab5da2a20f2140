// Runs Pairwell's two-way run unattended on two folders, without the program around it, for
// profiling: sync-trees FIRST SECOND [--preview] [--filter MASKS] [--log FILE]. Prints the final
// status; exits 1 when an error was logged.
#include <cstdio>
#include <cstring>

#include <QFile>
#include <QTextStream>

#include "TwoWaySync.h"

namespace {

class ConsoleHost : public Sync::TRunHost {
  public:
    explicit ConsoleHost(QFile* log) {
        if (log != nullptr) stream_.setDevice(log);
    }

    void ClearLog() override {}
    void AddLog(const QString& line) override {
        if (stream_.device() != nullptr) stream_ << line << '\n';
        last_ = line.isEmpty() ? last_ : line;
    }
    void SetStatus(const QString&) override {}
    void ShowError(const QString& message) override { AddLog(message); }
    bool StopRequested() const override { return false; }

    const QString& LastLine() const { return last_; }

  private:
    QString last_;
    QTextStream stream_;
};

}  // namespace

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
    ConsoleHost host(logName.isEmpty() ? nullptr : &log);
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
