// What a run reports to whoever started it (a window, a scheduled run, a test), and where a
// stop request comes from. Reading controls and writing into them is the window's business.
#pragma once

#include <QString>

namespace Sync {

class TRunHost {
  public:
    virtual ~TRunHost() = default;

    virtual void ClearLog() = 0;
    // Appends a line, the newest in view; an empty text appends an empty line.
    virtual void AddLog(const QString& line) = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual void ShowError(const QString& message) = 0;

    // Lets the window handle pending events, once per folder visited: a stop request arrives
    // here.
    virtual void ProcessEvents() {}
    // Called once per file while copying: the window may repaint, but takes no input.
    virtual void KeepAlive() {}

    virtual bool StopRequested() const = 0;
};

}  // namespace Sync
