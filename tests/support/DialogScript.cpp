// Scripted answers for the boxes and dialogs of widget tests.
#include "DialogScript.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>

namespace TestSupport {

namespace {

const char* KindName(WinUtils::TDialogKind kind) {
    switch (kind) {
        case WinUtils::dkMessageBox:
            return "message box";
        case WinUtils::dkSelectDialog:
            return "option dialog";
        case WinUtils::dkInputText:
            return "text input dialog";
        case WinUtils::dkCharTable:
            return "character table";
        case WinUtils::dkSelectFromList:
            return "list dialog";
        case WinUtils::dkShellDir:
            return "folder dialog";
    }
    return "dialog";
}

int Unexpected(const WinUtils::TMessageRecord& record) {
    ADD_FAILURE() << "unexpected " << KindName(record.Kind) << ": \"" << record.Title.toStdString()
                  << "\" " << record.Message.toStdString();
    return WinUtils::kAnswerFromBox;  // nothing pressed: closed as by its close button
}

}  // namespace

void FailOnEveryDialog() {
    WinUtils::SetMessageAnswerer(
        [](QDialog&, const WinUtils::TMessageRecord& record) { return Unexpected(record); });
}

TDialogScript::TDialogScript() {
    WinUtils::SetMessageAnswerer([this](QDialog& dialog, const WinUtils::TMessageRecord& record) {
        return Answer(dialog, record);
    });
}

TDialogScript::~TDialogScript() {
    EXPECT_EQ(next_, steps_.size()) << "expected windows that never appeared";
    FailOnEveryDialog();
}

TDialogScript& TDialogScript::Then(TDialogStep step) {
    steps_.push_back(std::move(step));
    return *this;
}

int TDialogScript::Answer(QDialog& dialog, const WinUtils::TMessageRecord& record) {
    seen_.push_back(record);
    if (next_ >= steps_.size()) return Unexpected(record);
    // A copy: a step may open the next window, which takes the next step meanwhile.
    const TDialogStep step = steps_[next_++];
    return step(dialog, record);
}

QAbstractButton* ButtonCaptioned(QDialog& dialog, const QString& caption) {
    const QString wanted = QString(caption).remove(u'&');
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isVisible() && QString(button->text()).remove(u'&') == wanted) return button;
    }
    ADD_FAILURE() << "no button \"" << caption.toStdString() << "\"";
    return nullptr;
}

int Click(QDialog& dialog, const QString& caption) {
    if (QAbstractButton* button = ButtonCaptioned(dialog, caption))
        QTest::mouseClick(button, Qt::LeftButton);
    return WinUtils::kAnswerFromBox;
}

}  // namespace TestSupport
