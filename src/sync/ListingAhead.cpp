// Folders listed ahead on a thread of its own.
#include "ListingAhead.h"

#include <algorithm>

namespace Sync {

TListingAhead::TListingAhead(const TFileFilter& filter, bool withFolders)
    : filter_(filter), withFolders_(withFolders), worker_([this] { Work(); }) {}

TListingAhead::~TListingAhead() {
    {
        const std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    worker_.join();
}

void TListingAhead::Ask(const QStringList& folders) {
    {
        const std::lock_guard lock(mutex_);
        asked_.insert(asked_.begin(), folders.begin(), folders.end());
    }
    changed_.notify_all();
}

TFolderListing TListingAhead::Take(const QString& folder) {
    std::unique_lock lock(mutex_);
    const auto queued = std::find(asked_.begin(), asked_.end(), folder);
    if (queued != asked_.end()) {
        // Not started yet: listing it here costs no more than waiting for it.
        asked_.erase(queued);
    } else {
        changed_.wait(lock, [&] { return working_ != folder; });
        const auto found = ready_.find(folder);
        if (found != ready_.end()) {
            TFolderListing listing = std::move(found->second);
            ready_.erase(found);
            return listing;
        }
    }
    lock.unlock();
    return TFolderListing(folder, filter_, withFolders_);
}

void TListingAhead::Work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !asked_.empty(); });
        if (ending_) return;
        working_ = asked_.front();
        asked_.pop_front();
        lock.unlock();
        TFolderListing listing(working_, filter_, withFolders_);
        lock.lock();
        ready_.insert_or_assign(working_, std::move(listing));
        working_.clear();
        changed_.notify_all();
    }
}

}  // namespace Sync
