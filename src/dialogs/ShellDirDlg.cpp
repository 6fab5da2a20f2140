// The folder selection dialog.
#include "ShellDirDlg.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <stdexcept>

#include <QAction>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileIconProvider>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeDatabase>
#include <QMutex>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "Catalog.h"
#include "FileInfo.h"
#include "FileSystemOps.h"
#include "Folders.h"
#include "FormatSafe.h"
#include "HListBox.h"
#include "IniFiles.h"
#include "InpText.h"
#include "NetworkProbe.h"
#include "Paths.h"
#include "SelectDlg.h"
#include "SpecialFolders.h"
#include "TranslateComponent.h"

namespace ShellDirDlg {

using Catalog::N_;

namespace {

// The room a title bar takes beside its text: the icon and the window buttons.
constexpr int kTitleBarButtons = 140;

// Design sizes at 96 dots per inch.
constexpr int kClientWidth = 801;
constexpr int kClientHeight = 406;
constexpr int kRightWidth = 390;
constexpr int kRootPanelWidth = 96;
constexpr int kRootButtonWidth = 94;
constexpr int kRootButtonHeight = 71;
constexpr int kRootIconSize = 32;
constexpr int kSmallButtonSize = 21;
constexpr int kMargin = 6;

// The file list's columns after the name, in characters, and what they take with the frame.
constexpr int kSizeChars = 12;
constexpr int kTypeChars = 15;
constexpr int kDateChars = 17;
constexpr int kOtherColumnsChars = 48;
constexpr int kMinNameChars = 12;
// A new window gives names this much room, whatever the size of the font.
constexpr int kDefaultNameChars = 24;

// As many history entries as the drop-down list shows are read back; up to 100 are kept while
// the program runs (and written).
constexpr int kHistoryRead = 15;
constexpr int kHistoryMax = 100;
const QString kHistoryKey = QStringLiteral("History");

TShellDirDialog* TheInstance = nullptr;

// Pictures and type names of entries, looked up once for each kind of entry: the model asks for
// every entry it lists, on the window's thread too, and a lookup for each of tens of thousands
// of files would stall the window. Entries of a kind are told apart by their extension, or by
// their name alone, and take what the first of them got. Asked from the loading thread too.
class TEntryKinds : public QFileIconProvider {
  public:
    QIcon icon(const QFileInfo& info) const override { return KindOf(info).Icon; }
    QString type(const QFileInfo& info) const override { return KindOf(info).Type; }
    using QFileIconProvider::icon;

  private:
    struct TKind {
        QIcon Icon;
        QString Type;
    };

    TKind KindOf(const QFileInfo& info) const {
        // The root is a drive, with a picture of its own.
        if (info.isRoot()) return {QFileIconProvider::icon(info), QFileIconProvider::type(info)};
        QString key;
        if (info.isDir()) {
            key = QStringLiteral("/");
        } else if (!info.suffix().isEmpty()) {
            key = info.suffix().toLower();
        } else {
            key = u':' +
                  mimeTypes_.mimeTypeForFile(info.fileName(), QMimeDatabase::MatchExtension).name();
        }
        const QMutexLocker lock(&mutex_);
        auto known = kinds_.constFind(key);
        if (known == kinds_.constEnd())
            known =
                kinds_.insert(key, {QFileIconProvider::icon(info), QFileIconProvider::type(info)});
        return *known;
    }

    QMimeDatabase mimeTypes_;
    mutable QMutex mutex_;
    mutable QHash<QString, TKind> kinds_;
};

// The file-system model with the headers of the file list in the dialog's language.
class TFolderModel : public QFileSystemModel {
  public:
    using QFileSystemModel::QFileSystemModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QFileSystemModel::headerData(section, orientation, role);
        switch (section) {
            case 0:
                return Catalog::dgettext("dialogs", "Name");
            case 1:
                return Catalog::dgettext("dialogs", "Size");
            case 2:
                return Catalog::dgettext("dialogs", "Type");
            case 3:
                return Catalog::dgettext("dialogs", "Date Modified");
            default:
                return QFileSystemModel::headerData(section, orientation, role);
        }
    }
};

// The folder as the model names it: no trailing delimiter (except the root), no "." or "..".
QString ModelPath(const QString& folder) {
    return QDir::cleanPath(folder);
}

bool NamesExistingFolder(const QString& text) {
    return !text.isEmpty() && FileUtils::IsAbsolutePath(text) && FileUtils::DirectoryExists(text);
}

bool IsWithin(const QString& folder, const QString& root) {
    return Platform::SameFileName(folder, root) ||
           folder.startsWith(FileUtils::IncludeTrailingDelimiter(root), Platform::kFileNameCase);
}

// A special folder, or the nearest folder above it that exists.
QString ExistingSpecialFolder(int csidl) {
    return FileUtils::NearestExistingFolder(Platform::GetSpecialFolderPath(csidl),
                                            QDir::currentPath());
}

QIcon ThemeIcon(const QWidget* widget, const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QString::fromLatin1(name), widget->style()->standardIcon(fallback));
}

