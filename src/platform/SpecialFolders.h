// The user's and the system's well-known folders, named by the shell's CSIDL numbers.
#pragma once

#include <QString>

namespace Platform {

// The CSIDL numbers the programs ask for. Spelt without the Windows header's CSIDL_ prefix,
// which that header takes for its macros.
inline constexpr int kCsidlDesktop = 0;
inline constexpr int kCsidlPersonal = 5;  // the documents folder
inline constexpr int kCsidlFavorites = 6;
inline constexpr int kCsidlAppData = 26;
inline constexpr int kCsidlLocalAppData = 28;
inline constexpr int kCsidlProgramFiles = 38;
inline constexpr int kCsidlProfile = 40;
inline constexpr int kCsidlProgramFilesCommon = 43;

// The folder's path without a trailing delimiter (only the root keeps its "/"); empty when
// the number is unknown or the folder cannot be determined. No folder is created.
//
// On Linux (XDG; the environment is read on every call):
//   desktop, documents   the XDG user folders (user-dirs.dirs), else ~/Desktop, ~/Documents
//   favorites            empty: Linux has no favorites folder, browsers keep bookmarks in files
//   application data     $XDG_CONFIG_HOME, else ~/.config
//   local app data       $XDG_DATA_HOME, else ~/.local/share
//   profile              $HOME
//   Program Files        the folder above the program's bin/ folder (/usr for /usr/bin/x)
//   common program files Program Files + "/share", where installed programs keep shared data
QString GetSpecialFolderPath(int csidl);

}  // namespace Platform
