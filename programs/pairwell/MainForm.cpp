// The main window of Pairwell.
#include "MainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "Catalog.h"
#include "ContextMenu.h"
#include "FileSystemOps.h"
#include "FolderListBox.h"
#include "Folders.h"
#include "FormatSafe.h"
#include "HListBox.h"
#include "IniFiles.h"
#include "LogList.h"
#include "ProgramInit.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"
#include "StartUp.h"
#include "TranslateComponent.h"
#include "TwoWaySync.h"
#include "VersionInfo.h"
#include "WinUtils.h"

using Catalog::N_;

namespace {

const QString kConfig = QStringLiteral("Config");
const QString kAllFiles = QStringLiteral("*.*");
const QString kContact = QStringLiteral("info@quillonsoft.example");
constexpr int kHistoryLength = 15;
// The filter as a list: masks separated by ";", a mask with blanks or ";" in double quotes.
constexpr QChar kMaskSeparator = u';';
constexpr QChar kMaskQuote = u'"';
// While a run works, the window looks at its events this often (milliseconds): often enough to
// repaint and to take a stop request at once, seldom enough to cost the run nothing.
constexpr int kEventInterval = 50;
constexpr int kProgressSteps = 1000;

QToolButton* SmallButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(hint);
    button->setAutoRaise(false);
    return button;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent), folderList_(kPairwellFolderList) {
    BuildControls();
    Catalog::TranslateComponent(this);

    QString name;
    VersionInfo::InitProgramInfo(QStringLiteral("Synchronize folders"), QStringLiteral("1.0"),
                                 VersionInfo::kMakerCopyright, 3, name, ProgVersDate_);
    setWindowTitle(Catalog::gettext("Synchronize folders") + QStringLiteral(" (") +
                   VersionInfo::ProgramVersion().Comments + QLatin1Char(')'));

    const TPairwellFiles files = PairwellFiles();
    AppPath_ = files.AppPath;
    UserPath_ = files.UserPath;
    IniName_ = files.IniName;
    ReadSettings();

    Running_ = false;
    const TCommandLine commandLine = ReadCommandLine(ProgramInit::ProgramArguments());
    if (!commandLine.Folder.isEmpty()) {
        CurrentDir_ = commandLine.Folder;
        bbContext->hide();  // registration is offered after a plain start only
    }

    OldContext_ = ContextMenu::ContextMenuExists(
        ContextMenu::RunningProgramEntry(ContextMenu::kPairwellVerbKey));
    bbContext->setToolTip(ContextMenu::ContextButtonHint(OldContext_));
}

TMainForm::~TMainForm() {
    if (!settingsWritten_) WriteSettings(/*report=*/false);
}