// A picture that fills `size`: without an icon theme some of the toolkit's own pictures are
// smaller and are enlarged.
QIcon FilledIcon(const QIcon& icon, int size) {
    const QPixmap pixmap = icon.pixmap(size);
    if (pixmap.isNull() || pixmap.width() >= size) return icon;
    return QIcon(pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QToolButton* RootButton(const QString& caption, const char* name, const char* icon,
                        QStyle::StandardPixmap fallback, QWidget* parent, int dpi) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    const int iconSize = WinUtils::ScaledLength(kRootIconSize, dpi);
    button->setIcon(FilledIcon(ThemeIcon(parent, icon, fallback), iconSize));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    button->setMinimumSize(WinUtils::ScaledLength(kRootButtonWidth, dpi),
                           WinUtils::ScaledLength(kRootButtonHeight, dpi));
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

QToolButton* SmallButton(const QString& tip, const char* name, const char* icon,
                         QStyle::StandardPixmap fallback, QWidget* parent, int dpi) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(tip);
    button->setIcon(ThemeIcon(parent, icon, fallback));
    button->setAutoRaise(true);
    const int size = WinUtils::ScaledLength(kSmallButtonSize, dpi);
    button->setMinimumSize(size, size);
    return button;
}

QAction* MenuItem(const QString& caption, const char* name, QMenu* menu) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

}  // namespace

