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
    FileUtils::TReplaceRule rule;
    rule.TargetMissing = !targetSeen;
    // A target that has vanished meanwhile is replaced by nothing else: the rename never replaces.
    rule.Check = [grain](const Platform::TFileAttributeData& copied,
                         const Platform::TFileAttributeData* current) {
        if (current == nullptr) return 0;
        return IsNewer(copied.LastWrite, current->LastWrite, grain)
                   ? 0
                   : FileUtils::kErrorTargetChanged;
    };
    try {
        batch_.Add(source, target, -1, FileUtils::kCopyBufferSize, std::move(rule));
        queue_.push_back({relative, true});
    } catch (const ECopyError& e) {
        AddLog(WithReason(texts_.ErrorCopying + Shown(relative),
                          e.Message() + QStringLiteral(": ") + ReasonOf(e.ErrorCode)));
        errorsLogged_ = true;
    }
    if (batch_.Due()) Commit();
    host_.ProcessEvents();
}

void TCopyPass::AddLog(const QString& line) {
    if (queue_.empty()) {
        host_.AddLog(line);
    } else {
        queue_.push_back({line, false});  // after the lines of the copies before it
    }
}

void TCopyPass::Finish() {
    Commit();
}

void TCopyPass::Commit() {
    std::vector<QString> results;  // the line of each copy of the batch, in order
    if (!batch_.IsEmpty()) {
        size_t next = 0;
        batch_.Commit([&](size_t, const ECopyError* error) {
            while (!queue_[next].IsCopy)
                ++next;
            const QString& relative = queue_[next++].Text;
            if (error == nullptr) {
                results.push_back(StringUtils::FormatSafe(texts_.Copy, {Shown(relative)}));
                ++copied_;
                return;
            }
            errorsLogged_ = true;
            const bool refused = error->ErrorCode == FileUtils::kErrorTargetChanged ||
                                 error->ErrorCode == FileUtils::kErrorNameTaken;
            results.push_back(
                refused ? WithReason(texts_.NotCopied + Shown(relative), ReasonOf(error->ErrorCode))
                        : WithReason(texts_.ErrorCopying + Shown(relative),
                                     error->Message() + QStringLiteral(": ") +
                                         ReasonOf(error->ErrorCode)));
        });
    }
    size_t result = 0;
    for (const TQueued& entry : queue_)
        host_.AddLog(entry.IsCopy ? results.at(result++) : entry.Text);
    queue_.clear();
}

}  // namespace Sync