void TMainForm::BuildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* grid = new QGridLayout(central);

    Label3 = new QLabel(N_("First folder:"), central);
    edRefDir = new TFolderListBox(folderList_, central);
    bbRefDir = SmallButton(central, QStyle::SP_DirOpenIcon, N_("Select first folder"));
    bbRemove = SmallButton(central, QStyle::SP_TrashIcon, N_("Remove folder from list"));
    Label1 = new QLabel(N_("Second folder:"), central);
    edSecondDir = new HListBox::THistoryCombo(central);
    edSecondDir->SetMaxItems(kHistoryLength);
    edSecondDir->HistoryList().SetCaseSensitivity(Platform::kFileNameCase);
    bbSecondDir = SmallButton(central, QStyle::SP_DirOpenIcon, N_("Select second folder"));
    Label2 = new QLabel(N_("File filter:"), central);
    edFilter = new HListBox::THistoryCombo(central);
    edFilter->SetMaxItems(kHistoryLength);
    edFilter->setToolTip(N_("Use \";\" to separate multiple conditions"));
    bbFilter = SmallButton(central, QStyle::SP_FileDialogDetailedView, N_("Edit file filter"));
    cbSubDir = new QCheckBox(N_("Include subdirectories"), central);
    cbSubDir->setChecked(true);
    cbDupl = new QCheckBox(N_("Only duplicate files"), central);
    bbContext =
        SmallButton(central, QStyle::SP_DirLinkIcon, N_("Add program to folder context menu"));
    bbInfo = SmallButton(central, QStyle::SP_MessageBoxInformation, N_("About this program"));
    bbQuit = SmallButton(central, QStyle::SP_DialogCloseButton, N_("Quit"));
    bbPreview = new QPushButton(N_("Preview"), central);
    bbSync = new QPushButton(N_("Start"), central);
    bbSync->setDefault(true);
    Label4 = new QLabel(N_("Synchronization log:"), central);
    lbLog = new TLogList(central);
    pbCopy = new QProgressBar(this);
    pbCopy->setRange(0, kProgressSteps);
    pbCopy->setTextVisible(false);
    pbCopy->setMaximumWidth(160);
    pbCopy->hide();
    statusBar()->addPermanentWidget(pbCopy);
    statusBar()->setSizeGripEnabled(true);

    // The design's names, for tests and accessibility tools; names are never translated.
    const std::pair<QObject*, const char*> names[] = {
        {Label3, "Label3"},
        {edRefDir, "edRefDir"},
        {bbRefDir, "bbRefDir"},
        {bbRemove, "bbRemove"},
        {Label1, "Label1"},
        {edSecondDir, "edSecondDir"},
        {bbSecondDir, "bbSecondDir"},
        {Label2, "Label2"},
        {edFilter, "edFilter"},
        {bbFilter, "bbFilter"},
        {cbSubDir, "cbSubDir"},
        {cbDupl, "cbDupl"},
        {bbContext, "bbContext"},
        {bbInfo, "bbInfo"},
        {bbQuit, "bbQuit"},
        {bbPreview, "bbPreview"},
        {bbSync, "bbSync"},
        {Label4, "Label4"},
        {lbLog, "lbLog"},
        {pbCopy, "pbCopy"},
        {statusBar(), "StatusBar"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QLatin1String(name));

    Label3->setBuddy(edRefDir);
    Label1->setBuddy(edSecondDir);
    Label2->setBuddy(edFilter);

    // Boxes stretch with the window; buttons keep to the right; the log grows both ways.
    const auto row = [](std::initializer_list<QWidget*> widgets) {
        auto* line = new QHBoxLayout;
        bool first = true;
        for (QWidget* widget : widgets) {
            line->addWidget(widget, first ? 1 : 0);
            first = false;
        }
        return line;
    };
    grid->addWidget(Label3, 0, 0);
    grid->addLayout(row({edRefDir, bbRefDir, bbRemove}), 1, 0);
    grid->addWidget(Label1, 2, 0);
    grid->addLayout(row({edSecondDir, bbSecondDir}), 3, 0);
    grid->addWidget(Label2, 4, 0);
    grid->addLayout(row({edFilter, bbFilter}), 5, 0);
    auto* options = new QHBoxLayout;
    options->addWidget(cbSubDir);
    options->addSpacing(16);
    options->addWidget(cbDupl);
    options->addStretch(1);
    grid->addLayout(options, 6, 0);

    auto* actions = new QVBoxLayout;
    actions->addWidget(bbSync);
    actions->addWidget(bbPreview);
    actions->addStretch(1);
    auto* tools = new QHBoxLayout;
    tools->addStretch(1);
    tools->addWidget(bbContext);
    tools->addWidget(bbInfo);
    tools->addWidget(bbQuit);
    actions->addLayout(tools);
    grid->addLayout(actions, 1, 1, 6, 1);

    grid->addWidget(Label4, 7, 0, 1, 2);
    grid->addWidget(lbLog, 8, 0, 1, 2);
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(0, 1);

    setTabOrder(edRefDir, edSecondDir);
    setTabOrder(edSecondDir, edFilter);
    setTabOrder(edFilter, cbSubDir);
    setTabOrder(cbSubDir, cbDupl);
    setTabOrder(cbDupl, bbSync);
    setTabOrder(bbSync, bbPreview);
    resize(601, 434);

    connect(edRefDir, &TFolderListBox::FolderEntered, this,
            [this](const QString& folder) { ChangeFirstFolder(folder); });
    for (HListBox::THistoryCombo* box : {edSecondDir, edFilter}) {
        connect(
            box, &HListBox::THistoryCombo::ClosedUp, this, [this] { SaveDirInfo(); },
            Qt::QueuedConnection);
    }
    connect(bbRefDir, &QToolButton::clicked, this, [this] { btRefDirClick(); });
    connect(bbSecondDir, &QToolButton::clicked, this, [this] { btSecondDirClick(); });
    connect(bbRemove, &QToolButton::clicked, this, [this] { btRemoveClick(); });
    connect(bbFilter, &QToolButton::clicked, this, [this] { btFilterClick(); });
    connect(cbSubDir, &QCheckBox::clicked, this, [this] { cbSubDirClick(); });
    connect(bbInfo, &QToolButton::clicked, this, [this] { btnInfoClick(); });
    connect(bbQuit, &QToolButton::clicked, this, [this] { bbQuitClick(); });
    connect(bbContext, &QToolButton::clicked, this, [this] { bbContextClick(); });
    connect(bbSync, &QPushButton::clicked, this, [this] { bbSyncClick(); });
    connect(bbPreview, &QPushButton::clicked, this, [this] { bbPreviewClick(); });
}