TShellDirDialog::TShellDirDialog(QWidget* parent)
    : TPlacedDialog(parent), FEntryKinds(std::make_unique<TEntryKinds>()) {
    setObjectName(QStringLiteral("ShellDirDialog"));
    setWindowTitle(N_("Select directory"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    const int dpi = WinUtils::PixelsPerInch(this);
    const int margin = WinUtils::ScaledLength(kMargin, dpi);

    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);
    PanelLeft = new QWidget(Splitter);
    PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
    PanelRight = new QWidget(Splitter);
    PanelRight->setObjectName(QStringLiteral("PanelRight"));

    auto* panRoot = new QWidget(PanelLeft);
    panRoot->setObjectName(QStringLiteral("panRoot"));
    spbDesktop = RootButton(N_("Desktop"), "spbDesktop", "user-desktop", QStyle::SP_DesktopIcon,
                            panRoot, dpi);
    spbMyFiles = RootButton(N_("My Documents"), "spbMyFiles", "folder-documents",
                            QStyle::SP_DirHomeIcon, panRoot, dpi);
    spbComputer = RootButton(N_("Computer"), "spbComputer", "computer", QStyle::SP_ComputerIcon,
                             panRoot, dpi);
    spbNetwork = RootButton(N_("Network"), "spbNetwork", "network-workgroup",
                            QStyle::SP_DriveNetIcon, panRoot, dpi);
    auto* rootButtons = new QVBoxLayout(panRoot);
    rootButtons->setContentsMargins(0, 0, 0, 0);
    rootButtons->setSpacing(0);
    for (QToolButton* button : {spbDesktop, spbMyFiles, spbComputer, spbNetwork})
        rootButtons->addWidget(button);
    rootButtons->addStretch(1);

    ShellTreeView = new QTreeView(PanelLeft);
    ShellTreeView->setObjectName(QStringLiteral("ShellTreeView"));
    ShellTreeView->setHeaderHidden(true);
    ShellTreeView->setRootIsDecorated(false);
    ShellTreeView->setUniformRowHeights(true);
    ShellTreeView->setAnimated(false);
    ShellTreeView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ShellTreeView->setSelectionMode(QAbstractItemView::SingleSelection);
    ShellTreeView->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* Panel1 = new QWidget(PanelLeft);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Label1 = new QLabel(N_("Directory:"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    cbxFiles = new QCheckBox(N_("Show files"), Panel1);
    cbxFiles->setObjectName(QStringLiteral("cbxFiles"));
    spbHome = SmallButton(N_("Go to default folder"), "spbHome", "go-home", QStyle::SP_DirHomeIcon,
                          Panel1, dpi);
    spbUp = SmallButton(N_("One folder up"), "spbUp", "go-up", QStyle::SP_FileDialogToParent,
                        Panel1, dpi);
    spbNew = SmallButton(N_("Create new folder"), "spbNew", "folder-new",
                         QStyle::SP_FileDialogNewFolder, Panel1, dpi);
    cbxSelectedDir = new HListBox::THistoryCombo(Panel1);
    cbxSelectedDir->setObjectName(QStringLiteral("cbxSelectedDir"));
    cbxSelectedDir->SetAutoUpdate(false);  // only OK adds a folder
    cbxSelectedDir->HistoryList().SetCaseSensitivity(Platform::kFileNameCase);
    cbxSelectedDir->HistoryList().SetMaxLen(kHistoryMax);
    cbxSelectedDir->setMaxVisibleItems(kHistoryRead);
    cbxSelectedDir->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbxSelectedDir->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Label1->setBuddy(cbxSelectedDir);
    btbOK = new QPushButton(N_("OK"), Panel1);
    btbOK->setObjectName(QStringLiteral("btbOK"));
    btbOK->setDefault(true);
    btbCancel = new QPushButton(N_("Cancel"), Panel1);
    btbCancel->setObjectName(QStringLiteral("btbCancel"));
    btbCancel->setAutoDefault(false);

    auto* grid = new QGridLayout(Panel1);
    grid->setContentsMargins(0, margin, 0, 0);
    auto* topRow = new QHBoxLayout;
    topRow->addWidget(Label1);
    topRow->addStretch(1);
    topRow->addWidget(cbxFiles);
    topRow->addSpacing(margin);
    for (QToolButton* button : {spbHome, spbUp, spbNew})
        topRow->addWidget(button);
    grid->addLayout(topRow, 0, 0);
    grid->addWidget(cbxSelectedDir, 1, 0);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(btbOK);
    buttonRow->addWidget(btbCancel);
    grid->addLayout(buttonRow, 2, 0);

    auto* treeRow = new QHBoxLayout;
    treeRow->setContentsMargins(0, 0, 0, 0);
    treeRow->addWidget(panRoot);
    treeRow->addWidget(ShellTreeView, 1);
    auto* left = new QVBoxLayout(PanelLeft);
    left->setContentsMargins(0, 0, 0, 0);
    left->addLayout(treeRow, 1);
    left->addWidget(Panel1);

    ShellListView = new QTreeView(PanelRight);
    ShellListView->setObjectName(QStringLiteral("ShellListView"));
    ShellListView->setRootIsDecorated(false);
    ShellListView->setItemsExpandable(false);
    ShellListView->setUniformRowHeights(true);
    ShellListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ShellListView->setSortingEnabled(true);
    ShellListView->header()->setStretchLastSection(false);
    ShellListView->viewport()->installEventFilter(this);
    auto* right = new QVBoxLayout(PanelRight);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(ShellListView);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(margin, margin, margin, margin);
    outer->addWidget(Splitter);

    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    itmCreate = MenuItem(N_("Create folder"), "itmCreate", PopupMenu);
    itmDelete = MenuItem(N_("Delete folder"), "itmDelete", PopupMenu);
    PopupMenu->addSeparator();
    itmUpdate = MenuItem(N_("Update"), "itmUpdate", PopupMenu);
    cancel1 = MenuItem(N_("Cancel"), "cancel1", PopupMenu);

    connect(spbDesktop, &QToolButton::clicked, this, &TShellDirDialog::spbDesktopClick);
    connect(spbMyFiles, &QToolButton::clicked, this, &TShellDirDialog::spbMyFilesClick);
    connect(spbComputer, &QToolButton::clicked, this, &TShellDirDialog::spbComputerClick);
    connect(spbNetwork, &QToolButton::clicked, this, &TShellDirDialog::spbNetworkClick);
    connect(spbUp, &QToolButton::clicked, this, &TShellDirDialog::spbUpClick);
    connect(spbHome, &QToolButton::clicked, this, &TShellDirDialog::spbHomeClick);
    connect(spbNew, &QToolButton::clicked, this, &TShellDirDialog::spbNewClick);
    connect(itmCreate, &QAction::triggered, this, &TShellDirDialog::spbNewClick);
    connect(itmDelete, &QAction::triggered, this, &TShellDirDialog::itmDeleteClick);
    connect(itmUpdate, &QAction::triggered, this, &TShellDirDialog::Refresh);
    connect(cbxFiles, &QCheckBox::clicked, this, &TShellDirDialog::cbxFilesClick);
    connect(cbxSelectedDir, &QComboBox::editTextChanged, this,
            &TShellDirDialog::cbxSelectedDirChange);
    connect(cbxSelectedDir, &QComboBox::activated, this, &TShellDirDialog::cbxSelectedDirSelect);
    connect(btbOK, &QPushButton::clicked, this, &TShellDirDialog::btbOKClick);
    connect(btbCancel, &QPushButton::clicked, this, &TShellDirDialog::reject);
    connect(ShellTreeView, &QTreeView::customContextMenuRequested, this,
            &TShellDirDialog::ShellTreeViewContextPopup);
    connect(Splitter, &QSplitter::splitterMoved, this, [this] {
        RememberWidths();
        UpdateColumns();
    });
    Catalog::TranslateComponent(this, QStringLiteral("dialogs"));
    WinUtils::ScaleGlyphs(this, 96, dpi);
    // As wide as the longest translated caption of the quick buttons.
    panRoot->setFixedWidth(
        std::max(WinUtils::ScaledLength(kRootPanelWidth, dpi), panRoot->sizeHint().width()));

    // The window sees the keys of its controls before they do (not those of its menu).
    for (QWidget* control : findChildren<QWidget*>()) {
        if (control->window() == this) control->installEventFilter(this);
    }

    CreateModels();
    FNetworkFolder = NetworkProbe::NetworkFolder();
    spbNetwork->setVisible(!FNetworkFolder.isEmpty());

    FFileWidth = std::max(WinUtils::ScaledLength(kRightWidth, dpi),
                          (kOtherColumnsChars + kDefaultNameChars) * CharWidth());
    FDirWidth = std::max(WinUtils::ScaledLength(kClientWidth - kRightWidth, dpi) - 2 * margin,
                         PanelLeft->minimumSizeHint().width());
    Splitter->setSizes({FDirWidth, FFileWidth});
    resize(2 * margin + FDirWidth + Splitter->handleWidth() + FFileWidth,
           WinUtils::ScaledLength(kClientHeight, dpi));
    SetRoot(QDir::rootPath());
}

TShellDirDialog::~TShellDirDialog() {
    if (TheInstance == this) TheInstance = nullptr;
    SaveSettings();
    // Before the entry kinds their loading threads use.
    delete FTreeModel;
    delete FListModel;
}

void TShellDirDialog::SaveSettings() {
    if (FIniName.isEmpty() || FIniSection.isEmpty()) return;
    try {
        IniFiles::TIniFile ini(FIniName);
        ini.EraseSection(FIniSection);
        cbxSelectedDir->HistoryList().SaveToIni(ini, FIniSection, false);
        ini.WriteInteger(FIniSection, QStringLiteral("Top"), pos().y());
        ini.WriteInteger(FIniSection, QStringLiteral("Left"), pos().x());
        ini.WriteInteger(FIniSection, QStringLiteral("Height"), height());
        ini.WriteInteger(FIniSection, QStringLiteral("DirWidth"), FDirWidth);
        ini.WriteInteger(FIniSection, QStringLiteral("FileWidth"), FFileWidth);
        ini.WriteBool(FIniSection, QStringLiteral("Fileview"), cbxFiles->isChecked());
        ini.UpdateFile();
    } catch (const std::exception& error) {
        qWarning("Folder dialog settings not saved: %s", error.what());
    } catch (...) {
        qWarning("Folder dialog settings not saved");
    }
}

std::unique_ptr<TShellDirDialog> TShellDirDialog::CreateInstance() {
    if (TheInstance != nullptr)
        throw std::logic_error("the program's folder selection dialog exists already");
    auto dialog = std::make_unique<TShellDirDialog>();
    TheInstance = dialog.get();
    return dialog;
}

TShellDirDialog* TShellDirDialog::Instance() {
    return TheInstance;
}

bool TShellDirDialog::Execute(const QString& ATitle, bool Hidden, bool FileView, bool ZipAsFiles,
                              const QString& HomeDir, QString& Dir) {
    // Archives are plain files here: the tree never shows them and the file list always does.
    Q_UNUSED(ZipAsFiles);
    setWindowTitle(ATitle);
    FDefaultDir = HomeDir;
    if (Hidden != FHidden) {
        FHidden = Hidden;
        const QDir::Filters hidden = Hidden ? QDir::Hidden : QDir::Filters();
        FTreeModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | hidden);
        FListModel->setFilter(QDir::Files | QDir::NoDotAndDotDot | hidden);
    }
    if (FileUtils::IsNetworkPath(Dir) && FNetworkFolder.isEmpty()) {
        WinUtils::ErrorDialog(
            Catalog::dgettext("dialogs", "Browsing the network is not supported on this system!"));
        Navigate(HomeDir);
    } else {
        Navigate(Dir);
    }
    ShowTreePathInBox();
    cbxFiles->setVisible(FileView);
    ApplyFileView(FileView && cbxFiles->isChecked());
    // A long title (a German one, say) is read whole in the title bar, beside its buttons.
    QFont titleFont = font();
    titleFont.setBold(true);
    const int titleWidth = QFontMetrics(titleFont).horizontalAdvance(ATitle) + kTitleBarButtons;
    if (width() < titleWidth) resize(titleWidth, height());

    const int result = WinUtils::ExecModal(
        *this, WinUtils::TMessageRecord{.Title = ATitle,
                                        .Message = cbxSelectedDir->currentText(),
                                        .Kind = WinUtils::dkShellDir});
    if (result != WinUtils::mrOk) return false;
    Dir = FileUtils::AddTrailingDelimiter(cbxSelectedDir->currentText());
    return true;
}

void TShellDirDialog::LoadFromIni(const QString& IniName, const QString& Section) {
    FIniName = IniName;
    FIniSection = Section;
    cbxSelectedDir->AssignList({});
    if (!FileUtils::FileExists(IniName) || Section.isEmpty()) return;
    const IniFiles::TIniFile ini(IniName);
    QStringList history;
    for (int i = 0; i < kHistoryRead; ++i) {
        const QString entry = ini.ReadString(Section, kHistoryKey + QString::number(i), QString());
        if (!entry.isEmpty()) history << entry;
    }
    cbxSelectedDir->AssignList(history);
    const int top = ini.ReadInteger(Section, QStringLiteral("Top"), 0);
    const int left = ini.ReadInteger(Section, QStringLiteral("Left"), pos().x());
    const int windowHeight = ini.ReadInteger(Section, QStringLiteral("Height"), height());
    FDirWidth = std::max(ini.ReadInteger(Section, QStringLiteral("DirWidth"), FDirWidth),
                         PanelLeft->minimumSizeHint().width());
    FFileWidth = std::max(ini.ReadInteger(Section, QStringLiteral("FileWidth"), FFileWidth),
                          PanelRight->minimumSizeHint().width());
    cbxFiles->setChecked(ini.ReadBool(Section, QStringLiteral("Fileview"), false));
    resize(width(), std::max(windowHeight, minimumSizeHint().height()));
    ApplyFileView(cbxFiles->isChecked());
    // Without a position the window is centred when it is shown.
    if (top == 0) {
        SetPlacement(WinUtils::DefaultMessagePos);
    } else {
        SetPlacement(QPoint(left, top));
        move(left, top);
    }
}

void TShellDirDialog::ResetPosition() {
    SetPlacement(QPoint(50, 50));
    move(50, 50);
}

QStringList TShellDirDialog::History() const {
    return cbxSelectedDir->HistoryList().Texts();
}

void TShellDirDialog::showEvent(QShowEvent* event) {
    TPlacedDialog::showEvent(event);
    spbHome->setVisible(!FDefaultDir.isEmpty());
    spbHome->setToolTip(Catalog::dgettext("dialogs", "Default: ") + FDefaultDir);
    cbxSelectedDir->UpdateList();
    SetTreePath(cbxSelectedDir->currentText());
    MakeSelectedVisible();
    ShellTreeView->setFocus();
}

void TShellDirDialog::resizeEvent(QResizeEvent* event) {
    TPlacedDialog::resizeEvent(event);
    RememberWidths();
}

bool TShellDirDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        if (key->key() == Qt::Key_F5 && modifiers == Qt::NoModifier) {
            Refresh();
            return true;
        }
        // Enter accepts from every control, as OK would.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            modifiers == Qt::NoModifier) {
            btbOKClick();
            return true;
        }
    }
    const bool inTree = watched == ShellTreeView || watched == ShellTreeView->viewport() ||
                        watched == ShellTreeView->verticalScrollBar();
    if (inTree && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::Wheel ||
                   event->type() == QEvent::KeyPress)) {
        FFollowSelection = false;
    }
    if (watched == ShellListView->viewport() && event->type() == QEvent::Resize) UpdateColumns();
    return TPlacedDialog::eventFilter(watched, event);
}

