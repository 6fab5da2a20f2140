// A copy pass.
#include "CopyPass.h"

#include "FormatSafe.h"
#include "RunHost.h"
#include "RunTexts.h"
#include "TimeGrain.h"

namespace Sync {

using FileUtils::ECopyError;

TCopyPass::TCopyPass(TRunHost& host, const TRunTexts& texts, int64_t grain)
    : host_(host), texts_(texts), grain_(grain) {}

TCopyPass::~TCopyPass() = default;

void TCopyPass::Copy(const QString& relative, const QString& source, const QString& target,
                     bool targetSeen) {
    const int64_t grain = grain_;
    const auto stillNewer = [grain, targetSeen](const Platform::TFileAttributeData& copied,
                                                const Platform::TFileAttributeData* current) {
        if (current == nullptr) return 0;  // missing: the copy never replaces what appears
        if (!targetSeen) return FileUtils::kErrorNameTaken;
        return IsNewer(copied.LastWrite, current->LastWrite, grain)
                   ? 0
                   : FileUtils::kErrorTargetChanged;
    };
    try {
        batch_.Add(source, target, -1, FileUtils::kCopyBufferSize, stillNewer);
        pending_.append(relative);
    } catch (const ECopyError& e) {
        AddLog(WithReason(texts_.ErrorCopying + Shown(relative),
                          e.Message() + QStringLiteral(": ") + ReasonOf(e.ErrorCode)));
        errorsLogged_ = true;
    }
    if (batch_.Due()) Commit();
    host_.KeepAlive();
}

void TCopyPass::AddLog(const QString& line) {
    Commit();
    host_.AddLog(line);
}

void TCopyPass::Finish() {
    Commit();
}

void TCopyPass::Commit() {
    if (batch_.IsEmpty()) return;
    batch_.Commit([&](size_t index, const ECopyError* error) {
        const QString& relative = pending_.at(qsizetype(index));
        if (error == nullptr) {
            host_.AddLog(StringUtils::FormatSafe(texts_.Copy, {Shown(relative)}));
            ++copied_;
            return;
        }
        errorsLogged_ = true;
        const bool refused = error->ErrorCode == FileUtils::kErrorTargetChanged ||
                             error->ErrorCode == FileUtils::kErrorNameTaken;
        host_.AddLog(
            refused
                ? WithReason(texts_.NotCopied + Shown(relative), ReasonOf(error->ErrorCode))
                : WithReason(texts_.ErrorCopying + Shown(relative),
                             error->Message() + QStringLiteral(": ") + ReasonOf(error->ErrorCode)));
    });
    pending_.clear();
}

}  // namespace Sync