// ---- settings ----

void TMainForm::ReadSettings() {
    const IniFiles::TIniFile ini(IniName_);
    placeRead_ = ini.ValueExists(kConfig, QStringLiteral("Top")) &&
                 ini.ValueExists(kConfig, QStringLiteral("Left"));
    const int top = ini.ReadInteger(kConfig, QStringLiteral("Top"), y());
    const int left = ini.ReadInteger(kConfig, QStringLiteral("Left"), x());
    const int height = ini.ReadInteger(kConfig, QStringLiteral("Height"), this->height());
    const int width = ini.ReadInteger(kConfig, QStringLiteral("Width"), this->width());
    move(left, top);
    resize(width, height);
    CurrentDir_ = ini.ReadString(kConfig, QStringLiteral("LastDir"), QString());
    folderList_.Load(ini);

    edFilter->LoadFromIni(ini, QStringLiteral("Filter"));
    if (edFilter->HistoryList().Count() == 0) {
        edFilter->setEditText(kAllFiles);
        edFilter->AddItem(kAllFiles);
    }
    edFilter->setCurrentIndex(0);

    edSecondDir->LoadFromIni(ini, QStringLiteral("Directories"));
    if (edSecondDir->HistoryList().Count() > 0) edSecondDir->setCurrentIndex(0);
}

// Everything goes into the file in one save: the window's values, the folder list and the two
// histories. A value the file cannot hold costs only itself.
void TMainForm::WriteSettings(bool report) {
    settingsWritten_ = true;
    try {
        IniFiles::TIniFile ini(IniName_);
        if (shown_) {  // a window never shown has no place of its own to keep
            ini.WriteInteger(kConfig, QStringLiteral("Top"), y());
            ini.WriteInteger(kConfig, QStringLiteral("Left"), x());
            ini.WriteInteger(kConfig, QStringLiteral("Height"), height());
            ini.WriteInteger(kConfig, QStringLiteral("Width"), width());
        }
        ini.WriteString(kConfig, QStringLiteral("LastDir"), edRefDir->currentText());
        folderList_.Save(ini);
        edFilter->SaveHistory(ini);
        edSecondDir->SaveHistory(ini);
        ini.UpdateFile();
    } catch (const FileUtils::EInOutError& error) {
        if (report) {
            WinUtils::ErrorDialog(error.Message());
        } else {
            qWarning("%s", error.what());
        }
    }
}

bool TMainForm::ContextButtonVisible() const {
    return !bbContext->isHidden();
}

// ---- the pair between controls and entry ----

void TMainForm::ShowDirInfo() {
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    const Sync::TDirInfo info = folderList_.Info(selected);
    edRefDir->Select(selected);
    cbSubDir->setChecked(info.SubDir);
    cbDupl->setChecked(info.Dupl);
    edSecondDir->setEditText(info.DirName);
    edFilter->setEditText(info.Filter);
}

