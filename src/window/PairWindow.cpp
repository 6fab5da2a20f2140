// The main window both programs are built on.
#include "PairWindow.h"

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
#include "CommandLine.h"
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
#include "TranslateComponent.h"
#include "VersionInfo.h"
#include "WinUtils.h"

using Catalog::N_;

namespace Window {

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

QString Translated(const QString& msgid) {
    return Catalog::gettext(msgid.toUtf8().constData());
}

}  // namespace

TPairWindow::TPairWindow(const TPairWindowPlan& plan, QWidget* parent)
    : QMainWindow(parent), folderList_(plan.FolderList), plan_(plan) {
    BuildControls();
}

void TPairWindow::Create(QCheckBox* option, std::initializer_list<QPushButton*> actions) {
    option_ = option;
    actions_ = actions;
    Arrange();
    Catalog::TranslateComponent(this);

    QString name;
    VersionInfo::InitProgramInfo(plan_.ProgramName, plan_.DefaultVersion,
                                 VersionInfo::kMakerCopyright, 3, name, ProgVersDate_);
    setWindowTitle(Translated(plan_.ProgramName) + QStringLiteral(" (") +
                   VersionInfo::ProgramVersion().Comments + QLatin1Char(')'));

    const TProgramFiles files = ProgramFiles();
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

    OldContext_ = ContextMenu::ContextMenuExists(ContextMenu::RunningProgramEntry(plan_.VerbKey));
    bbContext->setToolTip(ContextMenu::ContextButtonHint(OldContext_));
}

TPairWindow::~TPairWindow() {
    if (!settingsWritten_) WriteSettings(/*report=*/false);
}

void TPairWindow::BuildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);

    FolderLabel = new QLabel(plan_.FolderLabel, central);
    edFolder = new TFolderListBox(folderList_, central);
    bbFolder = SmallButton(central, QStyle::SP_DirOpenIcon, plan_.FolderButtonHint);
    bbRemove = SmallButton(central, QStyle::SP_TrashIcon, N_("Remove folder from list"));
    PartnerLabel = new QLabel(plan_.PartnerLabel, central);
    edPartner = new HListBox::THistoryCombo(central);
    edPartner->SetMaxItems(kHistoryLength);
    edPartner->HistoryList().SetCaseSensitivity(Platform::kFileNameCase);
    bbPartner = SmallButton(central, QStyle::SP_DirOpenIcon, plan_.PartnerButtonHint);
    Label2 = new QLabel(N_("File filter:"), central);
    edFilter = new HListBox::THistoryCombo(central);
    edFilter->SetMaxItems(kHistoryLength);
    edFilter->setToolTip(N_("Use \";\" to separate multiple conditions"));
    bbFilter = SmallButton(central, QStyle::SP_FileDialogDetailedView, N_("Edit file filter"));
    cbSubDir = new QCheckBox(N_("Include subdirectories"), central);
    cbSubDir->setChecked(true);
    bbContext =
        SmallButton(central, QStyle::SP_DirLinkIcon, N_("Add program to folder context menu"));
    bbInfo = SmallButton(central, QStyle::SP_MessageBoxInformation, N_("About this program"));
    bbQuit = SmallButton(central, QStyle::SP_DialogCloseButton, N_("Quit"));
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
    const std::pair<QObject*, QString> names[] = {
        {FolderLabel, plan_.FolderLabelName},   {edFolder, plan_.FolderBoxName},
        {bbFolder, plan_.FolderButtonName},     {bbRemove, QStringLiteral("bbRemove")},
        {PartnerLabel, plan_.PartnerLabelName}, {edPartner, plan_.PartnerBoxName},
        {bbPartner, plan_.PartnerButtonName},   {Label2, QStringLiteral("Label2")},
        {edFilter, QStringLiteral("edFilter")}, {bbFilter, QStringLiteral("bbFilter")},
        {cbSubDir, QStringLiteral("cbSubDir")}, {bbContext, QStringLiteral("bbContext")},
        {bbInfo, QStringLiteral("bbInfo")},     {bbQuit, QStringLiteral("bbQuit")},
        {Label4, QStringLiteral("Label4")},     {lbLog, QStringLiteral("lbLog")},
        {pbCopy, QStringLiteral("pbCopy")},     {statusBar(), QStringLiteral("StatusBar")},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(name);

    FolderLabel->setBuddy(edFolder);
    PartnerLabel->setBuddy(edPartner);
    Label2->setBuddy(edFilter);

    connect(edFolder, &TFolderListBox::FolderEntered, this,
            [this](const QString& folder) { ChangeFolder(folder); });
    for (HListBox::THistoryCombo* box : {edPartner, edFilter}) {
        connect(
            box, &HListBox::THistoryCombo::ClosedUp, this, [this] { SaveDirInfo(); },
            Qt::QueuedConnection);
    }
    connect(bbFolder, &QToolButton::clicked, this, [this] { FolderButtonClick(); });
    connect(bbPartner, &QToolButton::clicked, this, [this] { PartnerButtonClick(); });
    connect(bbRemove, &QToolButton::clicked, this, [this] { RemoveButtonClick(); });
    connect(bbFilter, &QToolButton::clicked, this, [this] { FilterButtonClick(); });
    connect(cbSubDir, &QCheckBox::clicked, this, [this] { SubDirClick(); });
    connect(bbInfo, &QToolButton::clicked, this, [this] { InfoClick(); });
    // Closing stores the pair shown and the settings; it stops a run first.
    connect(bbQuit, &QToolButton::clicked, this, [this] { close(); });
    connect(bbContext, &QToolButton::clicked, this, [this] { ContextClick(); });
}

