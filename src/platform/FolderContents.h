// The files and subfolders of one folder with their data, links followed, each entry read
// once: what a run compares.
#pragma once

#include <functional>
#include <vector>

#include <QString>

#include "ErrorCode.h"
#include "FileAttributes.h"

namespace Platform {

struct TFolderItem {
    QString Name;  // without a path
    bool IsFolder = false;
    TFileAttributeData Data;  // links followed
    ErrorCode Error = 0;      // the entry's data could not be read; Data is empty then
};

using TNameFilter = std::function<bool(const QString& name)>;

// Lists the regular files of `folder` (and links to them) whose names `wantFile` accepts and,
// with `withFolders`, its subfolders (and links to them), each with its data. FIFOs, sockets,
// devices and dangling links are left out. The result is 0, or why the folder could not be
// listed; a folder that can be listed but not entered (no search permission) counts as one
// that cannot be listed.
ErrorCode ReadFolderContents(const QString& folder, const TNameFilter& wantFile, bool withFolders,
                             std::vector<TFolderItem>& items);

}  // namespace Platform
