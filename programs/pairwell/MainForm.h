// The main window of Pairwell: the folder list, the controls of the current pair, the buttons
// that start, preview and stop runs, and the log list and status line the runs report in.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include "TwoWaySync.h"

class QCheckBox;
class QFile;
class QLabel;
class QListWidget;
class QPushButton;
class QTextStream;
class QToolButton;
class TFolderListBox;
namespace HListBox {
class THistoryCombo;
}
namespace IniFiles {
class TIniFile;
}

// One entry of the folder list: the pair's second folder, filter and options. The first
// folder is the name the entry stands under.
struct TDirInfo {
    QString DirName;
    QString Filter;
    bool SubDir = true;
    bool Dupl = false;
};
Q_DECLARE_METATYPE(TDirInfo)

class TMainForm : public QMainWindow, private Sync::TRunHost {
    Q_OBJECT

  public:
    // Builds and translates the window, reads the settings and the first parameter.
    explicit TMainForm(QWidget* parent = nullptr);
    // Writes the settings and the histories.
    ~TMainForm() override;

    // Performs the unattended run when the first parameter asked for one and a first folder is
    // known; true when it ran (the window is then never shown).
    bool CheckForce();
    // 1 when the unattended run logged an error, else 0.
    int UnattendedExitCode() const { return unattendedErrors_ ? 1 : 0; }

    // For tests and the entry routine.
    const QString& IniName() const { return IniName_; }
    const QString& LogName() const { return LogName_; }
    const QString& CurrentDir() const { return CurrentDir_; }
    bool ContextButtonVisible() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void ReadSettings();
    void WriteSettings();
    void ReadFirstParameter();

    // The pair's values between the controls and the selected entry.
    TDirInfo DirInfoFromControls() const;
    void ShowDirInfo();
    void SaveDirInfo();
    void LoadDirList(const IniFiles::TIniFile& ini, const QString& prefix, int count);
    void SaveDirList(IniFiles::TIniFile& ini, const QString& prefix);

    // Handlers.
    void FormShow();
    void btRefDirClick();
    void btSecondDirClick();
    void btRemoveClick();
    void cbSubDirClick();
    void btnInfoClick();
    void bbQuitClick();
    void bbContextClick();
    void bbSyncClick();
    void bbPreviewClick();
    void RunAndReport(bool preview);
    // One run of the pair shown: an empty filter becomes "*.*" and the controls are stored
    // into the selected entry first. True when the run logged an error.
    bool Run(bool preview, bool interactive);

    // What the run reports to the window.
    void ClearLog() override;
    void AddLog(const QString& line) override;
    void SetStatus(const QString& text) override;
    void ShowError(const QString& message) override;
    void ProcessEvents() override;
    void KeepAlive() override;
    bool StopRequested() const override { return !Running_; }

    // A folder chosen by the user, or an empty text.
    QString ChooseFolder(const QString& title, const QString& start);

    QString ProgVersDate_;
    QString AppPath_;
    QString UserPath_;
    QString IniName_;
    QString CurrentDir_;
    QString LogName_;
    bool OldContext_ = false;
    bool Running_ = false;
    bool Force_ = false;

    bool shown_ = false;
    bool closeWhenIdle_ = false;
    bool unattendedErrors_ = false;
    QTextStream* report_ = nullptr;  // the run log while an unattended run writes to it
    QElapsedTimer sinceRepaint_;

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
    QListWidget* lbLog = nullptr;
};