void TPairWindow::Arrange() {
    auto* grid = new QGridLayout(centralWidget());
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
    grid->addWidget(FolderLabel, 0, 0);
    grid->addLayout(row({edFolder, bbFolder, bbRemove}), 1, 0);
    grid->addWidget(PartnerLabel, 2, 0);
    grid->addLayout(row({edPartner, bbPartner}), 3, 0);
    grid->addWidget(Label2, 4, 0);
    grid->addLayout(row({edFilter, bbFilter}), 5, 0);
    auto* options = new QHBoxLayout;
    options->addWidget(cbSubDir);
    options->addSpacing(16);
    options->addWidget(option_);
    options->addStretch(1);
    grid->addLayout(options, 6, 0);

    auto* actions = new QVBoxLayout;
    for (QPushButton* action : actions_)
        actions->addWidget(action);
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

    actions_.first()->setDefault(true);
    QWidget* previous = edFolder;
    for (QWidget* next : std::initializer_list<QWidget*>{edPartner, edFilter, cbSubDir, option_}) {
        setTabOrder(previous, next);
        previous = next;
    }
    for (QPushButton* action : actions_) {
        setTabOrder(previous, action);
        previous = action;
    }
    resize(plan_.DesignSize);
}

// ---- settings ----

void TPairWindow::ReadSettings() {
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

    edPartner->LoadFromIni(ini, plan_.PartnerHistory);
    if (edPartner->HistoryList().Count() > 0) edPartner->setCurrentIndex(0);
}

// Everything goes into the file in one save: the window's values, the folder list and the two
// histories. A value the file cannot hold costs only itself.
void TPairWindow::WriteSettings(bool report) {
    settingsWritten_ = true;
    try {
        IniFiles::TIniFile ini(IniName_);
        if (shown_) {  // a window never shown has no place of its own to keep
            ini.WriteInteger(kConfig, QStringLiteral("Top"), y());
            ini.WriteInteger(kConfig, QStringLiteral("Left"), x());
            ini.WriteInteger(kConfig, QStringLiteral("Height"), height());
            ini.WriteInteger(kConfig, QStringLiteral("Width"), width());
        }
        ini.WriteString(kConfig, QStringLiteral("LastDir"), edFolder->currentText());
        folderList_.Save(ini);
        edFilter->SaveHistory(ini);
        edPartner->SaveHistory(ini);
        ini.UpdateFile();
    } catch (const FileUtils::EInOutError& error) {
        if (report) {
            WinUtils::ErrorDialog(error.Message());
        } else {
            qWarning("%s", error.what());
        }
    }
}

bool TPairWindow::ContextButtonVisible() const {
    return !bbContext->isHidden();
}

// ---- the pair between controls and entry ----

void TPairWindow::ShowDirInfo() {
    const int selected = edFolder->Selected();
    if (selected < 0) return;
    const Sync::TDirInfo info = folderList_.Info(selected);
    edFolder->Select(selected);
    cbSubDir->setChecked(info.SubDir);
    ShowOptions(info);
    edPartner->setEditText(info.DirName);
    edFilter->setEditText(info.Filter);
}

