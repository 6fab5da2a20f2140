// Folder operations: the nearest existing folder of a typed path, deleting a folder tree with
// counts or into the trash, creating a folder with its parents, and the checks that keep a
// folder dialog from creating or deleting where it must not.
#pragma once

#include <functional>

#include <QString>

#include "Paths.h"

namespace FileUtils {

// Answers whether a path names an existing folder; lets tests walk paths of either syntax.
using TFolderExists = std::function<bool(const QString& path)>;

// The path itself when it is an existing folder (links followed; a trailing delimiter stays
// as typed), else its nearest existing parent folder (without a trailing delimiter), else
// `defaultFolder`. An empty or relative path gives the default. Windows syntax: a network
// path gives the default, and so does a walk that reaches a drive that does not exist. POSIX
// syntax: the walk ends at the root at the latest; "//x" is an ordinary path.
QString NearestExistingFolder(const QString& path, const QString& defaultFolder,
                              const TPathSyntax& syntax = NativePaths);
QString NearestExistingFolder(const QString& path, const QString& defaultFolder,
                              const TPathSyntax& syntax, const TFolderExists& folderExists);

// Deletes the folder `baseFolder` (when `subFolder` is empty) or `subFolder` below it, with
// everything in it, and adds what happened to the three counters: folders removed, files
// deleted, entries that could not be removed. Read-only files go all the same. The base folder
// itself is removed only when `deleteBase` is set. A folder keeps its place when one of its
// files stays; an attempt to remove a folder that is not empty counts as a failure.
// Nothing outside the tree is touched: a link (also one to a folder) is removed as a link and
// counted as a file, a folder with another file system mounted on it is not entered (one
// failure), and a protected folder (IsProtectedFolder) is refused as one failure. A missing
// folder changes no counter.
void DeleteFolderTree(const QString& baseFolder, const QString& subFolder, bool deleteBase,
                      int& folders, int& files, int& failures);

// Moves the folder (a link to a folder as the link) to the user's trash, from where it can be
// restored: 0, or the system's error code. A protected folder is refused (EACCES), and so is a
// name the trash cannot spell (EILSEQ). Nothing is deleted when the move fails.
int DeleteFolderShell(const QString& folder);

// Creates the folder together with every missing parent; true when it exists afterwards.
bool ForceFolders(const QString& path);

// True when `name`, typed for a new folder inside the current one, stays inside it: not empty,
// relative, and without a ".." component. Nested names ("a/b") are fine.
bool IsSafeSubfolderName(const QString& name, const TPathSyntax& syntax = NativePaths);

// True for the file-system root, the user's home folder and every folder that holds the home
// folder, however the path names them (through links, "..", a trailing delimiter). These are
// never deleted, whatever a user answers.
bool IsProtectedFolder(const QString& path);

}  // namespace FileUtils
