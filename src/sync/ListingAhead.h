// Folders listed ahead on a thread of its own: a run asks for the listings it will need next
// and takes each when it gets there, so that the two sides of a pair are read at the same time
// (on a network share every query is a round trip; on two cores, half the wait).
#pragma once

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

#include <QString>
#include <QStringList>

#include "FolderListing.h"

namespace Sync {

class TListingAhead {
  public:
    // Lists files that pass `filter` and, with `withFolders`, the subfolders.
    TListingAhead(const TFileFilter& filter, bool withFolders);
    // Listings asked for and never taken are dropped.
    ~TListingAhead();
    TListingAhead(const TListingAhead&) = delete;
    TListingAhead& operator=(const TListingAhead&) = delete;

    // These folders are wanted next, in this order, before those asked for earlier: a scan
    // that goes depth first asks for a folder's subfolders as it enters it.
    void Ask(const QStringList& folders);
    // The listing of `folder`, waiting for it when it is not ready; a folder not asked for is
    // listed now.
    TFolderListing Take(const QString& folder);

  private:
    void Work();

    const TFileFilter& filter_;
    const bool withFolders_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QString> asked_;
    std::map<QString, TFolderListing> ready_;
    QString working_;  // being listed, or empty
    bool ending_ = false;
    std::thread worker_;
};

}  // namespace Sync
