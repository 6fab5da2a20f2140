// What a run tells while it works.
#include "RunLog.h"

#include "Paths.h"
#include "RunHost.h"
#include "RunTexts.h"

namespace Sync {

namespace {
constexpr int kStatusPathLength = 100;
}

void TRunLog::Line(const QString& line) {
    host_.AddLog(line);
}

void TRunLog::Error(const QString& line) {
    errorsLogged_ = true;
    host_.AddLog(line);
}

void TRunLog::CouldNotRead(const QString& folder, Platform::ErrorCode error) {
    const QString shown = FileUtils::IncludeTrailingDelimiter(folder);
    if (unreadable_.contains(shown)) return;
    unreadable_.insert(shown);
    Error(WithReason(texts_.CouldNotReadDirectory + Shown(shown), ReasonOf(error)));
}

void TRunLog::CouldNotReadFile(const QString& path, Platform::ErrorCode error) {
    Error(WithReason(texts_.CouldNotReadFile + Shown(path), ReasonOf(error)));
}

void TRunLog::Scanning(const QString& folder, bool inStatus) {
    if (inStatus) {
        host_.SetStatus(texts_.Scanning +
                        Shown(FileUtils::ShortenPathName(folder, kStatusPathLength)));
    }
    host_.ProcessEvents();
}

}  // namespace Sync
