// One copy pass of a run: copies files one by one into another folder, each reported by one
// log line, and never replaces a target that changed since it was compared.
#pragma once

#include <vector>

#include <QString>

#include "FileCopy.h"

namespace Sync {

class TRunHost;
struct TRunTexts;

class TCopyPass {
  public:
    // `grain` is the resolution at which the source's and the target's times are compared.
    TCopyPass(TRunHost& host, const TRunTexts& texts, int64_t grain);
    ~TCopyPass();

    // Copies `source` over `target`; `relative` names the file in the log, `targetSeen` tells
    // whether the target was there when the run compared the two. Just before the copy takes
    // the target's place, the target is looked at again: a target that was there is replaced
    // only when the source is still newer than it; one that was missing must still be missing
    // (a name that differs only in case finds it on FAT and exFAT). The line for the file is
    // logged when its copy is in place (copies wait in a batch for one flush).
    void Copy(const QString& relative, const QString& source, const QString& target,
              bool targetSeen);

    // Logs a line after the lines of the copies made so far (without waiting for a flush: the
    // line joins them in order).
    void AddLog(const QString& line);

    // Puts every copy in place and logs its line; then the pass is complete.
    void Finish();

    unsigned Copied() const { return copied_; }
    bool ErrorsLogged() const { return errorsLogged_; }

  private:
    void Commit();

    TRunHost& host_;
    const TRunTexts& texts_;
    int64_t grain_;
    // The copies waiting in the batch (their relative names) and the lines logged between
    // them, in order.
    struct TQueued {
        QString Text;
        bool IsCopy = false;
    };

    FileUtils::TCopyBatch batch_;
    std::vector<TQueued> queue_;
    unsigned copied_ = 0;
    bool errorsLogged_ = false;
};

}  // namespace Sync
