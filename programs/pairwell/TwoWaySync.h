// The run of Pairwell: scans both folders against each other, then copies every file that one
// side lacks or holds older into it, both ways. Knows nothing of widgets.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "FolderGuards.h"
#include "RunHost.h"
#include "TimeGrain.h"

namespace Sync {
class TFileFilter;
class TFolderListing;
class TListingAhead;
class TRunLog;
struct TRunTexts;
}  // namespace Sync

// What a run is asked to do.
struct TTwoWayInputs {
    QString FirstFolder;
    QString SecondFolder;
    QString Filter;  // masks separated by ";"
    bool IncludeSubdirectories = true;
    bool OnlyDuplicates = false;
    bool Preview = false;     // lists what would be copied
    bool Interactive = true;  // reports to the status line and error boxes, else to the log only
};

class TTwoWaySync {
  public:
    explicit TTwoWaySync(Sync::TRunHost& host);
    ~TTwoWaySync();

    void DoSync(const TTwoWayInputs& inputs);

    // True when the last run logged an error line or refused its folders.
    bool ErrorsLogged() const { return errorsLogged_; }
    // True when the last run refused its folders or its filter and did nothing.
    bool Refused() const { return refused_; }

    // Files copied (or designated) into each folder by the last run.
    unsigned CountIntoFirst() const { return intoFirst_; }
    unsigned CountIntoSecond() const { return intoSecond_; }

  private:
    // A file of one side that the other side needs: its relative path, and whether the other
    // side held it (older) when it was compared.
    struct TListed {
        QString Path;
        bool Seen = false;
        uint64_t Size = 0;  // as listed
    };
    using TResultList = std::vector<TListed>;
    enum TSide { kFirst = 0, kSecond = 1 };
    struct TFolderResults;
    struct TPending;

    void Scan(TSide scanned, TResultList& list);
    void Visit(TSide scanned, const QString& relative, Sync::TScanPath& path, TResultList& list);
    // Both sides' view of one folder, from one listing of each.
    TFolderResults Compare(const QString& relative, TSide scanned, const Sync::TFolderListing& own,
                           const Sync::TFolderListing& partner);
    TFolderResults Results(TSide scanned, const QString& relative);
    void CopyFiles(TSide from, const TResultList& list, unsigned& counter);

    Sync::TRunHost& host_;
    const TTwoWayInputs* inputs_ = nullptr;
    const Sync::TRunTexts* texts_ = nullptr;
    const Sync::TFileFilter* filter_ = nullptr;
    Sync::TRunLog* log_ = nullptr;
    Sync::TListingAhead* ahead_ = nullptr;  // during the first scan
    QString bases_[2];
    Sync::TFolderId baseIds_[2];
    Sync::TTimeGrain grains_[2];
    // What the first scan learnt about the folders of the second side, kept for the second
    // scan, so that no folder is listed twice.
    std::map<QString, std::unique_ptr<TFolderResults>> later_;
    std::vector<TPending> undecided_;  // times too close to compare before the grains are known
    unsigned intoFirst_ = 0;
    unsigned intoSecond_ = 0;
    bool errorsLogged_ = false;
    bool refused_ = false;
    Sync::TCopyProgress progress_;
};
