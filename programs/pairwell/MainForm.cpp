// The main window of Pairwell.
#include "MainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTextStream>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "Catalog.h"
#include "ContextMenu.h"
#include "FileSystemOps.h"
#include "FolderListBox.h"
#include "FormatSafe.h"
#include "HListBox.h"
#include "IniFiles.h"
#include "Paths.h"
#include "ProgramInit.h"
#include "StringUtils.h"
#include "TranslateComponent.h"
#include "VersionInfo.h"
#include "WinUtils.h"

using Catalog::N_;
using namespace FileUtils;

namespace {

const QString kConfig = QStringLiteral("Config");
const QString kDirSection = QStringLiteral("RefDir");
const QString kAllFiles = QStringLiteral("*.*");
const QString kContact = QStringLiteral("info@quillonsoft.example");
constexpr int kHistoryLength = 15;
constexpr int kRepaintInterval = 100;  // milliseconds between repaints while copying

QToolButton* SmallButton(QWidget* parent, QStyle::StandardPixmap icon, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(hint);
    button->setAutoRaise(false);
    return button;
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    BuildControls();
    Catalog::TranslateComponent(this);
    ProgramInit::InitPaths(AppPath_, UserPath_);

    QString name;
    VersionInfo::InitProgramInfo(QStringLiteral("Synchronize folders"), QStringLiteral("1.0"),
                                 VersionInfo::kMakerCopyright, 3, name, ProgVersDate_);
    setWindowTitle(Catalog::gettext("Synchronize folders") + QStringLiteral(" (") +
                   VersionInfo::ProgramVersion().Comments + QLatin1Char(')'));

    IniName_ = ComposeFileName(AppPath_, ProgramInit::ProgramName(), QStringLiteral("ini"));
    LogName_ = ReplaceFileExt(IniName_, QStringLiteral(".log"));
    ReadSettings();

    Running_ = false;
    Force_ = false;
    ReadFirstParameter();

    OldContext_ = ContextMenu::ContextMenuExists(
        ContextMenu::RunningProgramEntry(ContextMenu::kPairwellVerbKey));
    bbContext->setToolTip(ContextMenu::ContextButtonHint(OldContext_));
}

TMainForm::~TMainForm() {
    WriteSettings();
}

void TMainForm::BuildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* grid = new QGridLayout(central);

    Label3 = new QLabel(N_("First folder:"), central);
    edRefDir = new TFolderListBox(central);
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
    // The filter is edited in its box until the list editor is there.
    bbFilter->setEnabled(false);
    cbSubDir = new QCheckBox(N_("Include subdirectories"), central);
    cbSubDir->setChecked(true);
    cbDupl = new QCheckBox(N_("Only duplicate files"), central);
    bbContext =
        SmallButton(central, QStyle::SP_DirLinkIcon, N_("Add program to folder context menu"));
    bbInfo = SmallButton(central, QStyle::SP_MessageBoxInformation, QString());
    bbQuit = SmallButton(central, QStyle::SP_DialogCloseButton, QString());
    bbPreview = new QPushButton(N_("Preview"), central);
    bbSync = new QPushButton(N_("Start"), central);
    bbSync->setDefault(true);
    Label4 = new QLabel(N_("Synchronization log:"), central);
    lbLog = new QListWidget(central);
    lbLog->setFocusPolicy(Qt::NoFocus);
    lbLog->setUniformItemSizes(true);  // long logs stay quick
    lbLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
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
        {statusBar(), "StatusBar"},
    };
    for (const auto& [object, name] : names)
        object->setObjectName(QLatin1String(name));

    Label3->setBuddy(edRefDir);
    Label1->setBuddy(edSecondDir);
    Label2->setBuddy(edFilter);

    // Boxes stretch with the window; buttons keep to the right; the log grows both ways.
    const auto row = [central](std::initializer_list<QWidget*> widgets, int stretchFirst) {
        auto* line = new QHBoxLayout;
        bool first = true;
        for (QWidget* widget : widgets) {
            line->addWidget(widget, first ? stretchFirst : 0);
            first = false;
        }
        return line;
    };
    grid->addWidget(Label3, 0, 0);
    grid->addLayout(row({edRefDir, bbRefDir, bbRemove}, 1), 1, 0);
    grid->addWidget(Label1, 2, 0);
    grid->addLayout(row({edSecondDir, bbSecondDir}, 1), 3, 0);
    grid->addWidget(Label2, 4, 0);
    grid->addLayout(row({edFilter, bbFilter}, 1), 5, 0);
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

    connect(edRefDir, &TFolderListBox::DroppedDown, this, [this] { SaveDirInfo(); });
    connect(
        edRefDir, &TFolderListBox::ClosedUp, this, [this] { ShowDirInfo(); }, Qt::QueuedConnection);
    for (HListBox::THistoryCombo* box : {edSecondDir, edFilter}) {
        connect(
            box, &HListBox::THistoryCombo::ClosedUp, this, [this] { SaveDirInfo(); },
            Qt::QueuedConnection);
    }
    connect(bbRefDir, &QToolButton::clicked, this, [this] { btRefDirClick(); });
    connect(bbSecondDir, &QToolButton::clicked, this, [this] { btSecondDirClick(); });
    connect(bbRemove, &QToolButton::clicked, this, [this] { btRemoveClick(); });
    connect(cbSubDir, &QCheckBox::clicked, this, [this] { cbSubDirClick(); });
    connect(bbInfo, &QToolButton::clicked, this, [this] { btnInfoClick(); });
    connect(bbQuit, &QToolButton::clicked, this, [this] { bbQuitClick(); });
    connect(bbContext, &QToolButton::clicked, this, [this] { bbContextClick(); });
    connect(bbSync, &QPushButton::clicked, this, [this] { bbSyncClick(); });
    connect(bbPreview, &QPushButton::clicked, this, [this] { bbPreviewClick(); });
}

