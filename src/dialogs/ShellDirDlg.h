// The folder selection dialog: a folder tree with quick roots (desktop, documents, the whole
// computer, the network), the files of the chosen folder beside it, buttons to go up, home and
// to create a folder, a context menu that also deletes one, and a path box that remembers the
// folders chosen before. The main windows choose every folder with it. One instance serves the
// whole program, so its size, position, file view, root and history carry from call to call.
#pragma once

#include <memory>

#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QString>
#include <QStringList>

#include "WinUtils.h"

class QAction;
class QAbstractFileIconProvider;
class QCheckBox;
class QFileSystemModel;
class QLabel;
class QMenu;
class QPushButton;
class QSplitter;
class QToolButton;
class QTreeView;
namespace HListBox {
class THistoryCombo;
}

namespace ShellDirDlg {

class TShellDirDialog : public WinUtils::TPlacedDialog {
    Q_OBJECT

  public:
    // Looks once for the place where network shares appear: the "Network" button is shown
    // exactly when there is one.
    explicit TShellDirDialog(QWidget* parent = nullptr);
    // Writes the settings to the section bound by LoadFromIni; a failure is only logged.
    ~TShellDirDialog() override;

    // The program's one instance: the entry routine creates it after the main window and it
    // lives as long as the returned pointer; Instance() reaches it meanwhile (else nullptr).
    // A second one while it lives is a programming error (std::logic_error).
    static std::unique_ptr<TShellDirDialog> CreateInstance();
    static TShellDirDialog* Instance();

    // Lets the user choose a folder under the caption `ATitle`, starting at `Dir`; an empty
    // `Dir` starts at `HomeDir`, and a missing one (or both empty) at the documents folder.
    // `Hidden` shows hidden folders and files too; `FileView` offers "Show files". Archives are
    // plain files on this system, so `ZipAsFiles` changes nothing. `HomeDir` is also where the
    // home button goes (hidden when empty). On OK `Dir` receives the chosen folder with a
    // trailing delimiter and the answer is true; otherwise `Dir` stays as it was.
    bool Execute(const QString& ATitle, bool Hidden, bool FileView, bool ZipAsFiles,
                 const QString& HomeDir, QString& Dir);

    // Binds the dialog to a settings section and reads the history, the position, the widths
    // and the file view from it when the file exists; they are written back there when the
    // dialog is destroyed. Without a position the dialog is centred.
    void LoadFromIni(const QString& IniName, const QString& Section);

    // Moves the window's top-left corner to (50, 50).
    void ResetPosition();

    // The folders chosen before, in the order they were first chosen.
    QStringList History() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // F5 and Enter from every control; the file list's columns follow its width; the user's
    // moves in the tree end KeepSelectionInView.
    bool eventFilter(QObject* watched, QEvent* event) override;

  public Q_SLOTS:
    void done(int result) override;

  private:
    // Handlers.
    void spbDesktopClick();
    void spbMyFilesClick();
    void spbComputerClick();
    void spbNetworkClick();
    void spbUpClick();
    void spbHomeClick();
    void spbNewClick();
    void itmDeleteClick();
    void cbxFilesClick();
    void cbxSelectedDirChange(const QString& text);
    void cbxSelectedDirSelect(int index);
    void btbOKClick();
    void ShellTreeViewContextPopup(const QPoint& pos);
    void ShellTreeViewChange(const QModelIndex& current);

    // The tree: its root folder is its one top node, which the quick buttons change.
    void CreateModels();
    void SetRoot(const QString& folder);
    void HideRootSiblings(int first, int last);
    void ShowRootSiblings();
    QString TreePath() const;
    // Selects the folder and opens the tree down to it; false when it is no existing folder
    // inside the tree's root.
    bool SetTreePath(const QString& folder);
    void MakeSelectedVisible();
    // Rows that arrive while folders load push the selection away: it is brought back into
    // view until the user moves in the tree.
    void KeepSelectionInView();
    // Goes to `path`, else the home folder, else the documents folder, under the whole computer.
    void Navigate(const QString& path);
    // Selects the folder above the selected one, re-rooting at the whole computer when the
    // root is left.
    void MoveUp();
    // Reads the tree and the file list anew, keeping root, open folders and selection.
    void Refresh();

    void ApplyFileView(bool show);
    void ShowTreePathInBox();
    // The file list measures its columns in characters of this width.
    int CharWidth() const;
    void UpdateColumns();
    void RememberWidths();
    // Into the section bound by LoadFromIni, if any; a failure is only logged.
    void SaveSettings();
    int HistoryIndex(const QString& folder) const;

    QWidget* PanelLeft = nullptr;
    QToolButton* spbDesktop = nullptr;
    QToolButton* spbMyFiles = nullptr;
    QToolButton* spbComputer = nullptr;
    QToolButton* spbNetwork = nullptr;
    QTreeView* ShellTreeView = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* cbxFiles = nullptr;
    QToolButton* spbHome = nullptr;
    QToolButton* spbUp = nullptr;
    QToolButton* spbNew = nullptr;
    HListBox::THistoryCombo* cbxSelectedDir = nullptr;
    QPushButton* btbOK = nullptr;
    QPushButton* btbCancel = nullptr;
    QSplitter* Splitter = nullptr;
    QWidget* PanelRight = nullptr;
    QTreeView* ShellListView = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* itmCreate = nullptr;
    QAction* itmDelete = nullptr;
    QAction* itmUpdate = nullptr;
    QAction* cancel1 = nullptr;

    // Outlives the models, which use it from their loading threads.
    std::unique_ptr<QAbstractFileIconProvider> FEntryKinds;
    QFileSystemModel* FTreeModel = nullptr;
    QFileSystemModel* FListModel = nullptr;
    QString FRootPath;
    QPersistentModelIndex FRootParent;
    bool FFollowSelection = false;
    bool FScrollQueued = false;
    bool FHidden = false;
    bool FFilesLinked = false;
    int FDirWidth = 0;
    int FFileWidth = 0;

    QString FNetworkFolder;
    QString FDefaultDir;
    QString FIniName;
    QString FIniSection;
};

}  // namespace ShellDirDlg
