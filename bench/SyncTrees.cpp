// Runs Pairwell's two-way run unattended on two folders, as the benchmark's stand-in for the
// program until it has its own unattended mode: sync-trees FIRST SECOND [--preview]
// [--filter MASKS] [--log FILE]. Prints the final status; exits 1 when an error was logged.
#include <cstdio>
#include <cstring>

#include <QFile>
#include <QTextStream>

#include "TwoWaySync.h"

namespace {

class ConsoleHost : public TTwoWayHost {
  public:
    ConsoleHost(QString first, QString second, QString filter, QFile* log)
        : first_(std::move(first)), second_(std::move(second)), filter_(std::move(filter)) {
        if (log != nullptr) stream_.setDevice(log);
    }

    QString FirstFolderText() const override { return first_; }
    QString SecondFolderText() const override { return second_; }
    QString FilterText() const override { return filter_; }
    void SetFilterText(const QString& filter) override { filter_ = filter; }
    bool IncludeSubdirectories() const override { return true; }
    bool OnlyDuplicates() const override { return false; }
    void SaveDirInfo() override {}
    void ClearLog() override {}
    void AddLog(const QString& line) override {
        if (line.startsWith(QLatin1String("* ")) || line.startsWith(QLatin1String("Directory"))) {
            errors_ = true;
        }
        if (stream_.device() != nullptr) stream_ << line << '\n';
        last_ = line.isEmpty() ? last_ : line;
    }
    void SetStatus(const QString&) override {}
    void ShowError(const QString& message) override { AddLog(message); }
    void ProcessEvents() override {}
    bool Running() const override { return running_; }
    void SetRunning(bool running) override { running_ = running; }

    bool Errors() const { return errors_; }
    const QString& LastLine() const { return last_; }

  private:
    QString first_, second_, filter_, last_;
    QTextStream stream_;
    bool running_ = false;
    bool errors_ = false;
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
    ConsoleHost host(folders[0], folders[1], filter, logName.isEmpty() ? nullptr : &log);
    TTwoWaySync(host).DoSync(preview, /*interactive=*/false);
    std::printf("%s\n", qPrintable(host.LastLine()));
    return host.Errors() ? 1 : 0;
}