// ---- settings ----

void TMainForm::ReadSettings() {
    {
        const IniFiles::TIniFile ini(IniName_);
        const int top = ini.ReadInteger(kConfig, QStringLiteral("Top"), y());
        const int left = ini.ReadInteger(kConfig, QStringLiteral("Left"), x());
        const int height = ini.ReadInteger(kConfig, QStringLiteral("Height"), this->height());
        const int width = ini.ReadInteger(kConfig, QStringLiteral("Width"), this->width());
        move(left, top);
        resize(width, height);
        CurrentDir_ = ini.ReadString(kConfig, QStringLiteral("LastDir"), QString());
        LoadDirList(ini, kDirSection, ini.ReadInteger(kConfig, QStringLiteral("DirCount"), 0));
    }

    edFilter->LoadFromIni(IniName_, QStringLiteral("Filter"));
    if (edFilter->HistoryList().Count() == 0) {
        edFilter->setEditText(kAllFiles);
        edFilter->AddItem(kAllFiles);
    }
    edFilter->setCurrentIndex(0);

    edSecondDir->LoadFromIni(IniName_, QStringLiteral("Directories"));
    if (edSecondDir->HistoryList().Count() > 0) edSecondDir->setCurrentIndex(0);
}

void TMainForm::LoadDirList(const IniFiles::TIniFile& ini, const QString& prefix, int count) {
    for (int i = 0; i < count; ++i) {
        const QString section = prefix + StringUtils::ZeroPaddedInt(2, i);
        const QString name = ini.ReadString(section, QStringLiteral("Name"), QString());
        if (name.isEmpty()) continue;  // a missing section or an entry without a name
        TDirInfo info;
        info.DirName = ini.ReadString(section, QStringLiteral("Directory"), QString());
        info.Filter = ini.ReadString(section, QStringLiteral("Filter"), kAllFiles);
        info.SubDir = ini.ReadBool(section, QStringLiteral("Subdirectories"), true);
        info.Dupl = ini.ReadBool(section, QStringLiteral("Duplicates"), false);
        edRefDir->AddEntry(name, QVariant::fromValue(info));
    }
}

// Everything goes into the file in one save: the window's values, the folder list and the two
// histories.
void TMainForm::WriteSettings() {
    try {
        IniFiles::TIniFile ini(IniName_);
        ini.WriteInteger(kConfig, QStringLiteral("Top"), y());
        ini.WriteInteger(kConfig, QStringLiteral("Left"), x());
        ini.WriteInteger(kConfig, QStringLiteral("Height"), height());
        ini.WriteInteger(kConfig, QStringLiteral("Width"), width());
        ini.WriteString(kConfig, QStringLiteral("LastDir"), edRefDir->currentText());
        ini.WriteInteger(kConfig, QStringLiteral("DirCount"), edRefDir->Count());
        SaveDirList(ini, kDirSection);
        edFilter->SaveHistory(ini);
        edSecondDir->SaveHistory(ini);
        ini.UpdateFile();
    } catch (const FileUtils::EInOutError& error) {
        qWarning("%s", error.what());  // the settings of this session are lost, nothing else
    }
}

void TMainForm::SaveDirList(IniFiles::TIniFile& ini, const QString& prefix) {
    for (int i = 0; i < edRefDir->Count(); ++i) {
        const QString section = prefix + StringUtils::ZeroPaddedInt(2, i);
        const TDirInfo info = edRefDir->Data(i).value<TDirInfo>();
        ini.EraseSection(section);
        ini.WriteString(section, QStringLiteral("Name"), edRefDir->Name(i));
        ini.WriteString(section, QStringLiteral("Directory"), info.DirName);
        ini.WriteString(section, QStringLiteral("Filter"), info.Filter);
        ini.WriteBool(section, QStringLiteral("Subdirectories"), info.SubDir);
        ini.WriteBool(section, QStringLiteral("Duplicates"), info.Dupl);
    }
}

