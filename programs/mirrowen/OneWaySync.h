// The run of Mirrowen: brings a destination folder up to date from a source folder, one way.
// One scan of the source; the decision for each file comes in the copy pass. Knows nothing of
// widgets.
#pragma once

#include <map>
#include <vector>

#include <QString>

#include "FileAttributes.h"
#include "FolderGuards.h"
#include "RunHost.h"
#include "TimeGrain.h"

namespace Sync {
class TFileFilter;
class TListingAhead;
class TRunLog;
struct TRunTexts;
}  // namespace Sync

// What a run is asked to do.
struct TOneWayInputs {
    QString Destination;  // "Folder to be synchronized:"
    QString Source;       // "Synchronize with folder:"
    QString Filter;       // masks separated by ";"
    bool IncludeSubdirectories = true;
    bool ReplaceOnlyExisting = false;  // touch only files the destination holds
};

class TOneWaySync {
  public:
    explicit TOneWaySync(Sync::TRunHost& host);
    ~TOneWaySync();

    void DoSync(const TOneWayInputs& inputs);

    // True when the last run logged an error line or refused its folders.
    bool ErrorsLogged() const { return errorsLogged_; }
    // True when the last run refused its folders and did nothing.
    bool Refused() const { return refused_; }
    unsigned Copied() const { return copied_; }

  private:
    enum TSide { kDestination = 0, kSource = 1 };
    // A file of the source, with what the destination held under its name when it was
    // listed.
    struct TFound {
        QString Path;  // relative
        Platform::TExactTime LastWrite;
        bool FolderMissing = false;  // the destination has no folder for it
        bool TargetSeen = false;
        Platform::TExactTime TargetLastWrite;
        bool Unreadable = false;  // the source or the target could not be read: not copied
    };

    void Visit(const QString& relative, Sync::TScanPath& path);
    // Whether the copy pass may copy the file; false when it is decided now that it will not.
    bool MayCopy(const TFound& found) const;
    void CopyFiles();

    Sync::TRunHost& host_;
    const TOneWayInputs* inputs_ = nullptr;
    const Sync::TRunTexts* texts_ = nullptr;
    const Sync::TFileFilter* filter_ = nullptr;
    Sync::TRunLog* log_ = nullptr;
    Sync::TListingAhead* ahead_ = nullptr;
    QString bases_[2];
    Sync::TFolderId baseIds_[2];
    Sync::TTimeGrain grains_[2];
    std::vector<TFound> found_;  // the files the copy pass may copy
    unsigned listed_ = 0;        // every file listed: the "files found"
    unsigned copied_ = 0;
    bool errorsLogged_ = false;
    bool refused_ = false;
};
