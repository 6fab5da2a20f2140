// Identities of folders.
#include "FolderGuards.h"

#include <algorithm>

#include "FileAttributes.h"
#include "FileSystemOps.h"
#include "Paths.h"

namespace Sync {

bool FolderIdOf(const QString& path, TFolderId& id) {
    Platform::TFileAttributeData data;
    if (Platform::QueryAttributeData(path, true, data) != 0) return false;
    if ((data.Attributes & Platform::kAttrDirectory) == 0) return false;
    id = {data.VolumeId, data.FileIndex};
    return true;
}

bool ContainsFolder(const TFolderId& outer, const QString& inner) {
    QString folder = Platform::FinalPathName(inner);
    while (!folder.isEmpty()) {
        TFolderId id;
        if (FolderIdOf(folder, id) && id == outer) return true;
        const QString parent = FileUtils::GetParentFolder(folder);
        if (parent == folder) break;
        folder = parent;
    }
    return false;
}

bool TScanPath::Enter(const TFolderId& id) {
    if (id == bases_[0] || id == bases_[1]) return false;
    if (std::find(path_.begin(), path_.end(), id) != path_.end()) return false;
    path_.push_back(id);
    return true;
}

}  // namespace Sync