// The first parameter that is not an option of program initialisation: "force" asks for an
// unattended run, a folder (or the folder of a file) is the first folder to preselect.
void TMainForm::ReadFirstParameter() {
    const QStringList& arguments = ProgramInit::ProgramArguments();
    QString text;
    bool option = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--")) {
            // What follows "--" is a name, never an option.
            if (i + 1 < arguments.size()) text = arguments[i + 1];
            break;
        }
        if (ProgramInit::IsProgramInitOption(arguments[i])) continue;
        text = arguments[i];
        option = text.startsWith(QLatin1Char('-'));
        break;
    }
    if (option) {
        text = text.mid(text.startsWith(QLatin1String("--")) ? 2 : 1);
        if (StringUtils::MatchesKeyword(text, QStringLiteral("force"))) Force_ = true;
    }
    if (!IsExistingFolder(text)) text = ExtractFilePath(text);
    if (text.isEmpty()) return;
    CurrentDir_ = IncludeTrailingDelimiter(text);
    bbContext->hide();
}

bool TMainForm::ContextButtonVisible() const {
    return !bbContext->isHidden();
}

// ---- the pair between controls and entry ----

void TMainForm::ShowDirInfo() {
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    const TDirInfo info = edRefDir->Data(selected).value<TDirInfo>();
    edRefDir->setEditText(edRefDir->Name(selected));
    cbSubDir->setChecked(info.SubDir);
    cbDupl->setChecked(info.Dupl);
    edSecondDir->setEditText(info.DirName);
    edFilter->setEditText(info.Filter);
}

TDirInfo TMainForm::DirInfoFromControls() const {
    TDirInfo info;
    info.DirName = edSecondDir->currentText();
    info.Filter = edFilter->currentText();
    info.SubDir = cbSubDir->isChecked();
    info.Dupl = cbDupl->isChecked();
    return info;
}

void TMainForm::SaveDirInfo() {
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    edRefDir->SetData(selected, QVariant::fromValue(DirInfoFromControls()));
}

// ---- showing and the unattended run ----

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TMainForm::FormShow() {
    if (CurrentDir_.isEmpty()) {
        edRefDir->Select(edRefDir->Count() > 0 ? 0 : -1);
    } else if (const int entry = edRefDir->FindEntry(CurrentDir_); entry >= 0) {
        edRefDir->Select(entry);
    } else {
        // A folder without an entry yet: shown, so that a second folder can be given to it.
        edRefDir->Select(-1);
        edRefDir->setEditText(CurrentDir_);
    }
    ShowDirInfo();
    bbSync->setFocus();
}

bool TMainForm::CheckForce() {
    const bool unattended = Force_ && !CurrentDir_.isEmpty();
    edRefDir->Select(edRefDir->FindEntry(CurrentDir_));
    if (!unattended) return false;
    // The pair the user set up for this folder, never values another pair left behind.
    ShowDirInfo();

    QFile log(LogName_);
    QTextStream stream(&log);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const QString first = Catalog::gettext("First folder:");
        const QString second = Catalog::gettext("Second folder:");
        const int width = int(std::max(first.size(), second.size())) + 1;
        const QDateTime now = QDateTime::currentDateTime();
        const QLocale locale;
        stream << Catalog::gettext("Start synchronizing") << " - "
               << locale.toString(now.date(), QLocale::ShortFormat) << ' '
               << locale.toString(now.time(), QLocale::LongFormat) << '\n'
               << StringUtils::PadRightSpaces(first, width) << edRefDir->currentText() << '\n'
               << StringUtils::PadRightSpaces(second, width) << edSecondDir->currentText() << '\n';
        report_ = &stream;
    }
    unattendedErrors_ = Run(/*preview=*/false, /*interactive=*/false);
    report_ = nullptr;
    stream.flush();
    return true;
}

// ---- handlers ----

QString TMainForm::ChooseFolder(const QString& title, const QString& start) {
    return QFileDialog::getExistingDirectory(this, title, start);
}

void TMainForm::btRefDirClick() {
    QString start = edRefDir->currentText();
    if (start.isEmpty()) start = edSecondDir->currentText();
    if (start.isEmpty()) start = UserPath_;
    SaveDirInfo();
    const QString chosen = ChooseFolder(Catalog::gettext("Select first folder"), start);
    if (chosen.isEmpty()) return;
    edRefDir->setEditText(chosen);
    if (edRefDir->FindEntry(chosen) < 0) {
        edRefDir->AddEntry(chosen, QVariant::fromValue(DirInfoFromControls()));
    } else {
        ShowDirInfo();
    }
}

