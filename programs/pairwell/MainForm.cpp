// The main window of Pairwell.
#include "MainForm.h"

#include <QCheckBox>
#include <QPushButton>

#include "Catalog.h"
#include "ContextMenu.h"
#include "FolderListBox.h"
#include "FormatSafe.h"
#include "HListBox.h"
#include "StartUp.h"
#include "TwoWaySync.h"
#include "WinUtils.h"

using Catalog::N_;

namespace {

// Where Pairwell's window differs from the shared one.
Window::TPairWindowPlan PairwellPlan() {
    Window::TPairWindowPlan plan;
    plan.ProgramName = N_("Synchronize folders");
    plan.DefaultVersion = QStringLiteral("1.0");
    plan.DesignSize = QSize(601, 434);
    plan.VerbKey = ContextMenu::kPairwellVerbKey;
    plan.FolderList = kPairwellFolderList;
    plan.PartnerHistory = QStringLiteral("Directories");
    plan.FolderLabelName = QStringLiteral("Label3");
    plan.FolderLabel = N_("First folder:");
    plan.FolderBoxName = QStringLiteral("edRefDir");
    plan.FolderButtonName = QStringLiteral("bbRefDir");
    plan.FolderButtonHint = N_("Select first folder");
    plan.PartnerLabelName = QStringLiteral("Label1");
    plan.PartnerLabel = N_("Second folder:");
    plan.PartnerBoxName = QStringLiteral("edSecondDir");
    plan.PartnerButtonName = QStringLiteral("bbSecondDir");
    plan.PartnerButtonHint = N_("Select second folder");
    return plan;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : TPairWindow(PairwellPlan(), parent) {
    QWidget* central = centralWidget();
    cbDupl = new QCheckBox(N_("Only duplicate files"), central);
    cbDupl->setObjectName(QStringLiteral("cbDupl"));
    bbSync = new QPushButton(N_("Start"), central);
    bbSync->setObjectName(QStringLiteral("bbSync"));
    bbPreview = new QPushButton(N_("Preview"), central);
    bbPreview->setObjectName(QStringLiteral("bbPreview"));
    connect(bbSync, &QPushButton::clicked, this, [this] { bbSyncClick(); });
    connect(bbPreview, &QPushButton::clicked, this, [this] { bbPreviewClick(); });
    Create(cbDupl, {bbSync, bbPreview});
}

void TMainForm::ShowOptions(const Sync::TDirInfo& info) {
    cbDupl->setChecked(info.Dupl);
}

void TMainForm::ReadOptions(Sync::TDirInfo& info) const {
    info.Dupl = cbDupl->isChecked();
}

bool TMainForm::WantsPartnerFor(const QString& folder) {
    return WinUtils::ConfirmDialog(StringUtils::FormatSafe(
        Catalog::gettext("Select folder to be synchronized with\r\n%s"), {folder}));
}

void TMainForm::bbSyncClick() {
    if (Running_) {
        Running_ = false;  // a stop request: the run notices it at its next folder or file
        return;
    }
    RunAndReport(/*preview=*/false);
}

void TMainForm::bbPreviewClick() {
    if (Running_) return;  // no run inside a run
    RunAndReport(/*preview=*/true);
}

void TMainForm::RunAndReport(bool preview) {
    RunShownPair(preview ? nullptr : bbSync, [this, preview] {
        TTwoWayInputs inputs;
        inputs.FirstFolder = edFolder->currentText();
        inputs.SecondFolder = edPartner->currentText();
        inputs.Filter = edFilter->currentText();
        inputs.IncludeSubdirectories = cbSubDir->isChecked();
        inputs.OnlyDuplicates = cbDupl->isChecked();
        inputs.Preview = preview;
        inputs.Interactive = true;
        TTwoWaySync run(*this);
        run.DoSync(inputs);
        return !run.Refused();
    });
}
