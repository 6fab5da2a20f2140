// One folder of a run, listed once: the files that pass the filter with their times, and the
// subfolders with their identities.
#pragma once

#include <vector>

#include <QString>

#include "FileAttributes.h"
#include "FolderGuards.h"

namespace Sync {

class TFileFilter;

struct TListedFile {
    QString Name;
    Platform::TExactTime LastWrite;
    uint64_t Size = 0;
    Platform::ErrorCode Error = 0;  // its data could not be read: it takes no part in the run
};

struct TListedFolder {
    QString Name;
    TFolderId Id;
    Platform::ErrorCode Error = 0;  // its data could not be read: it is not entered
};

// The order in which runs list and copy files: without regard to case; names that differ only
// in case stay apart where the file system tells them apart.
bool ListOrder(const QString& a, const QString& b);

class TFolderListing {
  public:
    TFolderListing() = default;
    // Lists `folder`: the files that pass `filter` (never the copy engine's temporary files)
    // and, with `withFolders`, the subfolders; links followed.
    TFolderListing(const QString& folder, const TFileFilter& filter, bool withFolders);

    // 0, or why the folder could not be listed.
    Platform::ErrorCode Error() const { return error_; }
    // The folder does not exist (which is no error for a partner folder).
    bool Missing() const;

    const std::vector<TListedFile>& Files() const { return files_; }  // by name, exactly
    const std::vector<TListedFolder>& Folders() const { return folders_; }
    // The file of exactly this name, or nullptr.
    const TListedFile* FindFile(const QString& name) const;

  private:
    Platform::ErrorCode error_ = 0;
    std::vector<TListedFile> files_;
    std::vector<TListedFolder> folders_;
};

}  // namespace Sync
