// What a run reports to whoever started it (a window, a scheduled run, a test), and where a
// stop request comes from. Reading controls and writing into them is the window's business.
#pragma once

#include <cstdint>

#include <QString>

namespace Sync {

// How far the copy passes of a run have come, both passes together.
struct TCopyProgress {
    uint64_t FilesDone = 0;
    uint64_t FilesTotal = 0;
    uint64_t BytesDone = 0;  // as the files were listed
    uint64_t BytesTotal = 0;

    bool operator==(const TCopyProgress&) const = default;
};

class TRunHost {
  public:
    virtual ~TRunHost() = default;

    virtual void ClearLog() = 0;
    // Appends a line, the newest in view; an empty text appends an empty line.
    virtual void AddLog(const QString& line) = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual void ShowError(const QString& message) = 0;

    // Lets the window handle pending events, once per folder visited and once per file copied:
    // a stop request arrives here. A window decides how often it really looks.
    virtual void ProcessEvents() {}
    // Once before the first file is copied and after each file.
    virtual void CopyProgress(const TCopyProgress& progress) { static_cast<void>(progress); }

    virtual bool StopRequested() const = 0;
};

}  // namespace Sync
