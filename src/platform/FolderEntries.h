// Every entry of one folder as it is, links not followed: what deleting a tree has to see.
#pragma once

#include <vector>

#include <QString>

#include "ErrorCode.h"

namespace Platform {

enum class TEntryKind {
    Folder,      // a folder on the same mount as the folder listed
    MountPoint,  // a folder on which a file system (or a bind mount) is mounted
    NonFolder,   // anything else: a file, a link (to a folder too), a FIFO, socket or device
};

struct TFolderEntry {
    QString Name;  // without a path
    TEntryKind Kind;
};

// The entries of `folder` except "." and "..", hidden ones, dangling links and special files
// included. A `folder` that is itself a link is not listed (the error is ELOOP), so a folder
// swapped for a link is never listed through it. The entries read before a failure stay.
ErrorCode ListFolderEntries(const QString& folder, std::vector<TFolderEntry>& entries);

}  // namespace Platform
