// The main window of Mirrowen.
#include "MainForm.h"

#include <QCheckBox>
#include <QPushButton>

#include "Catalog.h"
#include "ContextMenu.h"
#include "FolderListBox.h"
#include "HListBox.h"
#include "OneWaySync.h"

using Catalog::N_;

namespace {

// Where Mirrowen's window differs from the shared one. Its list holds destination folders,
// each with its source; sections "Dir00", ... without "Duplicates".
Window::TPairWindowPlan MirrowenPlan() {
    Window::TPairWindowPlan plan;
    plan.ProgramName = N_("Synchronize folder");
    plan.DefaultVersion = QStringLiteral("2.1");
    plan.DesignSize = QSize(601, 386);
    plan.VerbKey = ContextMenu::kMirrowenVerbKey;
    plan.FolderList = {QStringLiteral("Dir"), false};
    plan.PartnerHistory = QStringLiteral("Source");
    plan.FolderLabelName = QStringLiteral("Label3");
    plan.FolderLabel = N_("Folder to be synchronized:");
    plan.FolderBoxName = QStringLiteral("edDest");
    plan.FolderButtonName = QStringLiteral("bbDest");
    plan.FolderButtonHint = N_("Select folder to be synchronized");
    plan.PartnerLabelName = QStringLiteral("Label1");
    plan.PartnerLabel = N_("Synchronize with folder:");
    plan.PartnerBoxName = QStringLiteral("edSource");
    plan.PartnerButtonName = QStringLiteral("bbSource");
    plan.PartnerButtonHint = N_("Select folder from where to synchronize");
    return plan;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : TPairWindow(MirrowenPlan(), parent) {
    QWidget* central = centralWidget();
    cbRepl = new QCheckBox(N_("Replace only existing files"), central);
    cbRepl->setObjectName(QStringLiteral("cbRepl"));
    bbCopy = new QPushButton(N_("Start"), central);
    bbCopy->setObjectName(QStringLiteral("bbCopy"));
    connect(bbCopy, &QPushButton::clicked, this, [this] { bbCopyClick(); });
    Create(cbRepl, {bbCopy});
}

bool TMainForm::WantsPartnerFor(const QString& folder) {
    static_cast<void>(folder);
    return true;
}

void TMainForm::bbCopyClick() {
    if (Running_) {
        Running_ = false;  // a stop request: the run notices it at its next folder or file
        return;
    }
    RunShownPair(bbCopy, [this] {
        TOneWayInputs inputs;
        inputs.Destination = edFolder->currentText();
        inputs.Source = edPartner->currentText();
        inputs.Filter = edFilter->currentText();
        inputs.IncludeSubdirectories = cbSubDir->isChecked();
        inputs.ReplaceOnlyExisting = cbRepl->isChecked();
        TOneWaySync run(*this);
        run.DoSync(inputs);
        return !run.Refused();
    });
}
