// What a run tells while it works: its lines through the host, whether an error line was among
// them (an unattended run's exit code hangs on it), each unreadable folder once, and the folder
// being scanned.
#pragma once

#include <QSet>
#include <QString>

#include "ErrorCode.h"

namespace Sync {

class TRunHost;
struct TRunTexts;

class TRunLog {
  public:
    TRunLog(TRunHost& host, const TRunTexts& texts) : host_(host), texts_(texts) {}

    void Line(const QString& line);
    // A line that says what went wrong ("* ...").
    void Error(const QString& line);
    // A folder that could not be read; each folder once per run, whichever side or mask met it.
    void CouldNotRead(const QString& folder, Platform::ErrorCode error);
    void CouldNotReadFile(const QString& path, Platform::ErrorCode error);
    // Shows the folder being scanned in the status line (when `inStatus`) and lets the window
    // handle its events, where a stop request arrives.
    void Scanning(const QString& folder, bool inStatus);

    bool ErrorsLogged() const { return errorsLogged_; }
    void NoteError() { errorsLogged_ = true; }

  private:
    TRunHost& host_;
    const TRunTexts& texts_;
    bool errorsLogged_ = false;
    QSet<QString> unreadable_;
};

}  // namespace Sync
