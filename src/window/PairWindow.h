// The main window both programs are built on: a folder list whose entries each pair a folder
// with a partner folder, a filter and options; the buttons that choose them; the log list,
// progress and status line a run reports in; the settings file they are kept in. A program
// adds its own option, its action buttons and its run.
#pragma once

#include <functional>
#include <initializer_list>

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <QSize>
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

namespace Window {

// What one program's window makes of the shared plan: its names, texts and files.
struct TPairWindowPlan {
    QString ProgramName;     // the caption, translated: "Synchronize folders"
    QString DefaultVersion;  // when the program file carries no version
    QSize DesignSize;        // of the window before the settings give it another
    QString VerbKey;         // of the context-menu entry
    Sync::TFolderListLayout FolderList;
    QString PartnerHistory;  // the settings section of the partner box's history

    // The controls' names (for tests and accessibility tools) and texts. A button's hint is
    // also the title of the folder dialog it opens.
    QString FolderLabelName;
    QString FolderLabel;
    QString FolderBoxName;
    QString FolderButtonName;
    QString FolderButtonHint;
    QString PartnerLabelName;
    QString PartnerLabel;
    QString PartnerBoxName;
    QString PartnerButtonName;
    QString PartnerButtonHint;
};

// The pair shown is the pair stored and run: the selected entry is always the entry of the
// folder in the folder box (or none), and the values shown belong to it.
class TPairWindow : public QMainWindow, protected Sync::TRunHost {
    Q_OBJECT

  public:
    // Writes the settings and the histories, unless closing the window did.
    ~TPairWindow() override;

    // For tests.
    const QString& IniName() const { return IniName_; }
    const QString& CurrentDir() const { return CurrentDir_; }
    bool ContextButtonVisible() const;
    bool Running() const { return Running_; }

  protected:
    // Makes the shared controls; the program makes its own next and then calls Create.
    explicit TPairWindow(const TPairWindowPlan& plan, QWidget* parent = nullptr);
    // Arranges the program's option beside "Include subdirectories" and its action buttons
    // (the first is the default button, which turns into "Stop" during a run), translates the
    // window, reads the settings and the first parameter.
    void Create(QCheckBox* option, std::initializer_list<QPushButton*> actions);

    // The program's own values of an entry, between its controls and the entry.
    virtual void ShowOptions(const Sync::TDirInfo& info) { static_cast<void>(info); }
    virtual void ReadOptions(Sync::TDirInfo& info) const { static_cast<void>(info); }
    // Whether a folder from the command line that has no entry gets a partner chosen now.
    virtual bool WantsPartnerFor(const QString& folder) = 0;

    // The pair's values between the controls and the selected entry.
    Sync::TDirInfo DirInfoFromControls() const;
    void ShowDirInfo();
    void SaveDirInfo();

    // Runs the pair shown: the values shown are stored, `run` runs them (and returns false
    // when it refused the folders), a folder that has no entry then gets one. `start` is the
    // button that turns into "Stop" during the run, or none.
    void RunShownPair(QPushButton* start, const std::function<bool()>& run);

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // What the run reports to the window.
    void ClearLog() override;
    void AddLog(const QString& line) override;
    void SetStatus(const QString& text) override;
    void ShowError(const QString& message) override;
    void ProcessEvents() override;
    void CopyProgress(const Sync::TCopyProgress& progress) override;
    bool StopRequested() const override { return !Running_; }

    QString ProgVersDate_;
    QString AppPath_;
    QString UserPath_;
    QString IniName_;
    QString CurrentDir_;
    bool OldContext_ = false;
    bool Running_ = false;

    Sync::TFolderList folderList_;

    QLabel* FolderLabel = nullptr;
    TFolderListBox* edFolder = nullptr;
    QToolButton* bbFolder = nullptr;
    QToolButton* bbRemove = nullptr;
    QLabel* PartnerLabel = nullptr;
    HListBox::THistoryCombo* edPartner = nullptr;
    QToolButton* bbPartner = nullptr;
    QLabel* Label2 = nullptr;
    HListBox::THistoryCombo* edFilter = nullptr;
    QToolButton* bbFilter = nullptr;
    QCheckBox* cbSubDir = nullptr;
    QToolButton* bbContext = nullptr;
    QToolButton* bbInfo = nullptr;
    QToolButton* bbQuit = nullptr;
    QLabel* Label4 = nullptr;
    TLogList* lbLog = nullptr;
    QProgressBar* pbCopy = nullptr;

  private:
    void BuildControls();
    void Arrange();
    void ReadSettings();
    // Errors are shown in a message box when `report` is set, else only logged.
    void WriteSettings(bool report);

    // The folder changes to `folder`: the values shown are stored into the entry that was
    // selected, then the folder's entry (or none) is selected and shown.
    void ChangeFolder(const QString& folder);
    void SelectFirstEntry();

    void FormShow();
    // Chooses the partner of CurrentDir, which has no entry yet, and makes the pair an entry.
    void AskForPartner();
    // Lets the user choose the partner folder; it goes into the box and its history.
    bool SelectPartner(QString& chosen);
    // The folder dialog, started at `folder`, which receives the chosen folder; false when
    // cancelled.
    bool ChooseFolder(const QString& title, const QString& homeDir, QString& folder);

    void FolderButtonClick();
    void PartnerButtonClick();
    // Edits the filter as a list of masks.
    void FilterButtonClick();
    void RemoveButtonClick();
    void SubDirClick();
    void InfoClick();
    void ContextClick();

    void SetRunning(bool running, QPushButton* start);

    const TPairWindowPlan plan_;
    QCheckBox* option_ = nullptr;
    QList<QPushButton*> actions_;
    bool placeRead_ = false;  // the settings hold the window's place
    bool shown_ = false;
    bool settingsWritten_ = false;
    bool closeWhenIdle_ = false;
    QPointer<QWidget> focusBeforeRun_;
    QElapsedTimer sinceEvents_;    // since the run last let the window handle its events
    QElapsedTimer sinceProgress_;  // since the copy progress was last shown
};

}  // namespace Window
