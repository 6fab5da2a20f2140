// Folder operations over the platform's listing, deletion and folder creation.
#include "Folders.h"

#include <cerrno>
#include <vector>

#include <QFile>
#include <QStandardPaths>

#include "FileAttributes.h"
#include "FileInfo.h"
#include "FileSystemOps.h"
#include "FolderEntries.h"
#include "NativeName.h"
#include "SpecialFolders.h"

namespace FileUtils {

namespace {

using Platform::TEntryKind;
using Platform::TFolderEntry;

struct TDeleteCounters {
    int& Folders;
    int& Files;
    int& Failures;
};

// The entry itself: "dir/" would name the target of a link called "dir".
QString WithoutTrailingDelimiter(const QString& path) {
    const QString entry = ExcludeTrailingDelimiter(path);
    return entry.isEmpty() ? path : entry;
}

// "/", or a drive's root in Windows syntax: going up stays where it is.
bool IsRootFolder(const QString& path) {
    const QString folder = ExcludeTrailingDelimiter(path);
    return folder.isEmpty() || GetParentFolder(path) == folder;
}

// A file, a link or a special file: the entry goes, never what a link leads to.
bool DeleteNonFolder(const QString& path, TDeleteCounters& counters) {
    const bool deleted = Platform::DeleteFile(path) == 0;
    ++(deleted ? counters.Files : counters.Failures);
    return deleted;
}

// Empties `folder`, a real folder (never a link), and removes it when `removeFolder` is set.
void DeleteTree(const QString& folder, bool removeFolder, TDeleteCounters& counters) {
    if (removeFolder) {
        // Its entries cannot go while it is read-only; it is going anyway.
        Platform::TFileAttributeData data;
        if (Platform::QueryAttributeData(folder, /*followLink=*/false, data) == 0 &&
            (data.Attributes & Platform::kAttrReadOnly) != 0) {
            Platform::SetAttributes(folder, 0);
        }
    }
    std::vector<TFolderEntry> entries;
    if (Platform::ListFolderEntries(folder, entries) != 0) {
        // What it holds is unknown: keep it, and say that the tree is not gone.
        ++counters.Failures;
        return;
    }
    int found = 0;
    int deleted = 0;
    for (const TFolderEntry& entry : entries) {
        const QString path = AddPath(folder, entry.Name);
        switch (entry.Kind) {
            case TEntryKind::Folder:
                DeleteTree(path, /*removeFolder=*/true, counters);
                break;
            case TEntryKind::MountPoint:
                // Another file system: not part of the tree, and it cannot be removed.
                ++counters.Failures;
                break;
            case TEntryKind::NonFolder:
                ++found;
                if (DeleteNonFolder(path, counters)) ++deleted;
                break;
        }
    }
    // A file that stayed keeps its folder; subfolders that stayed make the removal fail.
    if (!removeFolder || deleted != found) return;
    if (Platform::RemoveFolder(folder) == 0) {
        ++counters.Folders;
    } else {
        ++counters.Failures;
    }
}

// The trash in the user's data folder, created when missing. Without it, Qt 6.4 takes the
// current folder for the trash and moves the folder there, reporting success.
int EnsureHomeTrash() {
    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty()) return ENOENT;
    const QString trash = AddPath(dataFolder, QStringLiteral("Trash"));
    if (DirectoryExists(trash)) return 0;
    if (const int error = Platform::CreateFolderWithParents(trash)) return error;
    // What the trash holds is the user's business alone.
    QFile::setPermissions(trash, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return 0;
}

}  // namespace

QString NearestExistingFolder(const QString& path, const QString& defaultFolder,
                              const TPathSyntax& syntax) {
    return NearestExistingFolder(path, defaultFolder, syntax, DirectoryExists);
}

QString NearestExistingFolder(const QString& path, const QString& defaultFolder,
                              const TPathSyntax& syntax, const TFolderExists& folderExists) {
    if (path.isEmpty() || !IsAbsolutePath(path, syntax)) return defaultFolder;
    if (folderExists(path)) return path;
    // Network paths are not walked up: asking for each level could take long.
    if (IsNetworkPath(path, syntax)) return defaultFolder;
    const QString drive = ExtractFileDrive(path, syntax);
    QString current = path;
    while (!current.isEmpty()) {
        if (folderExists(current)) return current;
        if (!drive.isEmpty() && current.compare(drive, Qt::CaseInsensitive) == 0) break;
        const QString parent = GetParentFolder(current, syntax);
        if (parent == current) break;
        current = parent;
    }
    return defaultFolder;
}

void DeleteFolderTree(const QString& baseFolder, const QString& subFolder, bool deleteBase,
                      int& folders, int& files, int& failures) {
    TDeleteCounters counters{folders, files, failures};
    const QString folder = WithoutTrailingDelimiter(AddPath(baseFolder, subFolder));
    if (!IsExistingFolder(folder)) return;
    if (IsProtectedFolder(folder)) {
        ++counters.Failures;
        return;
    }
    const bool removeFolder = deleteBase || !subFolder.isEmpty();
    Platform::TFileAttributeData data;
    if (Platform::QueryAttributeData(folder, /*followLink=*/false, data) != 0) {
        ++counters.Failures;
        return;
    }
    if ((data.Attributes & Platform::kAttrReparsePoint) != 0) {
        // A link to a folder: the link goes, what it leads to stays.
        if (removeFolder) DeleteNonFolder(folder, counters);
        return;
    }
    DeleteTree(folder, removeFolder, counters);
}

int DeleteFolderShell(const QString& folder) {
    const QString entry = WithoutTrailingDelimiter(folder);
    if (IsProtectedFolder(entry)) return EACCES;
    Platform::TFileAttributeData data;
    if (const int error = Platform::QueryAttributeData(entry, /*followLink=*/false, data)) {
        return error;
    }
    if ((data.Attributes & Platform::kAttrDirectory) == 0) return ENOTDIR;
    // Qt spells names in UTF-8 only; a name that is not would reach a different entry.
    if (QFile::encodeName(entry) != Platform::ToNativeName(entry)) return EILSEQ;
    if (const int error = EnsureHomeTrash()) return error;
    errno = 0;
    if (QFile::moveToTrash(entry)) return 0;
    // Qt reports the failure only as text; the failing call's errno is still there.
    return errno != 0 ? errno : EIO;
}

bool ForceFolders(const QString& path) {
    if (path.isEmpty()) return false;
    return Platform::CreateFolderWithParents(path) == 0 && DirectoryExists(path);
}

bool IsSafeSubfolderName(const QString& name, const TPathSyntax& syntax) {
    if (IsAbsolutePath(name, syntax)) return false;
    // Windows also takes "/" as a delimiter, and a name made only of dots and blanks ("...",
    // ". .") is no plain name there.
    const QString delimiters =
        syntax.HasDrives ? QStringLiteral("\\/") : QString(QChar(syntax.Delimiter));
    bool hasName = false;
    qsizetype start = 0;
    for (qsizetype k = 0; k <= name.size(); ++k) {
        if (k < name.size() && !delimiters.contains(name.at(k))) continue;
        const QString component = name.mid(start, k - start);
        start = k + 1;
        if (component.isEmpty() || component == QLatin1String(".")) continue;
        if (component == QLatin1String("..")) return false;
        if (syntax.HasDrives && component.count(QLatin1Char('.')) >= 2 &&
            component.count(QLatin1Char('.')) + component.count(QLatin1Char(' ')) ==
                component.size()) {
            return false;
        }
        hasName = true;
    }
    return hasName;
}

bool IsProtectedFolder(const QString& path) {
    const QString target = Platform::FinalPathName(path);
    if (target.isEmpty()) return false;  // nothing there to delete
    if (IsRootFolder(target)) return true;
    const QString home =
        Platform::FinalPathName(Platform::GetSpecialFolderPath(Platform::kCsidlProfile));
    if (home.isEmpty()) return false;
    return Platform::SameFileName(home, target) ||
           home.startsWith(IncludeTrailingDelimiter(target), Platform::kFileNameCase);
}

}  // namespace FileUtils
