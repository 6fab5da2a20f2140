// Placeholders such as "%appdata%" or "%progpath%" in paths the user gives, and the system
// values behind them.
#pragma once

#include <QString>

namespace PlaceHolders {

// The text with every known placeholder replaced, letter case ignored; unknown placeholders
// and lone "%" signs stay. Folder values are inserted without a final delimiter.
QString ExpandPlaceholders(const QString& text);

// Program Files folders by kind (only bits 0-6 count):
//   2 $ProgramFiles(x86), 3 $CommonProgramFiles(x86), 4 $ProgramW6432, 5 $CommonProgramW6432;
//   a missing or empty variable falls back to the Program Files folder (2, 4) or the common
//   program files folder (3, 5); kind 0 and every other kind give the Program Files folder.
QString GetProgramFilesFolder(int kind);

QString GetWindowsFolder();
QString GetUserLoginName();      // empty when unknown
QString GetLocalComputerName();  // empty when unknown
QString GetAllUsersFolder();
QString GetPublicFolder();

}  // namespace PlaceHolders
