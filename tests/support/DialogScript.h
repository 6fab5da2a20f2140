// Answering the message boxes and dialogs of a widget test through WinUtils' answerer: the test
// lists the windows it expects in the order they appear, and what to do in each. A window it
// did not expect fails the test and is closed as by its close button, so no test waits for a
// person.
#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "WinUtils.h"

class QAbstractButton;
class QDialog;

namespace TestSupport {

// One expected window: look at it, click or type in it, and return WinUtils::kAnswerFromBox
// (take the window's own answer) or the result to close it with.
using TDialogStep = std::function<int(QDialog& dialog, const WinUtils::TMessageRecord& record)>;

class TDialogScript {
  public:
    TDialogScript();
    // Fails the test when expected windows never came; then fails on every window again.
    ~TDialogScript();
    TDialogScript(const TDialogScript&) = delete;
    TDialogScript& operator=(const TDialogScript&) = delete;

    TDialogScript& Then(TDialogStep step);
    // Every window shown so far, expected or not.
    const std::vector<WinUtils::TMessageRecord>& Seen() const { return seen_; }

  private:
    int Answer(QDialog& dialog, const WinUtils::TMessageRecord& record);

    std::vector<TDialogStep> steps_;
    size_t next_ = 0;
    std::vector<WinUtils::TMessageRecord> seen_;
};

// The answerer each widget test starts with: every window fails the test.
void FailOnEveryDialog();

// The visible push button of the window with this caption ("&" markers ignored); fails the
// test and gives nullptr when there is none.
QAbstractButton* ButtonCaptioned(QDialog& dialog, const QString& caption);
// Clicks the button with this caption and leaves the answer to the window.
int Click(QDialog& dialog, const QString& caption);

}  // namespace TestSupport
