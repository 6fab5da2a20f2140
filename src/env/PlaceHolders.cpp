// Expanding placeholders in user-given paths.
//
// Where the values come from on Linux:
//
//   placeholder                value
//   %perspath%                 documents folder: XDG_DOCUMENTS_DIR, else ~/Documents
//   %apppath%, %appdata%       application data: $XDG_CONFIG_HOME, else ~/.config
//   %profile%, %userprofile%   $HOME
//   %desktop%                  XDG_DESKTOP_DIR, else ~/Desktop
//   %favorites%                empty (no such folder on Linux)
//   %progfiles%                the folder above the program's bin/ folder
//   %progpath%                 the program's own folder
//   %username%                 the effective user's account name, else $USER, else $LOGNAME
//   %computername%             the host name
//   %user%, %computer%         empty
//   %localappdata%             $XDG_DATA_HOME, else ~/.local/share
//   %allusersprofile%,         $ALLUSERSPROFILE when set, else the first absolute entry of
//   %programdata%                $XDG_CONFIG_DIRS, else /etc/xdg (system-wide settings)
//   %public%                   $PUBLIC when set, else XDG_PUBLICSHARE_DIR, else ~/Public
//   %programfiles%             $ProgramW6432 when set, else as %progfiles%
//   %programfiles(x86)%        $ProgramFiles(x86) when set, else as %progfiles%
//   %commonprogramfiles%       $CommonProgramW6432 when set, else the common program files
//   %commonprogramfiles(x86)%  $CommonProgramFiles(x86) when set, else the common program
//                                files: the Program Files folder + "/share"
//   (Windows folder)           /etc, the system's own settings; no placeholder of its own
//
// "when set" means set and not empty. The folders are not required to exist.
#include "PlaceHolders.h"

#include <array>

#include <QStandardPaths>
#include <QStringList>

#include "Paths.h"
#include "ProgramInit.h"
#include "SpecialFolders.h"
#include "SystemNames.h"

namespace PlaceHolders {

namespace {

QString Folder(const QString& path) {
    return FileUtils::ExcludeTrailingDelimiter(path);
}

QString SpecialFolder(int csidl) {
    return Folder(Platform::GetSpecialFolderPath(csidl));
}

// The variable's value, or the fallback when it is missing or empty.
QString VariableOr(const char* name, QString (*fallback)()) {
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? fallback() : value;
}

QString ProgramFiles() {
    return Platform::GetSpecialFolderPath(Platform::kCsidlProgramFiles);
}

QString CommonProgramFiles() {
    return Platform::GetSpecialFolderPath(Platform::kCsidlProgramFilesCommon);
}

QString SystemConfigFolder() {
    const QStringList dirs = qEnvironmentVariable("XDG_CONFIG_DIRS").split(QLatin1Char(':'));
    for (const QString& dir : dirs) {
        if (dir.startsWith(QLatin1Char('/'))) return dir;  // relative entries are invalid
    }
    return QStringLiteral("/etc/xdg");
}

QString PublicShareFolder() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 4, 0)
    return QStandardPaths::writableLocation(QStandardPaths::PublicShareLocation);
#else
    return QStandardPaths::writableLocation(QStandardPaths::HomeLocation) +
           QStringLiteral("/Public");
#endif
}

struct TPlaceholder {
    QLatin1String Name;
    QString (*Value)();
};

// Both tables in the order they are applied.
const std::array<TPlaceholder, 21> kPlaceholders{{
    {QLatin1String("%perspath%"), [] { return SpecialFolder(Platform::kCsidlPersonal); }},
    {QLatin1String("%apppath%"), [] { return SpecialFolder(Platform::kCsidlAppData); }},
    {QLatin1String("%profile%"), [] { return SpecialFolder(Platform::kCsidlProfile); }},
    {QLatin1String("%desktop%"), [] { return SpecialFolder(Platform::kCsidlDesktop); }},
    {QLatin1String("%favorites%"), [] { return SpecialFolder(Platform::kCsidlFavorites); }},
    {QLatin1String("%progfiles%"), [] { return Folder(GetProgramFilesFolder(0)); }},
    {QLatin1String("%progpath%"), [] { return Folder(ProgramInit::ProgramFolder()); }},
    {QLatin1String("%username%"), [] { return GetUserLoginName(); }},
    {QLatin1String("%computername%"), [] { return GetLocalComputerName(); }},
    {QLatin1String("%user%"), [] { return QString(); }},
    {QLatin1String("%computer%"), [] { return QString(); }},

    {QLatin1String("%appdata%"), [] { return SpecialFolder(Platform::kCsidlAppData); }},
    {QLatin1String("%localappdata%"), [] { return SpecialFolder(Platform::kCsidlLocalAppData); }},
    {QLatin1String("%allusersprofile%"), [] { return Folder(GetAllUsersFolder()); }},
    {QLatin1String("%public%"), [] { return Folder(GetPublicFolder()); }},
    {QLatin1String("%programfiles%"), [] { return Folder(GetProgramFilesFolder(4)); }},
    {QLatin1String("%commonprogramfiles%"), [] { return Folder(GetProgramFilesFolder(5)); }},
    {QLatin1String("%programfiles(x86)%"), [] { return Folder(GetProgramFilesFolder(2)); }},
    {QLatin1String("%commonprogramfiles(x86)%"), [] { return Folder(GetProgramFilesFolder(3)); }},
    {QLatin1String("%programdata%"), [] { return Folder(GetAllUsersFolder()); }},
    {QLatin1String("%userprofile%"), [] { return SpecialFolder(Platform::kCsidlProfile); }},
}};

}  // namespace

QString ExpandPlaceholders(const QString& text) {
    QString result = text;
    for (const TPlaceholder& placeholder : kPlaceholders) {
        // A value may be costly or fail, so it is only looked up when it is needed.
        if (!result.contains(placeholder.Name, Qt::CaseInsensitive)) continue;
        result.replace(placeholder.Name, placeholder.Value(), Qt::CaseInsensitive);
    }
    return result;
}

QString GetProgramFilesFolder(int kind) {
    switch (kind & 0x7F) {
        case 2:
            return VariableOr("ProgramFiles(x86)", ProgramFiles);
        case 3:
            return VariableOr("CommonProgramFiles(x86)", CommonProgramFiles);
        case 4:
            return VariableOr("ProgramW6432", ProgramFiles);
        case 5:
            return VariableOr("CommonProgramW6432", CommonProgramFiles);
        default:
            return ProgramFiles();
    }
}

QString GetWindowsFolder() {
    return QStringLiteral("/etc");
}

QString GetUserLoginName() {
    return Platform::UserLoginName();
}

QString GetLocalComputerName() {
    return Platform::ComputerName();
}

QString GetAllUsersFolder() {
    return VariableOr("ALLUSERSPROFILE", SystemConfigFolder);
}

QString GetPublicFolder() {
    return VariableOr("PUBLIC", PublicShareFolder);
}

}  // namespace PlaceHolders
