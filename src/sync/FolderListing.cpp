// Listing one folder of a run.
#include "FolderListing.h"

#include <algorithm>

#include "FileCopy.h"
#include "FileFilter.h"
#include "FileSystemOps.h"
#include "FolderContents.h"

namespace Sync {

using namespace Platform;

bool ListOrder(const QString& a, const QString& b) {
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    if (order != 0 || kFileNameCase == Qt::CaseInsensitive) return order < 0;
    return a < b;
}

TFolderListing::TFolderListing(const QString& folder, const TFileFilter& filter, bool withFolders) {
    std::vector<TFolderItem> items;
    error_ = ReadFolderContents(
        folder,
        [&](const QString& name) {
            return filter.Matches(name) && !FileUtils::IsCopyTempName(name);
        },
        withFolders, items);
    if (error_ != 0) return;
    for (TFolderItem& item : items) {
        if (item.IsFolder) {
            folders_.push_back(
                {std::move(item.Name), {item.Data.VolumeId, item.Data.FileIndex}, item.Error});
        } else {
            files_.push_back(
                {std::move(item.Name), item.Data.LastWrite, item.Data.FileSize, item.Error});
        }
    }
    std::sort(files_.begin(), files_.end(),
              [](const TListedFile& a, const TListedFile& b) { return a.Name < b.Name; });
}

bool TFolderListing::Missing() const {
    return MeansNoSuchEntry(error_);
}

const TListedFile* TFolderListing::FindFile(const QString& name) const {
    const auto found = std::lower_bound(
        files_.begin(), files_.end(), name,
        [](const TListedFile& file, const QString& wanted) { return file.Name < wanted; });
    return found != files_.end() && found->Name == name ? &*found : nullptr;
}

}  // namespace Sync