void TShellDirDialog::done(int result) {
    // The next call opens where the user left the window.
    if (isVisible()) SetPlacement(pos());
    TPlacedDialog::done(result);
}

void TShellDirDialog::spbDesktopClick() {
    SetRoot(ExistingSpecialFolder(Platform::kCsidlDesktop));
    SetTreePath(FRootPath);
}

void TShellDirDialog::spbMyFilesClick() {
    SetRoot(ExistingSpecialFolder(Platform::kCsidlPersonal));
    SetTreePath(FRootPath);
}

void TShellDirDialog::spbComputerClick() {
    SetRoot(QDir::rootPath());
    SetTreePath(FRootPath);
}

void TShellDirDialog::spbNetworkClick() {
    if (FNetworkFolder.isEmpty()) return;
    SetRoot(FNetworkFolder);
    SetTreePath(FRootPath);
}

void TShellDirDialog::spbUpClick() {
    MoveUp();
    MakeSelectedVisible();
    ShellTreeView->setFocus();
}

void TShellDirDialog::spbHomeClick() {
    if (!NamesExistingFolder(FDefaultDir)) {
        WinUtils::ErrorDialog(StringUtils::FormatSafe(
            Catalog::dgettext("dialogs", "Directory not found:\r\n%s!"), {FDefaultDir}));
        const int index = HistoryIndex(FDefaultDir);
        if (index >= 0) {
            QStringList history = History();
            history.removeAt(index);
            cbxSelectedDir->AssignList(history);
        }
        if (cbxSelectedDir->count() > 0) cbxSelectedDir->setCurrentIndex(0);
    } else {
        // The tree keeps its root when that holds the folder.
        const QString home = ModelPath(FDefaultDir);
        if (!IsWithin(home, FRootPath)) SetRoot(QDir::rootPath());
        SetTreePath(home);
        MakeSelectedVisible();
    }
    ShellTreeView->setFocus();
}

