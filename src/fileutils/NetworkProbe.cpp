// The network probe on Linux: the GVfs folder of the user and the system's mount table.
#include "NetworkProbe.h"

#include <unistd.h>

#include <QFile>

#include "NativeName.h"
#include "Paths.h"

namespace NetworkProbe {

namespace {

QString& MountTableFileName() {
    static QString fileName;
    return fileName;
}

bool IsNetworkFileSystem(const QByteArray& type) {
    static const QByteArray kTypes[] = {
        "nfs",   "nfs4",        "cifs",           "smb3",           "smbfs",      "ncpfs",
        "afs",   "ceph",        "glusterfs",      "fuse.glusterfs", "fuse.sshfs", "sshfs",
        "davfs", "fuse.davfs2", "fuse.curlftpfs", "fuse.rclone"};
    const QByteArray lower = type.toLower();
    for (const QByteArray& known : kTypes) {
        if (lower == known) return true;
    }
    return false;
}

// A field of the mount table, whose blanks, tabs, line breaks and backslashes are written as
// octal escapes ("\040").
QByteArray Unescape(const QByteArray& field) {
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype k = 0; k < field.size(); ++k) {
        const auto isOctal = [&](qsizetype i) {
            return i < field.size() && field.at(i) >= '0' && field.at(i) <= '7';
        };
        if (field.at(k) == '\\' && isOctal(k + 1) && isOctal(k + 2) && isOctal(k + 3)) {
            bytes.append(char((field.at(k + 1) - '0') * 64 + (field.at(k + 2) - '0') * 8 +
                              (field.at(k + 3) - '0')));
            k += 3;
        } else {
            bytes.append(field.at(k));
        }
    }
    return bytes;
}

// The deepest folder that holds every one of the absolute paths (a path holds itself).
QString CommonFolder(const QStringList& paths) {
    QString common = paths.first();
    for (const QString& path : paths) {
        while (path != common && !path.startsWith(FileUtils::IncludeTrailingDelimiter(
                                     common, FileUtils::PosixPaths))) {
            common = FileUtils::GetParentFolder(common, FileUtils::PosixPaths);
        }
    }
    return common;
}

}  // namespace

bool IsOptionalFeatureEnabled(const QString& featureName) {
    return featureName.compare(QLatin1String(kNetworkClientFeature), Qt::CaseInsensitive) == 0 &&
           !NetworkFolder().isEmpty();
}

bool IsNetworkClientEnabled() {
    return IsOptionalFeatureEnabled(QLatin1String(kNetworkClientFeature));
}

QString NetworkFolder() {
    const QString& custom = MountTableFileName();
    QFile table(custom.isEmpty() ? QStringLiteral("/proc/self/mounts") : custom);
    // An unreadable table only leaves the GVfs folder to look at.
    const QByteArray content = table.open(QIODevice::ReadOnly) ? table.readAll() : QByteArray();
    return FindNetworkFolder(GvfsFolder(), content);
}

QString GvfsFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder =
        runtime.isEmpty() ? QStringLiteral("/run/user/%1").arg(getuid()) : runtime;
    return FileUtils::AddPath(folder, QStringLiteral("gvfs"), FileUtils::PosixPaths);
}

QStringList NetworkMountPoints(const QByteArray& mountTable) {
    QStringList mountPoints;
    for (const QByteArray& line : mountTable.split('\n')) {
        // source, mount point, type, options, and two numbers
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3 || !IsNetworkFileSystem(fields.at(2))) continue;
        const QString mountPoint = Platform::FromNativeName(Unescape(fields.at(1)));
        if (FileUtils::IsAbsolutePath(mountPoint, FileUtils::PosixPaths)) {
            mountPoints << mountPoint;
        }
    }
    return mountPoints;
}

QString FindNetworkFolder(const QString& gvfsFolder, const QByteArray& mountTable) {
    if (!gvfsFolder.isEmpty() && FileUtils::IsExistingFolder(gvfsFolder)) return gvfsFolder;
    const QStringList mountPoints = NetworkMountPoints(mountTable);
    return mountPoints.isEmpty() ? QString() : CommonFolder(mountPoints);
}

void SetMountTableFile(const QString& fileName) {
    MountTableFileName() = fileName;
}

}  // namespace NetworkProbe