void TMainForm::btSecondDirClick() {
    const QString text = edSecondDir->currentText();
    const QString chosen =
        ChooseFolder(Catalog::gettext("Select second folder"), text.isEmpty() ? UserPath_ : text);
    if (chosen.isEmpty()) return;
    edSecondDir->setEditText(chosen);
    edSecondDir->AddItem(chosen);
    if (edFilter->HistoryList().Count() == 0) {
        edFilter->setEditText(kAllFiles);
        edFilter->AddItem(kAllFiles);
    }
    const int selected = edRefDir->Selected();
    if (!edRefDir->currentText().isEmpty() && selected >= 0) {
        TDirInfo info = edRefDir->Data(selected).value<TDirInfo>();
        info.DirName = chosen;
        edRefDir->SetData(selected, QVariant::fromValue(info));
    }
}

void TMainForm::btRemoveClick() {
    // Nothing to remove: no question that leads nowhere.
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    if (!WinUtils::ConfirmDialogPos(WinUtils::BottomLeftPos(bbRemove), QString(),
                                    Catalog::gettext("Remove folder from list?"))) {
        return;
    }
    edRefDir->RemoveEntry(selected);
    const int next = selected < edRefDir->Count() ? selected : 0;
    edRefDir->Select(edRefDir->Count() > 0 ? next : -1);
    ShowDirInfo();
}

void TMainForm::cbSubDirClick() {
    const int selected = edRefDir->Selected();
    if (selected < 0) return;
    TDirInfo info = edRefDir->Data(selected).value<TDirInfo>();
    info.SubDir = cbSubDir->isChecked();
    edRefDir->SetData(selected, QVariant::fromValue(info));
}

void TMainForm::btnInfoClick() {
    WinUtils::InfoDialog(windowTitle(), windowTitle() + QStringLiteral(" - ") + ProgVersDate_ +
                                            QStringLiteral("\r\n") +
                                            VersionInfo::ProgramVersion().Copyright +
                                            QStringLiteral("\r\n") + kContact);
}

void TMainForm::bbQuitClick() {
    SaveDirInfo();
    close();
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
        Running_ = false;  // a stop request: the run notices it at its next folder
        return;
    }
    bbSync->setText(Catalog::gettext("Stop"));
    RunAndReport(/*preview=*/false);
    bbSync->setText(Catalog::gettext("Start"));
}

void TMainForm::bbPreviewClick() {
    if (Running_) return;  // no run inside a run
    RunAndReport(/*preview=*/true);
}

void TMainForm::RunAndReport(bool preview) {
    bbPreview->setEnabled(false);
    sinceRepaint_.start();
    Run(preview, /*interactive=*/true);
    bbPreview->setEnabled(true);
    if (closeWhenIdle_) QTimer::singleShot(0, this, &QWidget::close);
}

bool TMainForm::Run(bool preview, bool interactive) {
    if (edFilter->currentText().isEmpty()) edFilter->setEditText(QStringLiteral("*.*"));
    SaveDirInfo();
    TTwoWayInputs inputs;
    inputs.FirstFolder = edRefDir->currentText();
    inputs.SecondFolder = edSecondDir->currentText();
    inputs.Filter = edFilter->currentText();
    inputs.IncludeSubdirectories = cbSubDir->isChecked();
    inputs.OnlyDuplicates = cbDupl->isChecked();
    inputs.Preview = preview;
    inputs.Interactive = interactive;
    Running_ = true;
    TTwoWaySync run(*this);
    run.DoSync(inputs);
    Running_ = false;
    return run.ErrorsLogged();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (Running_) {
        // Stop the run first; the window closes as soon as it has ended.
        Running_ = false;
        closeWhenIdle_ = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// ---- the run's view of the window ----

void TMainForm::ClearLog() {
    lbLog->clear();
}

void TMainForm::AddLog(const QString& line) {
    if (report_ != nullptr) {
        *report_ << line << '\n';  // an unattended run writes its lines straight to the report
        return;
    }
    lbLog->addItem(line);
    lbLog->setCurrentRow(lbLog->count() - 1);
}

void TMainForm::SetStatus(const QString& text) {
    statusBar()->showMessage(text);
}

void TMainForm::ShowError(const QString& message) {
    WinUtils::ErrorDialogPos(WinUtils::BottomLeftPos(bbSync), message);
}

void TMainForm::ProcessEvents() {
    QCoreApplication::processEvents();
}

void TMainForm::KeepAlive() {
    // Paint, but take no input: the copy passes cannot be stopped.
    if (sinceRepaint_.isValid() && sinceRepaint_.elapsed() < kRepaintInterval) return;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    sinceRepaint_.restart();
}
