// Path and file-name routines over a path syntax; only IsExistingFolder touches the file system.
#include "Paths.h"

#include "FileAttributes.h"

namespace FileUtils {

namespace {

const QChar kDot = QLatin1Char('.');
const QChar kColon = QLatin1Char(':');

bool IsDelimiter(QChar c, const TPathSyntax& syntax) {
    return c == QChar(syntax.Delimiter);
}

bool IsDriveDelimiter(QChar c, const TPathSyntax& syntax) {
    return syntax.HasDrives && c == kColon;
}

bool StartsWithDelimiter(const QString& path, const TPathSyntax& syntax) {
    return !path.isEmpty() && IsDelimiter(path.front(), syntax);
}

bool EndsWithDelimiter(const QString& path, const TPathSyntax& syntax) {
    return !path.isEmpty() && IsDelimiter(path.back(), syntax);
}

// Index of the last path delimiter before index `end`, or -1. A plain loop, because
// QString::lastIndexOf reads a negative start as counted from the end.
qsizetype LastDelimiterBefore(const QString& path, qsizetype end, const TPathSyntax& syntax) {
    for (qsizetype k = end - 1; k >= 0; --k) {
        if (IsDelimiter(path.at(k), syntax)) return k;
    }
    return -1;
}

// Index of the last character that separates the folder part from the name: a delimiter, or
// the colon after a drive.
qsizetype LastNameSeparator(const QString& path, const TPathSyntax& syntax) {
    for (qsizetype k = path.size() - 1; k >= 0; --k) {
        const QChar c = path.at(k);
        if (IsDelimiter(c, syntax) || IsDriveDelimiter(c, syntax)) return k;
    }
    return -1;
}

// "..." and the last characters of the path, never more than maxLength characters in all.
QString EllipsisAndTail(const QString& path, int maxLength) {
    const QString ellipsis = QStringLiteral("...");
    if (maxLength < ellipsis.size()) return ellipsis.left(qMax(maxLength, 0));
    return ellipsis + path.right(maxLength - ellipsis.size());
}

}  // namespace

QString IncludeTrailingDelimiter(const QString& path, const TPathSyntax& syntax) {
    if (EndsWithDelimiter(path, syntax)) return path;
    return path + QChar(syntax.Delimiter);
}

QString ExcludeTrailingDelimiter(const QString& path, const TPathSyntax& syntax) {
    if (EndsWithDelimiter(path, syntax)) return path.chopped(1);
    return path;
}

QString ExtractFilePath(const QString& path, const TPathSyntax& syntax) {
    return path.left(LastNameSeparator(path, syntax) + 1);
}

QString ExtractFileName(const QString& path, const TPathSyntax& syntax) {
    return path.mid(LastNameSeparator(path, syntax) + 1);
}

QString ExtractFileDrive(const QString& path, const TPathSyntax& syntax) {
    if (!syntax.HasDrives) return QString();
    if (path.size() >= 2 && path.at(1) == kColon) return path.left(2);
    if (path.size() >= 2 && IsDelimiter(path.at(0), syntax) && IsDelimiter(path.at(1), syntax)) {
        // A network path: the drive ends before the delimiter that follows the share name.
        const qsizetype beforeShare = path.indexOf(QChar(syntax.Delimiter), 2);
        if (beforeShare < 0) return path;
        const qsizetype afterShare = path.indexOf(QChar(syntax.Delimiter), beforeShare + 1);
        return afterShare < 0 ? path : path.left(afterShare);
    }
    return QString();
}

bool IsRelativePath(const QString& path, const TPathSyntax& syntax) {
    if (StartsWithDelimiter(path, syntax)) return false;
    return !(path.size() >= 2 && IsDriveDelimiter(path.at(1), syntax));
}

QString AddTrailingDelimiter(const QString& path, const TPathSyntax& syntax) {
    if (path.isEmpty()) return path;
    return IncludeTrailingDelimiter(path, syntax);
}

QString RemoveFileExt(const QString& name, const TPathSyntax& syntax) {
    // Only the last component counts: a dot in a folder name is no extension.
    for (qsizetype k = name.size() - 1; k >= 0; --k) {
        const QChar c = name.at(k);
        if (c == kDot) return name.left(k);
        if (IsDelimiter(c, syntax)) break;
    }
    return name;
}

QString ReplaceFileExt(const QString& name, const QString& extension, const TPathSyntax& syntax) {
    if (name.isEmpty()) return QString();
    const QString base = RemoveFileExt(name, syntax);
    const QString ext = extension.startsWith(kDot) ? extension.mid(1) : extension;
    if (ext.isEmpty()) return base;
    return base + kDot + ext;
}

QString AddPath(const QString& folder, const QString& name, const TPathSyntax& syntax) {
    if (name.isEmpty()) return folder;
    if (folder.isEmpty()) return name;
    return AddTrailingDelimiter(folder, syntax) + name;
}

QString ComposeFileName(const QString& folder, const QString& name, const QString& defaultExtension,
                        const TPathSyntax& syntax) {
    const QString ext =
        defaultExtension.startsWith(kDot) ? defaultExtension.mid(1) : defaultExtension;
    // Any dot, even one in a folder part, means the caller chose the extension.
    QString fileName = name;
    if (!name.contains(kDot) && !ext.isEmpty()) fileName += kDot + ext;
    // A name with a drive or a leading delimiter already says where it lives.
    if (folder.isEmpty() || IsAbsolutePath(fileName, syntax)) return fileName;
    return IncludeTrailingDelimiter(folder, syntax) + fileName;
}

QString ShortenPathName(const QString& path, int maxLength, const TPathSyntax& syntax) {
    if (path.size() < maxLength) return path;
    // A delimiter in the last position does not start the last component.
    const qsizetype last = LastDelimiterBefore(path, path.size() - 1, syntax);
    if (last < 0) return EllipsisAndTail(path, maxLength);
    // Keep as much of the beginning as fits, cutting at the latest possible delimiter.
    const QString tail = QStringLiteral("...") + path.mid(last);
    for (qsizetype d = LastDelimiterBefore(path, last, syntax); d >= 0;
         d = LastDelimiterBefore(path, d, syntax)) {
        if (d + 1 + tail.size() <= maxLength) return path.left(d + 1) + tail;
    }
    return EllipsisAndTail(path, maxLength);
}

QString GetParentFolder(const QString& path, const TPathSyntax& syntax) {
    const QString folder = ExcludeTrailingDelimiter(path, syntax);
    const qsizetype last = LastDelimiterBefore(folder, folder.size(), syntax);
    if (last > 0) return folder.left(last);
    // On POSIX an empty text does not name the root, so "/a" and "/" go up to "/" itself.
    if (!syntax.HasDrives && StartsWithDelimiter(path, syntax)) {
        return QString(QChar(syntax.Delimiter));
    }
    return folder;
}

bool IsAbsolutePath(const QString& path, const TPathSyntax& syntax) {
    if (StartsWithDelimiter(path, syntax)) return true;
    return syntax.HasDrives && path.contains(kColon);
}

bool IsNetworkPath(const QString& path, const TPathSyntax& syntax) {
    return syntax.HasDrives && path.size() >= 2 && IsDelimiter(path.at(0), syntax) &&
           IsDelimiter(path.at(1), syntax);
}

bool IsRealEntryName(const QString& name) {
    return name != QLatin1String(".") && name != QLatin1String("..");
}

bool IsExistingFolder(const QString& name) {
    // The link itself answers; the platform marks a link to a folder with the directory bit.
    Platform::TFileAttributeData data;
    if (Platform::QueryAttributeData(name, /*followLink=*/false, data) != 0) return false;
    return (data.Attributes & Platform::kAttrDirectory) != 0;
}

}  // namespace FileUtils
