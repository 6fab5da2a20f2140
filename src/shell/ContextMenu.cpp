// The folder context-menu entry on Linux: one file per file manager's mechanism and a record,
// in the user's data folder.
#include "ContextMenu.h"

#include <cerrno>
#include <vector>

#include <QByteArray>
#include <QDir>
#include <QFile>
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

// The file managers ignore service menus and scripts that are not executable.
constexpr QFileDevice::Permissions kExecutable =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
    QFileDevice::ReadGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
constexpr QFileDevice::Permissions kPlain = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::ReadOther;

// Long enough for a large applications folder, short enough not to stall the window.
constexpr int kDatabaseToolTimeoutMs = 3000;

struct TEntryFile {
    QString Path;
    QByteArray Content;
    QFileDevice::Permissions Permissions;
};

// The user's data folder, or an empty text when it is not absolute: the files would land
// wherever the program happens to run.
QString DataFolder() {
    const QString folder = Platform::GetSpecialFolderPath(Platform::kCsidlLocalAppData);
    return QDir::isAbsolutePath(folder) ? QDir::cleanPath(folder) : QString();
}

QString RecordPath(const TMenuEntry& entry, const QString& dataFolder) {
    return dataFolder + u"/pairwell-mirrowen/context-menu/"_s + entry.VerbKey + u".list"_s;
}

// The desktop entry for folders that an earlier version wrote: it made the program the one
// that opens folders where no file manager was pinned.
QString EarlierFolderEntry(const TMenuEntry& entry, const QString& dataFolder) {
    return dataFolder + u"/applications/"_s + entry.VerbKey + u".desktop"_s;
}

bool IsEarlierFolderEntry(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) return false;
    const QByteArray content = file.read(64 * 1024);
    return content.startsWith("[Desktop Entry]\nType=Application\n") &&
           content.contains("\nMimeType=inode/directory;\n") &&
           content.contains("\nNoDisplay=true\n");
}

// One argument of a desktop entry's Exec line: quoted, with the characters that stay special
// inside quotes escaped, and "%" doubled so that it is not taken for a field code. Shells read
// the quoting alike.
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

