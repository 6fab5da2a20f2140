// Operations on names in the file system: create and remove folders, delete and rename files.
#pragma once

#include <QString>

#include "ErrorCode.h"
#include "FileAttributes.h"

namespace Platform {

// Creates the folder and every missing parent; an existing folder is success.
ErrorCode CreateFolderWithParents(const QString& path);

// Removes an empty folder.
ErrorCode RemoveFolder(const QString& path);

// Deletes a file (a link itself, never its target).
ErrorCode DeleteFile(const QString& path);

// Renames in one step, replacing an existing file of the new name.
ErrorCode RenameReplacing(const QString& from, const QString& to);

// The same for two entries of one folder held open; an entry of the new name is replaced
// (a link there is replaced itself, never written through).
ErrorCode RenameReplacingIn(const TFolderHandle& folder, const QString& from, const QString& to);

// Renames within a folder held open unless the new name is taken (kErrorFileExists), also by a
// name that differs in case on a file system that ignores case.
ErrorCode RenameNotReplacingIn(const TFolderHandle& folder, const QString& from, const QString& to);

// Deletes the entry `name` (a file or a link) of a folder held open.
ErrorCode DeleteFileIn(const TFolderHandle& folder, const QString& name);

// The absolute path of the final target of `path`, every link resolved; empty when it cannot
// be determined (a dangling link, say).
QString FinalPathName(const QString& path);

// How the file system compares names: exactly on Linux, without regard to case on Windows and
// macOS. Lists and histories of paths compare by this rule.
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
inline constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseInsensitive;
#else
inline constexpr Qt::CaseSensitivity kFileNameCase = Qt::CaseSensitive;
#endif

// True when two names stand for the same entry name by the file system's rule.
bool SameFileName(const QString& a, const QString& b);

}  // namespace Platform
