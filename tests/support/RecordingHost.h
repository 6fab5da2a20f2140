// A run's host for tests: it records what the run reports, and a stop request is IsRunning
// cleared (by a test's hook in ProcessEvents, say), as the window does it.
#pragma once

#include <functional>

#include <QStringList>

#include "RunHost.h"

namespace TestSupport {

class RecordingHost : public Sync::TRunHost {
  public:
    QStringList Log;
    QString Status;
    QStringList Errors;
    bool IsRunning = false;
    std::function<void()> OnProcessEvents;

    void ClearLog() override { Log.clear(); }
    void AddLog(const QString& line) override { Log << line; }
    void SetStatus(const QString& text) override { Status = text; }
    void ShowError(const QString& message) override { Errors << message; }
    void ProcessEvents() override {
        if (OnProcessEvents) OnProcessEvents();
    }
    bool StopRequested() const override { return !IsRunning; }
};

}  // namespace TestSupport
