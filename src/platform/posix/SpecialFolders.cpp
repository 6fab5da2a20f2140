// Special folders on Linux: the XDG folders through QStandardPaths, Program Files from the
// executable's own place.
#include "SpecialFolders.h"

#include <QStandardPaths>

#include "ProcessInfo.h"

namespace Platform {

namespace {

QString WithoutTrailingDelimiter(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString StandardFolder(QStandardPaths::StandardLocation location) {
    return WithoutTrailingDelimiter(QStandardPaths::writableLocation(location));
}

// The folder above the one that holds the executable; "/" at the top of the tree.
QString ProgramFilesFolder() {
    const QString program = ExecutablePath();
    if (!program.startsWith(QLatin1Char('/'))) return {};
    QString folder = program.left(program.lastIndexOf(QLatin1Char('/')));
    folder.truncate(folder.lastIndexOf(QLatin1Char('/')));
    return folder.isEmpty() ? QStringLiteral("/") : folder;
}

}  // namespace

QString GetSpecialFolderPath(int csidl) {
    switch (csidl) {
        case kCsidlDesktop:
            return StandardFolder(QStandardPaths::DesktopLocation);
        case kCsidlPersonal:
            return StandardFolder(QStandardPaths::DocumentsLocation);
        case kCsidlAppData:
            return StandardFolder(QStandardPaths::GenericConfigLocation);
        case kCsidlLocalAppData:
            return StandardFolder(QStandardPaths::GenericDataLocation);
        case kCsidlProfile:
            return StandardFolder(QStandardPaths::HomeLocation);
        case kCsidlProgramFiles:
            return ProgramFilesFolder();
        case kCsidlProgramFilesCommon: {
            const QString programFiles = ProgramFilesFolder();
            if (programFiles.isEmpty()) return {};
            const QString base = programFiles == QLatin1String("/") ? QString() : programFiles;
            return base + QStringLiteral("/share");
        }
        default:  // favorites and every number we do not know
            return {};
    }
}

}  // namespace Platform