// A text in single quotes for a shell: nothing inside is special but the quote itself.
QString ShellQuoted(const QString& text) {
    return u'\'' + QString(text).replace(u"'"_s, u"'\\''"_s) + u'\'';
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

// The action's name: "Name=..." in English, then "Name[de]=..." and so on for every language
// of the catalogs.
QString NameLines() {
    const auto name = [](const QString& language) {
        return EscapedValue(Catalog::TranslationIn(language, "Synchronize with .."));
    };
    QString lines = u"Name="_s + name(u"C"_s) + u'\n';
    for (const QString& language : Catalog::CatalogLanguages())
        lines += u"Name["_s + language + u"]="_s + name(language) + u'\n';
    return lines;
}

std::vector<TEntryFile> EntryFiles(const TMenuEntry& entry, const QString& dataFolder) {
    const QString names = NameLines();
    const QString icon = u"Icon="_s + EscapedValue(entry.IconPath) + u'\n';
    const QString exec =
        u"Exec="_s + EscapedValue(QuotedExecArgument(entry.ProgramPath) + u" %f"_s) + u'\n';
    const QString& key = entry.VerbKey;
    return {
        // Dolphin.
        {dataFolder + u"/kio/servicemenus/"_s + key + u".desktop"_s,
         (u"[Desktop Entry]\n"
          u"Type=Service\n"
          u"X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
          u"MimeType=inode/directory;\n"
          u"Actions=synchronize;\n"
          u"X-KDE-Priority=TopLevel\n"
          u"\n"
          u"[Desktop Action synchronize]\n"_s +
          names + icon + exec)
             .toUtf8(),
         kExecutable},
        // PCManFM-Qt and Caja.
        {dataFolder + u"/file-manager/actions/"_s + key + u".desktop"_s,
         (u"[Desktop Entry]\n"
          u"Type=Action\n"_s +
          names + icon +
          u"Profiles=folder;\n"
          u"\n"
          u"[X-Action-Profile folder]\n"
          u"MimeTypes=inode/directory;\n"_s +
          exec)
             .toUtf8(),
         kPlain},
        // Nemo, which puts each path in single quotes for the shell-like reading of Exec.
        {dataFolder + u"/nemo/actions/"_s + key + u".nemo_action"_s,
         (u"[Nemo Action]\n"_s + names +
          u"Selection=s\n"
          u"Extensions=dir;\n"
          u"Quote=single\n"
          u"Exec="_s +
          EscapedValue(ShellQuoted(entry.ProgramPath) + u" '%F'"_s) + u'\n')
             .toUtf8(),
         kPlain},
        // Nautilus runs its scripts in the current folder with the chosen names as arguments.
        {dataFolder + u"/nautilus/scripts/"_s + key,
         (u"#!/bin/sh\n"
          u"# Starts "_s +
          key +
          u" with the folder chosen in the file manager.\n"
          u"case $1 in\n"
          u"/*) folder=$1 ;;\n"
          u"*) folder=$PWD/$1 ;;\n"
          u"esac\n"
          u"exec "_s +
          ShellQuoted(entry.ProgramPath) + u" \"$folder\"\n"_s)
             .toUtf8(),
         kExecutable},
    };
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

// Takes away the folder entry of an earlier version, which must not outlive its registration.
void RemoveEarlierFolderEntry(const TMenuEntry& entry, const QString& dataFolder) {
    const QString earlier = EarlierFolderEntry(entry, dataFolder);
    if (!IsEarlierFolderEntry(earlier)) return;
    if (Platform::DeleteFile(earlier) == 0)
        RefreshDesktopDatabase(FileUtils::GetParentFolder(earlier));
}

// The files a record names, inside the data folder only: a damaged record deletes nothing else.
QStringList RecordedFiles(const QString& record, const QString& dataFolder) {
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList files;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString path = QString::fromUtf8(line);
        if (path.startsWith(dataFolder + u'/') && QDir::cleanPath(path) == path) files << path;
    }
    return files;
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
    const QString dataFolder = DataFolder();
    if (dataFolder.isEmpty()) return false;
    return QFileInfo(RecordPath(entry, dataFolder)).isFile() ||
           IsEarlierFolderEntry(EarlierFolderEntry(entry, dataFolder));
}

void Register(const TMenuEntry& entry) {
    const QString dataFolder = DataFolder();
    const QString record = RecordPath(entry, dataFolder);
    // Refused: files outside the data folder, and an entry that could not start the program.
    if (dataFolder.isEmpty() || !QDir::isAbsolutePath(entry.ProgramPath)) {
        throw EIniFileError::ForFile(record, EINVAL);
    }
    std::vector<TEntryFile> files = EntryFiles(entry, dataFolder);
    QByteArray recordText;
    for (const TEntryFile& file : files)
        recordText += file.Path.toUtf8() + '\n';
    // The record marks the program as registered, so it goes last.
    files.push_back({record, recordText, kPlain});

    // Every folder first, so that a missing one fails before anything is written.
    for (const TEntryFile& file : files) {
        if (const int error =
                Platform::CreateFolderWithParents(FileUtils::GetParentFolder(file.Path))) {
            throw EIniFileError::ForFile(file.Path, error);
        }
    }
    std::vector<QString> written;  // files that were not there before
    for (const TEntryFile& file : files) {
        const bool existed = QFileInfo(file.Path).isFile();
        if (const int error =
                FileUtils::WriteFileAtomically(file.Path, file.Content, file.Permissions)) {
            // Half a registration is none: what this call added goes again.
            for (const QString& path : written)
                Platform::DeleteFile(path);
            throw EIniFileError::ForFile(file.Path, error);
        }
        if (!existed) written.push_back(file.Path);
    }
    RemoveEarlierFolderEntry(entry, dataFolder);
}

void Unregister(const TMenuEntry& entry) {
    const QString dataFolder = DataFolder();
    if (dataFolder.isEmpty()) return;
    const QString record = RecordPath(entry, dataFolder);
    QStringList files = RecordedFiles(record, dataFolder);
    for (const TEntryFile& file : EntryFiles(entry, dataFolder))
        files << file.Path;
    for (const QString& file : files) {
        if (QFileInfo(file).isFile()) Platform::DeleteFile(file);
    }
    RemoveEarlierFolderEntry(entry, dataFolder);
    Platform::DeleteFile(record);
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
        Register(entry);
        oldContext = true;
    }
}

}  // namespace ContextMenu