Sync::TDirInfo TMainForm::DirInfoFromControls() const {
    Sync::TDirInfo info;
    info.DirName = edSecondDir->currentText();
    info.Filter = edFilter->currentText();
    info.SubDir = cbSubDir->isChecked();
    info.Dupl = cbDupl->isChecked();
    return info;
}

void TMainForm::SaveDirInfo() {
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    folderList_.SetInfo(selected, DirInfoFromControls());
}

void TMainForm::ChangeFirstFolder(const QString& folder) {
    SaveDirInfo();
    edRefDir->ShowFolder(folder);
    ShowDirInfo();
}

// ---- showing ----

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // The first start opens in the middle of the screen; a remembered place is kept on it.
    if (placeRead_) {
        WinUtils::FitFormToWorkArea(this);
    } else {
        WinUtils::PlaceForm(this, WinUtils::DefaultMessagePos);
    }
    FormShow();
}

void TMainForm::FormShow() {
    if (CurrentDir_.isEmpty()) {
        edRefDir->Select(folderList_.Count() > 0 ? 0 : -1);
    } else if (folderList_.Find(CurrentDir_) >= 0) {
        edRefDir->ShowFolder(CurrentDir_);
    } else {
        // A folder without an entry (from the file manager, say) gets a partner of its own,
        // never the second folder some other pair left in the window. The folder is shown,
        // with no entry selected, while the question is asked once the window is on the
        // screen.
        edRefDir->ShowFolder(CurrentDir_);
        QTimer::singleShot(0, this, [this] { AskForPartner(); });
        return;
    }
    ShowDirInfo();
    bbSync->setFocus();
}

void TMainForm::AskForPartner() {
    const QString question = StringUtils::FormatSafe(
        Catalog::gettext("Select folder to be synchronized with\r\n%s"), {CurrentDir_});
    QString second;
    if (WinUtils::ConfirmDialog(question) && SelectSecondFolder(second)) {
        edFilter->setEditText(kAllFiles);
        folderList_.Add(CurrentDir_, {edSecondDir->currentText(), kAllFiles, true, false});
        edRefDir->ShowFolder(CurrentDir_);
    } else {
        edRefDir->Select(folderList_.Count() > 0 ? 0 : -1);
    }
    ShowDirInfo();
    bbSync->setFocus();
}