void TShellDirDialog::spbNewClick() {
    const QString folder = TreePath();
    if (folder.isEmpty()) return;
    QString name;
    if (InpText::InputText(WinUtils::DefaultMessagePos, folder,
                           Catalog::dgettext("dialogs", "New subdirectory:"), false, QString(),
                           nullptr, false, name) &&
        !name.isEmpty()) {
        // Only names below the selected folder: "a/b" is fine, "/tmp/x" and "../x" are not.
        const bool safe = FileUtils::IsSafeSubfolderName(name);
        const QString path = safe ? FileUtils::AddPath(folder, name)
                             : FileUtils::IsAbsolutePath(name)
                                 ? name
                                 : FileUtils::IncludeTrailingDelimiter(folder) + name;
        // A folder whose name the tree cannot spell exactly is no place to create in.
        if (safe && NamesExistingFolder(folder) && FileUtils::ForceFolders(path)) {
            SetTreePath(ModelPath(path));
            MakeSelectedVisible();
        } else {
            WinUtils::ErrorDialog(StringUtils::FormatSafe(
                Catalog::dgettext("dialogs", "Could not create directory:\r\n%s!"), {path}));
        }
    }
    ShellTreeView->setFocus();
}

void TShellDirDialog::itmDeleteClick() {
    const QString folder = TreePath();
    if (folder.isEmpty()) return;
    const int answer = SelectDlg::ChooseOption(
        Catalog::dgettext("dialogs", "Delete directory"),
        StringUtils::FormatSafe(Catalog::dgettext("dialogs", "Delete \"%s\""), {folder}),
        WinUtils::mtConfirmation, SelectDlg::fsBold,
        {Catalog::dgettext("dialogs", "Definitely"),
         Catalog::dgettext("dialogs", "To recycle bin")},
        QString(), 0, SelectDlg::kCancelled);
    if (answer == SelectDlg::kCancelled) return;

    bool deleted = false;
    // The root, the home folder and the folders above it stay, whatever was answered. A folder
    // that is not there (its name cannot be spelt exactly, say) is not reported deleted.
    if (!FileUtils::IsProtectedFolder(folder) && NamesExistingFolder(folder)) {
        MoveUp();
        if ((answer & 0xFF) == 0) {
            int folders = 0;
            int files = 0;
            int failures = 0;
            FileUtils::DeleteFolderTree(folder, QString(), true, folders, files, failures);
            deleted = failures == 0;
            if (deleted) {
                WinUtils::InfoDialog(StringUtils::FormatSafe(
                    Catalog::dgettext("dialogs", "%u directories with %u files deleted!"),
                    {unsigned(folders), unsigned(files)}));
            }
        } else {
            deleted = FileUtils::DeleteFolderShell(folder) == 0;
            if (deleted) {
                WinUtils::InfoDialog(StringUtils::FormatSafe(
                    Catalog::dgettext("dialogs", "%s moved to Recycle Bin!"), {folder}));
            }
        }
    }
    if (!deleted) {
        WinUtils::ErrorDialog(StringUtils::FormatSafe(
            Catalog::dgettext("dialogs", "Error deleting directory:\r\n%s!"), {folder}));
    }
    Refresh();
}