Sync::TDirInfo TPairWindow::DirInfoFromControls() const {
    Sync::TDirInfo info;
    info.DirName = edPartner->currentText();
    info.Filter = edFilter->currentText();
    info.SubDir = cbSubDir->isChecked();
    ReadOptions(info);
    return info;
}

void TPairWindow::SaveDirInfo() {
    const int selected = edFolder->Selected();
    if (selected < 0) return;
    folderList_.SetInfo(selected, DirInfoFromControls());
}

void TPairWindow::ChangeFolder(const QString& folder) {
    SaveDirInfo();
    edFolder->ShowFolder(folder);
    ShowDirInfo();
}

// ---- showing ----

void TPairWindow::showEvent(QShowEvent* event) {
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

void TPairWindow::SelectFirstEntry() {
    edFolder->Select(folderList_.Count() > 0 ? 0 : -1);
}

void TPairWindow::FormShow() {
    if (CurrentDir_.isEmpty()) {
        SelectFirstEntry();
    } else if (folderList_.Find(CurrentDir_) >= 0) {
        edFolder->ShowFolder(CurrentDir_);
    } else {
        // A folder without an entry (from the file manager, say) gets a partner of its own,
        // never the partner some other pair left in the window. The folder is shown, with no
        // entry selected, while its partner is chosen once the window is on the screen.
        edFolder->ShowFolder(CurrentDir_);
        QTimer::singleShot(0, this, [this] { AskForPartner(); });
        return;
    }
    ShowDirInfo();
    actions_.first()->setFocus();
}

void TPairWindow::AskForPartner() {
    QString partner;
    if (WantsPartnerFor(CurrentDir_) && SelectPartner(partner)) {
        edFilter->setEditText(kAllFiles);
        folderList_.Add(CurrentDir_, {edPartner->currentText(), kAllFiles, true, false});
        edFolder->ShowFolder(CurrentDir_);
    } else {
        SelectFirstEntry();
    }
    ShowDirInfo();
    actions_.first()->setFocus();
}

bool TPairWindow::SelectPartner(QString& chosen) {
    const QString text = edPartner->currentText();
    chosen = text.isEmpty() ? UserPath_ : FileUtils::NearestExistingFolder(text, UserPath_);
    if (!ChooseFolder(plan_.PartnerButtonHint, edFolder->currentText(), chosen)) return false;
    edPartner->setEditText(chosen);
    edPartner->AddItem(chosen);
    return true;
}

void TPairWindow::keyPressEvent(QKeyEvent* event) {
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
            actions_.first()->click();
        }
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void TPairWindow::closeEvent(QCloseEvent* event) {
    if (Running_) {
        // Stop the run first, between two files; the window closes as soon as it has ended.
        Running_ = false;
        closeWhenIdle_ = true;
        event->ignore();
        return;
    }
    if (!settingsWritten_) {
        edFolder->TakeTypedFolder();
        SaveDirInfo();
        WriteSettings(/*report=*/isVisible());
    }
    QMainWindow::closeEvent(event);
}

// ---- handlers ----

bool TPairWindow::ChooseFolder(const QString& title, const QString& homeDir, QString& folder) {
    ShellDirDlg::TShellDirDialog* dialog = ShellDirDlg::TShellDirDialog::Instance();
    Q_ASSERT(dialog != nullptr);  // the entry routine makes it before the window is shown
    return dialog->Execute(Translated(title), /*Hidden=*/true, /*FileView=*/true,
                           /*ZipAsFiles=*/true, homeDir, folder);
}

void TPairWindow::FolderButtonClick() {
    edFolder->TakeTypedFolder();
    QString start = edFolder->currentText();
    if (start.isEmpty()) start = edPartner->currentText();
    if (start.isEmpty()) start = UserPath_;
    SaveDirInfo();
    QString chosen = start;
    if (!ChooseFolder(plan_.FolderButtonHint, QString(), chosen)) return;
    // A new folder starts with the values shown. Either way its entry is selected, so
    // that what the user edits next lands on the pair shown.
    if (folderList_.Find(chosen) < 0) folderList_.Add(chosen, DirInfoFromControls());
    ChangeFolder(chosen);
}

void TPairWindow::PartnerButtonClick() {
    edFolder->TakeTypedFolder();
    QString chosen;
    if (!SelectPartner(chosen)) return;
    if (edFilter->HistoryList().Count() == 0) {
        edFilter->setEditText(kAllFiles);
        edFilter->AddItem(kAllFiles);
    }
    const int selected = edFolder->Selected();
    if (selected >= 0) {
        Sync::TDirInfo info = folderList_.Info(selected);
        info.DirName = chosen;
        folderList_.SetInfo(selected, info);
    }
}

void TPairWindow::FilterButtonClick() {
    edFolder->TakeTypedFolder();
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
    const int selected = edFolder->Selected();
    if (selected < 0) return;
    Sync::TDirInfo info = folderList_.Info(selected);
    info.Filter = filter;
    folderList_.SetInfo(selected, info);
}

void TPairWindow::RemoveButtonClick() {
    edFolder->TakeTypedFolder();
    // Nothing to remove: no question that leads nowhere.
    const int selected = edFolder->Selected();
    if (selected < 0) return;
    if (!WinUtils::ConfirmDialogPos(WinUtils::BottomLeftPos(bbRemove), QString(),
                                    Catalog::gettext("Remove folder from list?"))) {
        return;
    }
    folderList_.Remove(selected);
    const int next = selected < folderList_.Count() ? selected : 0;
    edFolder->Select(folderList_.Count() > 0 ? next : -1);
    ShowDirInfo();
}

void TPairWindow::SubDirClick() {
    edFolder->TakeTypedFolder();
    const int selected = edFolder->Selected();
    if (selected < 0) return;
    Sync::TDirInfo info = folderList_.Info(selected);
    info.SubDir = cbSubDir->isChecked();
    folderList_.SetInfo(selected, info);
}

void TPairWindow::InfoClick() {
    WinUtils::InfoDialog(windowTitle(), windowTitle() + QStringLiteral(" - ") + ProgVersDate_ +
                                            QStringLiteral("\r\n") +
                                            VersionInfo::ProgramVersion().Copyright +
                                            QStringLiteral("\r\n") + kContact);
}

void TPairWindow::ContextClick() {
    const ContextMenu::TMenuEntry entry = ContextMenu::RunningProgramEntry(plan_.VerbKey);
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

void TPairWindow::RunShownPair(QPushButton* start, const std::function<bool()>& run) {
    edFolder->TakeTypedFolder();
    if (edFilter->currentText().isEmpty()) edFilter->setEditText(kAllFiles);
    SaveDirInfo();
    const QString folder = edFolder->currentText();

    SetRunning(true, start);
    const bool wentAhead = run();
    // Clicks and keys held back while the last files were copied belong to this run: a click
    // on "Stop" must not start the next one.
    lbLog->Flush();
    QCoreApplication::processEvents();
    SetRunning(false, start);

    // Every folder that was run becomes an entry, with the values it was run with.
    if (wentAhead && edFolder->Selected() < 0) {
        folderList_.Add(folder, DirInfoFromControls());
        edFolder->ShowFolder(folder);
    }
    lbLog->Flush();
    if (closeWhenIdle_) QTimer::singleShot(0, this, &QWidget::close);
}

void TPairWindow::SetRunning(bool running, QPushButton* start) {
    Running_ = running;
    // The pair stays as it is while it runs; "Stop", the information and quitting stay at hand.
    if (running) focusBeforeRun_ = focusWidget();
    for (QWidget* control :
         std::initializer_list<QWidget*>{edFolder, bbFolder, bbRemove, edPartner, bbPartner,
                                         edFilter, bbFilter, cbSubDir, option_, bbContext}) {
        control->setEnabled(!running);
    }
    for (QPushButton* action : actions_.mid(1))
        action->setEnabled(!running);
    if (!running && focusBeforeRun_) focusBeforeRun_->setFocus();
    if (start != nullptr) start->setText(Catalog::gettext(running ? "Stop" : "Start"));
    sinceEvents_.invalidate();
    sinceProgress_.invalidate();
    pbCopy->hide();
}

// ---- the run's view of the window ----

void TPairWindow::ClearLog() {
    lbLog->Clear();
}

void TPairWindow::AddLog(const QString& line) {
    lbLog->AddLine(line);
}

void TPairWindow::SetStatus(const QString& text) {
    statusBar()->showMessage(text);
}

void TPairWindow::ShowError(const QString& message) {
    lbLog->Flush();
    WinUtils::ErrorDialogPos(WinUtils::BottomLeftPos(actions_.first()), message);
}

void TPairWindow::ProcessEvents() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventInterval) return;
    QCoreApplication::processEvents();
    sinceEvents_.start();
}

void TPairWindow::CopyProgress(const Sync::TCopyProgress& progress) {
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

}  // namespace Window
