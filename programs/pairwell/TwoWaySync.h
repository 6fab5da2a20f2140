// The run of Pairwell: scans both folders against each other, then copies every file that one
// side lacks or holds older into it, both ways. Knows nothing of widgets; its window is a host.
#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include "FileAttributes.h"

// What a run needs from its window.
class TTwoWayHost {
  public:
    virtual ~TTwoWayHost() = default;

    // The controls the run reads.
    virtual QString FirstFolderText() const = 0;
    virtual QString SecondFolderText() const = 0;
    virtual QString FilterText() const = 0;
    virtual void SetFilterText(const QString& filter) = 0;
    virtual bool IncludeSubdirectories() const = 0;
    virtual bool OnlyDuplicates() const = 0;
    // Stores the current control values into the selected folder entry.
    virtual void SaveDirInfo() = 0;

    virtual void ClearLog() = 0;
    // Appends a line and selects it, so that the newest line is in view; an empty text
    // appends an empty line.
    virtual void AddLog(const QString& line) = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual void ShowError(const QString& message) = 0;

    // Lets the window handle pending events; a click on "Stop" arrives here.
    virtual void ProcessEvents() = 0;
    // Called once per file while copying: the window may repaint, but takes no input.
    virtual void KeepAlive() {}

    // The stop flag: set while a run is active, cleared by a stop request.
    virtual bool Running() const = 0;
    virtual void SetRunning(bool running) = 0;
};

class TTwoWaySync {
  public:
    explicit TTwoWaySync(TTwoWayHost& host) : host_(host) {}

    // One run: Preview lists what would be copied; an Interactive run reports to the status
    // line and error boxes, an unattended one to the log only.
    void DoSync(bool preview, bool interactive);

    // True when the last run logged an error line or refused its folders.
    bool ErrorsLogged() const { return errorsLogged_; }

    // Files copied (or designated) into each folder by the last run.
    unsigned CountIntoFirst() const { return intoFirst_; }
    unsigned CountIntoSecond() const { return intoSecond_; }

  private:
    // Relative paths of the files of one side that the other side needs, in the order they
    // are copied.
    using TResultList = QStringList;

    // The texts of a run, translated once when it starts.
    struct TTexts;

    void ScanDir(const QString& scannedBase, const QString& partnerBase, const QString& relative,
                 TResultList& list, bool subfolders, const QString& mask);
    void ScanFolder(const QString& scannedBase, const QString& partnerBase, const QString& relative,
                    TResultList& list, bool subfolders, const QString& mask,
                    QList<QPair<uint64_t, uint64_t>>& path);
    void CopyFiles(const QString& sourceBase, const QString& targetBase, const TResultList& list,
                   unsigned& counter);
    // Why the pair cannot be synchronised, or an empty text.
    QString RefusePair(const QString& first, const QString& second, bool subfolders) const;
    void ReportCouldNotRead(const QString& folder);

    TTwoWayHost& host_;
    const TTexts* texts_ = nullptr;
    bool preview_ = false;
    bool interactive_ = false;
    unsigned intoFirst_ = 0;
    unsigned intoSecond_ = 0;
    bool errorsLogged_ = false;
    QSet<QString> unreadable_;  // folders already reported in this run
};
