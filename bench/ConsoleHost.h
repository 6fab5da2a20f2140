// A run's host for the benchmark drivers: the log goes to a file (or nowhere), the last line
// is kept for the console, and nobody asks the run to stop.
#pragma once

#include <QFile>
#include <QTextStream>

#include "RunHost.h"

class TConsoleHost : public Sync::TRunHost {
  public:
    explicit TConsoleHost(QFile* log) {
        if (log != nullptr) stream_.setDevice(log);
    }

    void ClearLog() override {}
    void AddLog(const QString& line) override {
        if (stream_.device() != nullptr) stream_ << line << '\n';
        if (!line.isEmpty()) last_ = line;
    }
    void SetStatus(const QString& text) override { status_ = text; }
    void ShowError(const QString& message) override { AddLog(message); }
    bool StopRequested() const override { return false; }

    const QString& LastLine() const { return last_; }
    const QString& Status() const { return status_; }

  private:
    QString last_;
    QString status_;
    QTextStream stream_;
};