bool TMainForm::SelectSecondFolder(QString& chosen) {
    const QString text = edSecondDir->currentText();
    chosen = text.isEmpty() ? UserPath_ : FileUtils::NearestExistingFolder(text, UserPath_);
    if (!ChooseFolder(Catalog::gettext("Select second folder"), edRefDir->currentText(), chosen))
        return false;
    edSecondDir->setEditText(chosen);
    edSecondDir->AddItem(chosen);
    return true;
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    // The keys of a dialog: Escape is the quit button; Return and Enter press the focused
    // button, or else "Start". Boxes and lists that use these keys take them first.
    if (event->matches(QKeySequence::Cancel)) {
        bbQuit->click();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        auto* button = qobject_cast<QAbstractButton*>(focusWidget());
        if (button != nullptr && qobject_cast<QCheckBox*>(button) == nullptr) {
            button->click();
        } else if (!Running_) {
            bbSync->click();
        }
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (Running_) {
        // Stop the run first, between two files; the window closes as soon as it has ended.
        Running_ = false;
        closeWhenIdle_ = true;
        event->ignore();
        return;
    }
    if (!settingsWritten_) {
        edRefDir->TakeTypedFolder();
        SaveDirInfo();
        WriteSettings(/*report=*/isVisible());
    }
    QMainWindow::closeEvent(event);
}

// ---- handlers ----

bool TMainForm::ChooseFolder(const QString& title, const QString& homeDir, QString& folder) {
    ShellDirDlg::TShellDirDialog* dialog = ShellDirDlg::TShellDirDialog::Instance();
    Q_ASSERT(dialog != nullptr);  // the entry routine makes it before the window is shown
    return dialog->Execute(title, /*Hidden=*/true, /*FileView=*/true, /*ZipAsFiles=*/true, homeDir,
                           folder);
}

void TMainForm::btRefDirClick() {
    edRefDir->TakeTypedFolder();
    QString start = edRefDir->currentText();
    if (start.isEmpty()) start = edSecondDir->currentText();
    if (start.isEmpty()) start = UserPath_;
    SaveDirInfo();
    QString chosen = start;
    if (!ChooseFolder(Catalog::gettext("Select first folder"), QString(), chosen)) return;
    // A new first folder starts with the values shown. Either way its entry is selected, so
    // that what the user edits next lands on the pair shown.
    if (folderList_.Find(chosen) < 0) folderList_.Add(chosen, DirInfoFromControls());
    ChangeFirstFolder(chosen);
}

void TMainForm::btSecondDirClick() {
    edRefDir->TakeTypedFolder();
    QString chosen;
    if (!SelectSecondFolder(chosen)) return;
    if (edFilter->HistoryList().Count() == 0) {
        edFilter->setEditText(kAllFiles);
        edFilter->AddItem(kAllFiles);
    }
    const int selected = edRefDir->Selected();
    if (selected >= 0) {
        Sync::TDirInfo info = folderList_.Info(selected);
        info.DirName = chosen;
        folderList_.SetInfo(selected, info);
    }
}

void TMainForm::btFilterClick() {
    edRefDir->TakeTypedFolder();
    QStringList masks =
        StringUtils::ReadDelimitedText(edFilter->currentText(), kMaskSeparator, kMaskQuote);
    QString chosen;
    const int answer = SelectFromListDlg::TSelectFromListDialog::Instance()->Execute(
        WinUtils::BottomRightPos(bbFilter, QPoint(5, 5)), windowTitle(),
        Catalog::gettext("File filter:"), QString(),
        SelectFromListDlg::soEdit | SelectFromListDlg::soOrder, 0, StringUtils::tcLower, kAllFiles,
        masks, chosen, /*ShowCancel=*/true, SelectFromListDlg::TCheckEntry());
    if (answer != WinUtils::mrOk) return;
    const QString filter = StringUtils::WriteDelimitedText(masks, kMaskSeparator, kMaskQuote);
    edFilter->setEditText(filter);
    edFilter->AddItem(filter);
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    Sync::TDirInfo info = folderList_.Info(selected);
    info.Filter = filter;
    folderList_.SetInfo(selected, info);
}

void TMainForm::btRemoveClick() {
    edRefDir->TakeTypedFolder();
    // Nothing to remove: no question that leads nowhere.
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    if (!WinUtils::ConfirmDialogPos(WinUtils::BottomLeftPos(bbRemove), QString(),
                                    Catalog::gettext("Remove folder from list?"))) {
        return;
    }
    folderList_.Remove(selected);
    const int next = selected < folderList_.Count() ? selected : 0;
    edRefDir->Select(folderList_.Count() > 0 ? next : -1);
    ShowDirInfo();
}

void TMainForm::cbSubDirClick() {
    edRefDir->TakeTypedFolder();
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    Sync::TDirInfo info = folderList_.Info(selected);
    info.SubDir = cbSubDir->isChecked();
    folderList_.SetInfo(selected, info);
}

void TMainForm::btnInfoClick() {
    WinUtils::InfoDialog(windowTitle(), windowTitle() + QStringLiteral(" - ") + ProgVersDate_ +
                                            QStringLiteral("\r\n") +
                                            VersionInfo::ProgramVersion().Copyright +
                                            QStringLiteral("\r\n") + kContact);
}

void TMainForm::bbQuitClick() {
    close();  // stores the pair shown and the settings; stops a run first
}

void TMainForm::bbContextClick() {
    const ContextMenu::TMenuEntry entry =
        ContextMenu::RunningProgramEntry(ContextMenu::kPairwellVerbKey);
    try {
        ContextMenu::ToggleContextMenu(entry, OldContext_, [this](const QString& question) {
            return WinUtils::ConfirmDialogPos(WinUtils::BottomLeftPos(bbContext), QString(),
                                              question);
        });
    } catch (const FileUtils::EInOutError& error) {
        WinUtils::ErrorDialog(error.Message());
    }
    bbContext->setToolTip(ContextMenu::ContextButtonHint(OldContext_));
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
    edRefDir->TakeTypedFolder();
    if (edFilter->currentText().isEmpty()) edFilter->setEditText(kAllFiles);
    SaveDirInfo();
    TTwoWayInputs inputs;
    inputs.FirstFolder = edRefDir->currentText();
    inputs.SecondFolder = edSecondDir->currentText();
    inputs.Filter = edFilter->currentText();
    inputs.IncludeSubdirectories = cbSubDir->isChecked();
    inputs.OnlyDuplicates = cbDupl->isChecked();
    inputs.Preview = preview;
    inputs.Interactive = true;

    SetRunning(true, preview);
    TTwoWaySync run(*this);
    run.DoSync(inputs);
    // Clicks and keys held back while the last files were copied belong to this run: a click
    // on "Stop" must not start the next one.
    lbLog->Flush();
    QCoreApplication::processEvents();
    SetRunning(false, preview);

    // Every first folder that was run becomes an entry, with the values it was run with.
    if (!run.Refused() && edRefDir->Selected() < 0) {
        folderList_.Add(inputs.FirstFolder, DirInfoFromControls());
        edRefDir->ShowFolder(inputs.FirstFolder);
    }
    lbLog->Flush();
    if (closeWhenIdle_) QTimer::singleShot(0, this, &QWidget::close);
}

void TMainForm::SetRunning(bool running, bool preview) {
    Running_ = running;
    // The pair stays as it is while it runs; "Stop", the information and quitting stay at hand.
    if (running) focusBeforeRun_ = focusWidget();
    for (QWidget* control :
         std::initializer_list<QWidget*>{edRefDir, bbRefDir, bbRemove, edSecondDir, bbSecondDir,
                                         edFilter, cbSubDir, cbDupl, bbContext, bbPreview}) {
        control->setEnabled(!running);
    }
    if (!running && focusBeforeRun_) focusBeforeRun_->setFocus();
    if (!preview) bbSync->setText(Catalog::gettext(running ? "Stop" : "Start"));
    sinceEvents_.invalidate();
    sinceProgress_.invalidate();
    pbCopy->hide();
}

// ---- the run's view of the window ----

void TMainForm::ClearLog() {
    lbLog->Clear();
}

void TMainForm::AddLog(const QString& line) {
    lbLog->AddLine(line);
}

void TMainForm::SetStatus(const QString& text) {
    statusBar()->showMessage(text);
}

void TMainForm::ShowError(const QString& message) {
    lbLog->Flush();
    WinUtils::ErrorDialogPos(WinUtils::BottomLeftPos(bbSync), message);
}

void TMainForm::ProcessEvents() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventInterval) return;
    QCoreApplication::processEvents();
    sinceEvents_.start();
}