void TShellDirDialog::cbxFilesClick() {
    if (isVisible()) ApplyFileView(cbxFiles->isChecked());
}

void TShellDirDialog::cbxSelectedDirChange(const QString& text) {
    btbOK->setEnabled(NamesExistingFolder(text));
}

void TShellDirDialog::cbxSelectedDirSelect(int index) {
    Navigate(cbxSelectedDir->itemText(index));
    MakeSelectedVisible();
}

void TShellDirDialog::btbOKClick() {
    if (!btbOK->isEnabled()) return;
    const QString folder = cbxSelectedDir->currentText();
    if (HistoryIndex(folder) < 0) cbxSelectedDir->AssignList(History() << folder);
    cbxSelectedDir->setEditText(folder);
    done(WinUtils::mrOk);
}

void TShellDirDialog::ShellTreeViewContextPopup(const QPoint& pos) {
    const QModelIndex hit = ShellTreeView->indexAt(pos);
    if (hit.isValid()) ShellTreeView->setCurrentIndex(hit);
    PopupMenu->exec(ShellTreeView->viewport()->mapToGlobal(pos));
}

void TShellDirDialog::ShellTreeViewChange(const QModelIndex& current) {
    if (!current.isValid()) return;
    if (FFilesLinked)
        ShellListView->setRootIndex(FListModel->setRootPath(FTreeModel->filePath(current)));
    ShowTreePathInBox();
}

