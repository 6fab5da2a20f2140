// The programs' entry in the file manager's context menu of folders, for the current user only.
//
// On Linux an entry is two files in the user's data folder ($XDG_DATA_HOME, else
// ~/.local/share), named after the verb key:
//   applications/<verb key>.desktop       a desktop entry for folders ("Open with"), hidden
//                                         from the application menu; it marks the program as
//                                         registered
//   kio/servicemenus/<verb key>.desktop   a service menu (executable, or it is ignored)
// Both start the program with the folder as its first parameter. Nothing outside the user's
// data folder is ever written.
#pragma once

#include <functional>

#include <QString>

namespace ContextMenu {

inline const QString kPairwellVerbKey = QStringLiteral("Pairwell");
inline const QString kMirrowenVerbKey = QStringLiteral("Tidewell");

// The entry of one program.
struct TMenuEntry {
    QString VerbKey;      // names the entry's files
    QString ProgramPath;  // full path of the executable the entry starts
    QString IconPath;     // full path of the program's icon
};

// The entry of the program at `programPath`. Its icon is icons/<file name>.png beside the
// program when that exists, else the installed one in ../share/pairwell-mirrowen/icons/.
TMenuEntry MenuEntryFor(const QString& verbKey, const QString& programPath);
// The entry of the running program.
TMenuEntry RunningProgramEntry(const QString& verbKey);

// True when the program's desktop entry exists. Reads only.
bool ContextMenuExists(const TMenuEntry& entry);

// Writes both files, each atomically, creating their folders when missing. Raises
// IniFiles::EIniFileError ("Unable to write to %s" with the file's name) when a file cannot
// be written; a file already written by this call is then taken back, so either both files
// are in place or the registration is as it was.
void Register(const TMenuEntry& entry, const QString& menuText);

// Deletes the two files Register writes, whether they exist or not; nothing else.
void Unregister(const TMenuEntry& entry);

// The context-menu button's tool tip, which is also its question: what a click would do.
QString ContextButtonHint(bool registered);

// Shows the question; true on Yes.
using TConfirmation = std::function<bool(const QString& question)>;

// The click on the context-menu button: asks ContextButtonHint(oldContext) and on Yes removes
// the entry or registers it with the translated "Synchronize with ..", then updates
// `oldContext`. A failed registration raises (see Register) and leaves `oldContext` as it was.
void ToggleContextMenu(const TMenuEntry& entry, bool& oldContext, const TConfirmation& confirm);

}  // namespace ContextMenu
