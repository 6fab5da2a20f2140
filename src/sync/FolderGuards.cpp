// Identities of folders.
#include "FolderGuards.h"

#include <algorithm>

#include "FileAttributes.h"
#include "FileFilter.h"
#include "FileSystemOps.h"
#include "Paths.h"
#include "RunTexts.h"

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

QString RefuseRun(const QString& first, const QString& second, bool subfolders,
                  const QString& filterText, const TFileFilter& filter, const TRunTexts& texts,
                  TFolderId ids[2]) {
    const QString folders[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        if (folders[i].isEmpty() || !FolderIdOf(folders[i], ids[i])) {
            return texts.DirectoryNotFound + Shown(folders[i]);
        }
    }
    // By identity, so that links and mounts cannot hide that one folder holds the other.
    const bool nested =
        subfolders && (ContainsFolder(ids[0], second) || ContainsFolder(ids[1], first));
    if (ids[0] == ids[1] || nested) {
        return texts.FoldersContainEachOther + Shown(first) + QStringLiteral(" <=> ") +
               Shown(second);
    }
    if (!filter.IsValid()) return texts.FilterNotNames + Shown(filterText);
    return QString();
}

bool TScanPath::Enter(const TFolderId& id) {
    if (id == bases_[0] || id == bases_[1]) return false;
    if (std::find(path_.begin(), path_.end(), id) != path_.end()) return false;
    path_.push_back(id);
    return true;
}

}  // namespace Sync
