// Path and file-name routines, written once over a path syntax: Windows (backslash, drive
// colon, \\server\share) or POSIX (slash, no drives). The programs use the native syntax.
#pragma once

#include <QString>

namespace FileUtils {

struct TPathSyntax {
    char16_t Delimiter;
    bool HasDrives;  // a colon names a drive and "\\server\share" a network share
};

inline constexpr TPathSyntax WindowsPaths{u'\\', true};
inline constexpr TPathSyntax PosixPaths{u'/', false};
#ifdef Q_OS_WIN
inline constexpr TPathSyntax NativePaths = WindowsPaths;
#else
inline constexpr TPathSyntax NativePaths = PosixPaths;
#endif

// The standard operations the routines below are built on.
QString IncludeTrailingDelimiter(const QString& path, const TPathSyntax& syntax = NativePaths);
QString ExcludeTrailingDelimiter(const QString& path, const TPathSyntax& syntax = NativePaths);
QString ExtractFilePath(const QString& path, const TPathSyntax& syntax = NativePaths);
QString ExtractFileName(const QString& path, const TPathSyntax& syntax = NativePaths);
QString ExtractFileDrive(const QString& path, const TPathSyntax& syntax = NativePaths);
bool IsRelativePath(const QString& path, const TPathSyntax& syntax = NativePaths);

// Empty for an empty path, else the path ending in a delimiter.
QString AddTrailingDelimiter(const QString& path, const TPathSyntax& syntax = NativePaths);
// The name without the extension of its last component (name.tar.gz gives name.tar).
QString RemoveFileExt(const QString& name, const TPathSyntax& syntax = NativePaths);
// The name with its extension replaced; "ini" and ".ini" alike; empty for an empty name.
QString ReplaceFileExt(const QString& name, const QString& extension,
                       const TPathSyntax& syntax = NativePaths);
// Folder and relative name joined by exactly one delimiter.
QString AddPath(const QString& folder, const QString& name,
                const TPathSyntax& syntax = NativePaths);
// Folder, name and a default extension for a name without any dot; an absolute name stands
// alone.
QString ComposeFileName(const QString& folder, const QString& name, const QString& defaultExtension,
                        const TPathSyntax& syntax = NativePaths);
// The path shortened with "..." to at most `maxLength` characters, keeping its beginning and
// its last component.
QString ShortenPathName(const QString& path, int maxLength,
                        const TPathSyntax& syntax = NativePaths);
// The folder above the path, without a trailing delimiter.
QString GetParentFolder(const QString& path, const TPathSyntax& syntax = NativePaths);
bool IsAbsolutePath(const QString& path, const TPathSyntax& syntax = NativePaths);
// True for "\\server\share..." in Windows syntax; POSIX has none ("//x" is an ordinary path).
bool IsNetworkPath(const QString& path, const TPathSyntax& syntax = NativePaths);
// False for "." and "..", true for every other name a folder listing gives.
bool IsRealEntryName(const QString& name);
// True when the name exists and its own attributes (a link is not followed) say folder.
bool IsExistingFolder(const QString& name);

}  // namespace FileUtils