void TMainForm::CopyProgress(const Sync::TCopyProgress& progress) {
    // As often as the window looks at its events; the first and the last figures always.
    const bool last = progress.FilesDone == progress.FilesTotal;
    if (sinceProgress_.isValid() && sinceProgress_.elapsed() < kEventInterval && !last) return;
    sinceProgress_.start();
    const QLocale locale(Catalog::CurrentLanguage());  // numbers as the texts' language writes them
    const auto size = [&locale](uint64_t bytes) {
        return locale.formattedDataSize(qint64(bytes), 1, QLocale::DataSizeSIFormat);
    };
    statusBar()->showMessage(
        StringUtils::FormatSafe(Catalog::gettext("Copying: %s of %s files, %s of %s"),
                                {locale.toString(qulonglong(progress.FilesDone)),
                                 locale.toString(qulonglong(progress.FilesTotal)),
                                 size(progress.BytesDone), size(progress.BytesTotal)}));
    // By bytes, so that a large file moves the bar; by files when all of them are empty.
    const bool byBytes = progress.BytesTotal > 0;
    const uint64_t done = byBytes ? progress.BytesDone : progress.FilesDone;
    const uint64_t total = byBytes ? progress.BytesTotal : progress.FilesTotal;
    pbCopy->setValue(total > 0 ? int(done * kProgressSteps / total) : 0);
    pbCopy->show();
}
