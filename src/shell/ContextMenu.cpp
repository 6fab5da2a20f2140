// The folder context-menu entry on Linux: a desktop entry and a service menu in the user's
// data folder.
#include "ContextMenu.h"

#include <cerrno>

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "AtomicSave.h"
#include "Catalog.h"
#include "FileSystemOps.h"
#include "IniFiles.h"
#include "Paths.h"
#include "ProcessInfo.h"
#include "SpecialFolders.h"

namespace ContextMenu {

using namespace Qt::StringLiterals;

namespace {

using IniFiles::EIniFileError;

// The file manager ignores service menus that are not executable.
constexpr QFileDevice::Permissions kServiceMenuPermissions =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

// Long enough for a large applications folder, short enough not to stall the window.
constexpr int kDatabaseToolTimeoutMs = 3000;

struct TEntryFiles {
    QString DesktopEntry;
    QString ServiceMenu;
    bool InDataFolder;  // false when the data folder is not absolute: the files would land
                        // wherever the program happens to run
};

TEntryFiles FilesOf(const TMenuEntry& entry) {
    const QString dataFolder = Platform::GetSpecialFolderPath(Platform::kCsidlLocalAppData);
    const QString fileName = entry.VerbKey + u".desktop"_s;
    return {dataFolder + u"/applications/"_s + fileName,
            dataFolder + u"/kio/servicemenus/"_s + fileName, QDir::isAbsolutePath(dataFolder)};
}

// One argument of an Exec line: quoted, with the characters that stay special inside quotes
// escaped, and "%" doubled so that it is not taken for a field code.
QString QuotedExecArgument(const QString& argument) {
    QString quoted(u'"');
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') {
            quoted += u'\\';
        } else if (c == u'%') {
            quoted += u'%';
        }
        quoted += c;
    }
    quoted += u'"';
    return quoted;
}

// A value as a desktop-entry string. Readers undo these escapes before they look at the
// quoting of an Exec line, so a backslash of the quoting is doubled once more here.
QString EscapedValue(const QString& value) {
    QString escaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == u'\\') {
            escaped += u"\\\\"_s;
        } else if (c == u'\n') {
            escaped += u"\\n"_s;
        } else if (c == u'\t') {
            escaped += u"\\t"_s;
        } else if (c == u'\r') {
            escaped += u"\\r"_s;
        } else if (c == u' ' && i == 0) {
            escaped += u"\\s"_s;  // readers trim a leading blank
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QString ExecValue(const TMenuEntry& entry) {
    return EscapedValue(QuotedExecArgument(entry.ProgramPath) + u" %f"_s);
}

QByteArray DesktopEntryText(const TMenuEntry& entry, const QString& menuText) {
    return (u"[Desktop Entry]\n"
            u"Type=Application\n"
            u"Name="_s +
            EscapedValue(menuText) + u"\nIcon="_s + EscapedValue(entry.IconPath) + u"\nExec="_s +
            ExecValue(entry) +
            u"\n"
            u"MimeType=inode/directory;\n"
            u"NoDisplay=true\n"
            u"Terminal=false\n"_s)
        .toUtf8();
}

QByteArray ServiceMenuText(const TMenuEntry& entry, const QString& menuText) {
    return (u"[Desktop Entry]\n"
            u"Type=Service\n"
            u"MimeType=inode/directory;\n"
            u"Actions=synchronize;\n"
            u"X-KDE-Priority=TopLevel\n"
            u"\n"
            u"[Desktop Action synchronize]\n"
            u"Name="_s +
            EscapedValue(menuText) + u"\nIcon="_s + EscapedValue(entry.IconPath) + u"\nExec="_s +
            ExecValue(entry) + u"\n"_s)
        .toUtf8();
}

// Lets the file manager see the change at once; without the tool it sees it later.
void RefreshDesktopDatabase(const QString& applicationsFolder) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (tool.isEmpty()) return;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(tool, {applicationsFolder});
    if (!process.waitForFinished(kDatabaseToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(kDatabaseToolTimeoutMs);
    }
}

}  // namespace

TMenuEntry MenuEntryFor(const QString& verbKey, const QString& programPath) {
    const QFileInfo program(programPath);
    const QString iconName = program.fileName() + u".png"_s;
    QString icon = program.absolutePath() + u"/icons/"_s + iconName;
    if (!QFileInfo::exists(icon)) {
        icon = QDir::cleanPath(program.absolutePath() + u"/../share/pairwell-mirrowen/icons/"_s +
                               iconName);
    }
    return {verbKey, programPath, icon};
}

TMenuEntry RunningProgramEntry(const QString& verbKey) {
    return MenuEntryFor(verbKey, Platform::ExecutablePath());
}

bool ContextMenuExists(const TMenuEntry& entry) {
    const TEntryFiles files = FilesOf(entry);
    return files.InDataFolder && QFileInfo(files.DesktopEntry).isFile();
}

void Register(const TMenuEntry& entry, const QString& menuText) {
    const TEntryFiles files = FilesOf(entry);
    // Refused: files outside the data folder, and an entry that could not start the program.
    if (!files.InDataFolder || !QDir::isAbsolutePath(entry.ProgramPath)) {
        throw EIniFileError::ForFile(files.DesktopEntry, EINVAL);
    }
    // Both folders first, so that a missing one fails before anything is written.
    for (const QString& fileName : {files.ServiceMenu, files.DesktopEntry}) {
        if (const int error =
                Platform::CreateFolderWithParents(FileUtils::GetParentFolder(fileName))) {
            throw EIniFileError::ForFile(fileName, error);
        }
    }
    // The desktop entry marks the program as registered, so it goes last.
    if (const int error = FileUtils::WriteFileAtomically(
            files.ServiceMenu, ServiceMenuText(entry, menuText), kServiceMenuPermissions)) {
        throw EIniFileError::ForFile(files.ServiceMenu, error);
    }
    if (const int error =
            FileUtils::WriteFileAtomically(files.DesktopEntry, DesktopEntryText(entry, menuText))) {
        // A service menu without its desktop entry would be half a registration. An entry
        // that was there before stays, and keeps the service menu just written with it.
        if (!QFileInfo(files.DesktopEntry).isFile()) Platform::DeleteFile(files.ServiceMenu);
        throw EIniFileError::ForFile(files.DesktopEntry, error);
    }
    RefreshDesktopDatabase(FileUtils::GetParentFolder(files.DesktopEntry));
}

void Unregister(const TMenuEntry& entry) {
    const TEntryFiles files = FilesOf(entry);
    if (!files.InDataFolder) return;
    Platform::DeleteFile(files.ServiceMenu);
    // Only the desktop entry is in the database.
    if (Platform::DeleteFile(files.DesktopEntry) == 0) {
        RefreshDesktopDatabase(FileUtils::GetParentFolder(files.DesktopEntry));
    }
}

QString ContextButtonHint(bool registered) {
    return registered ? Catalog::gettext("Remove program from folder context menu")
                      : Catalog::gettext("Add program to folder context menu");
}

void ToggleContextMenu(const TMenuEntry& entry, bool& oldContext, const TConfirmation& confirm) {
    if (!confirm(ContextButtonHint(oldContext))) return;
    if (oldContext) {
        Unregister(entry);
        oldContext = false;
    } else {
        Register(entry, Catalog::gettext("Synchronize with .."));
        oldContext = true;
    }
}

}  // namespace ContextMenu
