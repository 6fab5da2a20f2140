// The main window of Pairwell: the folder list, the controls of the current pair, the buttons
// that start, preview and stop runs, and the log list and status line the runs report in.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QString>

#include "FolderList.h"
#include "RunHost.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;
class TFolderListBox;
class TLogList;
namespace HListBox {
class THistoryCombo;
}
namespace IniFiles {
class TIniFile;
}

// The pair shown is the pair stored and run: the selected entry is always the entry of the
// folder in the first-folder box (or none), and the values shown belong to it.
class TMainForm : public QMainWindow, private Sync::TRunHost {
    Q_OBJECT

  public:
    // Builds and translates the window, reads the settings and the first parameter.
    explicit TMainForm(QWidget* parent = nullptr);
    // Writes the settings and the histories, unless closing the window did.
    ~TMainForm() override;

    // For tests.
    const QString& IniName() const { return IniName_; }
    const QString& CurrentDir() const { return CurrentDir_; }
    bool ContextButtonVisible() const;
    bool Running() const { return Running_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void BuildControls();
    void ReadSettings();
    // Errors are shown in a message box when `report` is set, else only logged.
    void WriteSettings(bool report);

    // The pair's values between the controls and the selected entry.
    Sync::TDirInfo DirInfoFromControls() const;
    void ShowDirInfo();
    void SaveDirInfo();
    // The first folder changes to `folder`: the values shown are stored into the entry that
    // was selected, then the folder's entry (or none) is selected and shown.
    void ChangeFirstFolder(const QString& folder);

    // Handlers.
    void FormShow();
    // Asks for the second folder of CurrentDir, which has no entry yet, and makes the pair an
    // entry.
    void AskForPartner();
    // Lets the user choose the second folder; it goes into the box and its history.
    bool SelectSecondFolder(QString& chosen);
    void btRefDirClick();
    void btSecondDirClick();
    // Edits the filter as a list of masks.
    void btFilterClick();
    void btRemoveClick();
    void cbSubDirClick();
    void btnInfoClick();
    void bbQuitClick();
    void bbContextClick();
    void bbSyncClick();
    void bbPreviewClick();
    // One run of the pair shown; a first folder without an entry gets one when the run went
    // ahead.
    void RunAndReport(bool preview);
    void SetRunning(bool running, bool preview);

    // What the run reports to the window.
    void ClearLog() override;
    void AddLog(const QString& line) override;
    void SetStatus(const QString& text) override;
    void ShowError(const QString& message) override;
    void ProcessEvents() override;
    void CopyProgress(const Sync::TCopyProgress& progress) override;
    bool StopRequested() const override { return !Running_; }

    // The folder dialog, started at `folder`, which receives the chosen folder; false when
    // cancelled.
    bool ChooseFolder(const QString& title, const QString& homeDir, QString& folder);

    QString ProgVersDate_;
    QString AppPath_;
    QString UserPath_;
    QString IniName_;
    QString CurrentDir_;
    bool OldContext_ = false;
    bool Running_ = false;

    Sync::TFolderList folderList_;
    bool placeRead_ = false;  // the settings hold the window's place
    bool shown_ = false;
    bool settingsWritten_ = false;
    bool closeWhenIdle_ = false;
    QPointer<QWidget> focusBeforeRun_;
    QElapsedTimer sinceEvents_;    // since the run last let the window handle its events
    QElapsedTimer sinceProgress_;  // since the copy progress was last shown

    QLabel* Label3 = nullptr;
    TFolderListBox* edRefDir = nullptr;
    QToolButton* bbRefDir = nullptr;
    QToolButton* bbRemove = nullptr;
    QLabel* Label1 = nullptr;
    HListBox::THistoryCombo* edSecondDir = nullptr;
    QToolButton* bbSecondDir = nullptr;
    QLabel* Label2 = nullptr;
    HListBox::THistoryCombo* edFilter = nullptr;
    QToolButton* bbFilter = nullptr;
    QCheckBox* cbSubDir = nullptr;
    QCheckBox* cbDupl = nullptr;
    QToolButton* bbContext = nullptr;
    QToolButton* bbInfo = nullptr;
    QToolButton* bbQuit = nullptr;
    QPushButton* bbPreview = nullptr;
    QPushButton* bbSync = nullptr;
    QLabel* Label4 = nullptr;
    TLogList* lbLog = nullptr;
    QProgressBar* pbCopy = nullptr;
};