void TShellDirDialog::CreateModels() {
    QFileSystemModel* oldTree = FTreeModel;
    QFileSystemModel* oldList = FListModel;
    QItemSelectionModel* oldTreeSelection = ShellTreeView->selectionModel();
    QItemSelectionModel* oldListSelection = ShellListView->selectionModel();
    const QDir::Filters hidden = FHidden ? QDir::Hidden : QDir::Filters();

    FTreeModel = new TFolderModel(this);
    FTreeModel->setObjectName(QStringLiteral("TreeModel"));
    // Changes show on "Update" and F5: watching every folder seen would re-read a folder of
    // thousands of entries on each change in it.
    FTreeModel->setOption(QFileSystemModel::DontWatchForChanges);
    FTreeModel->setIconProvider(FEntryKinds.get());
    FTreeModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | hidden);
    ShellTreeView->setModel(FTreeModel);
    for (int column = 1; column < FTreeModel->columnCount(); ++column)
        ShellTreeView->hideColumn(column);
    ShellTreeView->sortByColumn(0, Qt::AscendingOrder);
    FTreeModel->sort(0, Qt::AscendingOrder);
    connect(ShellTreeView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TShellDirDialog::ShellTreeViewChange);
    connect(FTreeModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent, int first, int last) {
                if (parent == FRootParent) HideRootSiblings(first, last);
            });
    connect(FTreeModel, &QAbstractItemModel::rowsInserted, this,
            &TShellDirDialog::KeepSelectionInView);
    connect(FTreeModel, &QAbstractItemModel::layoutChanged, this,
            &TShellDirDialog::KeepSelectionInView);

    FListModel = new TFolderModel(this);
    FListModel->setObjectName(QStringLiteral("ListModel"));
    FListModel->setOption(QFileSystemModel::DontWatchForChanges);
    FListModel->setIconProvider(FEntryKinds.get());
    FListModel->setFilter(QDir::Files | QDir::NoDotAndDotDot | hidden);
    ShellListView->setModel(FListModel);
    ShellListView->sortByColumn(0, Qt::AscendingOrder);
    FListModel->sort(0, Qt::AscendingOrder);
    UpdateColumns();

    delete oldTreeSelection;
    delete oldListSelection;
    // Now: their loading threads use the entry kinds, which go with the window.
    delete oldTree;
    delete oldList;
}

void TShellDirDialog::SetRoot(const QString& folder) {
    ShowRootSiblings();
    FRootPath = ModelPath(folder);
    FTreeModel->setRootPath(FRootPath);
    const QModelIndex root = FTreeModel->index(FRootPath);
    FRootParent = root.parent();
    ShellTreeView->setRootIndex(FRootParent);
    HideRootSiblings(0, FTreeModel->rowCount(FRootParent) - 1);
    ShellTreeView->expand(root);
}

void TShellDirDialog::HideRootSiblings(int first, int last) {
    for (int row = first; row <= last; ++row) {
        const QModelIndex index = FTreeModel->index(row, 0, FRootParent);
        ShellTreeView->setRowHidden(row, FRootParent, FTreeModel->filePath(index) != FRootPath);
    }
}

void TShellDirDialog::ShowRootSiblings() {
    // Hidden rows stay hidden when their folder shows up under another root.
    for (int row = 0; row < FTreeModel->rowCount(FRootParent); ++row)
        ShellTreeView->setRowHidden(row, FRootParent, false);
}

QString TShellDirDialog::TreePath() const {
    const QModelIndex current = ShellTreeView->currentIndex();
    return current.isValid() ? FTreeModel->filePath(current) : QString();
}

bool TShellDirDialog::SetTreePath(const QString& folder) {
    if (!NamesExistingFolder(folder)) return false;
    const QString path = ModelPath(folder);
    if (!IsWithin(path, FRootPath)) return false;
    const QModelIndex index = FTreeModel->index(path);
    if (!index.isValid()) return false;
    ShellTreeView->setCurrentIndex(index);
    ShellTreeView->expand(index);
    FFollowSelection = true;
    MakeSelectedVisible();
    return true;
}

void TShellDirDialog::MakeSelectedVisible() {
    const QModelIndex current = ShellTreeView->currentIndex();
    if (!current.isValid()) return;
    // A node in sight stays where it is; one out of sight comes to the middle.
    if (!ShellTreeView->viewport()->rect().contains(ShellTreeView->visualRect(current)))
        ShellTreeView->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

void TShellDirDialog::KeepSelectionInView() {
    if (!FFollowSelection || FScrollQueued) return;
    // Once for each burst of rows, after the model has sorted them.
    FScrollQueued = true;
    QTimer::singleShot(0, this, [this] {
        FScrollQueued = false;
        if (FFollowSelection) MakeSelectedVisible();
    });
}

void TShellDirDialog::Navigate(const QString& path) {
    QString folder = path.isEmpty() ? FDefaultDir : path;
    if (!NamesExistingFolder(folder)) folder = ExistingSpecialFolder(Platform::kCsidlPersonal);
    SetRoot(QDir::rootPath());
    SetTreePath(folder);
}

void TShellDirDialog::MoveUp() {
    const QString folder = TreePath();
    if (folder.isEmpty()) return;
    const QString parent = FileUtils::GetParentFolder(folder);
    if (Platform::SameFileName(folder, FRootPath) || !IsWithin(parent, FRootPath))
        SetRoot(QDir::rootPath());
    SetTreePath(parent);
}

void TShellDirDialog::Refresh() {
    QStringList expanded;
    const std::function<void(const QModelIndex&)> collect = [&](const QModelIndex& parent) {
        for (int row = 0; row < FTreeModel->rowCount(parent); ++row) {
            const QModelIndex child = FTreeModel->index(row, 0, parent);
            if (!ShellTreeView->isExpanded(child)) continue;
            expanded << FTreeModel->filePath(child);
            collect(child);
        }
    };
    collect(FRootParent);
    const QString selected = TreePath();
    const QString root = FRootPath;

    CreateModels();
    SetRoot(NamesExistingFolder(root) ? root
                                      : FileUtils::NearestExistingFolder(root, QDir::rootPath()));
    for (const QString& folder : expanded) {
        if (FileUtils::DirectoryExists(folder)) ShellTreeView->expand(FTreeModel->index(folder));
    }
    if (!SetTreePath(FileUtils::NearestExistingFolder(selected, FRootPath))) SetTreePath(FRootPath);
    if (FFilesLinked) ShellListView->setRootIndex(FListModel->setRootPath(TreePath()));
}

void TShellDirDialog::ApplyFileView(bool show) {
    const QMargins margins = layout()->contentsMargins();
    const int frame = margins.left() + margins.right();
    if (show) {
        PanelRight->show();
        FFilesLinked = true;
        Splitter->setSizes({FDirWidth, FFileWidth});
        resize(frame + FDirWidth + Splitter->handleWidth() + FFileWidth, height());
        if (NamesExistingFolder(cbxSelectedDir->currentText()))
            SetTreePath(cbxSelectedDir->currentText());
        ShellListView->setRootIndex(FListModel->setRootPath(TreePath()));
    } else {
        RememberWidths();
        PanelRight->hide();
        FFilesLinked = false;
        resize(frame + FDirWidth, height());
    }
    ShowTreePathInBox();
}

void TShellDirDialog::ShowTreePathInBox() {
    cbxSelectedDir->setEditText(TreePath());
    btbOK->setEnabled(NamesExistingFolder(cbxSelectedDir->currentText()));
}

void TShellDirDialog::UpdateColumns() {
    if (FListModel == nullptr) return;
    const int charWidth = CharWidth();
    // The date as the list writes it fits, in whichever language.
    const QDateTime longDate(QDate(2000, 12, 28), QTime(23, 59, 59));
    const int dateWidth = std::max(kDateChars * charWidth,
                                   ShellListView->fontMetrics().horizontalAdvance(
                                       QLocale::system().toString(longDate, QLocale::ShortFormat)) +
                                       2 * charWidth);
    const int nameWidth = ShellListView->viewport()->width() -
                          (kOtherColumnsChars - kDateChars) * charWidth - dateWidth;
    QHeaderView* header = ShellListView->header();
    header->resizeSection(0, std::max(nameWidth, kMinNameChars * charWidth));
    header->resizeSection(1, kSizeChars * charWidth);
    header->resizeSection(2, kTypeChars * charWidth);
    header->resizeSection(3, dateWidth);
}

int TShellDirDialog::CharWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance(u'X'));
}

void TShellDirDialog::RememberWidths() {
    if (!isVisible()) return;
    FDirWidth = PanelLeft->width();
    if (PanelRight->isVisible()) FFileWidth = PanelRight->width();
}

int TShellDirDialog::HistoryIndex(const QString& folder) const {
    // "/a/b" and "/a/b/" are one folder.
    const QString wanted = ModelPath(folder);
    const QStringList history = History();
    for (int i = 0; i < history.size(); ++i) {
        if (Platform::SameFileName(ModelPath(history.at(i)), wanted)) return i;
    }
    return -1;
}

}  // namespace ShellDirDlg
