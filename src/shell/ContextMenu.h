// The programs' entry in the file managers' context menu of folders, for the current user only.
//
// On Linux the entry is offered through each file manager's own mechanism, in the user's data
// folder ($XDG_DATA_HOME, else ~/.local/share), in files named after the verb key:
//   kio/servicemenus/<verb key>.desktop     a service menu (Dolphin; executable)
//   file-manager/actions/<verb key>.desktop a file-manager action (PCManFM-Qt, Caja)
//   nemo/actions/<verb key>.nemo_action     a Nemo action
//   nautilus/scripts/<verb key>             a script of the Scripts menu (Nautilus; executable)
// Each starts the program with the folder as its first parameter; the action's name is given
// in English and in every language of the catalogs. A record,
//   pairwell-mirrowen/context-menu/<verb key>.list
// lists the files written and tells whether the program is registered. Nothing declares a
// folder type, so no registration ever changes which program opens folders. Nothing outside
// the user's data folder is ever written or removed.
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

// True when the program is registered: its record exists, or the folder entry an earlier
// version wrote (a desktop entry for folders, which removal takes away). Reads only.
bool ContextMenuExists(const TMenuEntry& entry);

// Writes every file, each atomically, creating their folders when missing, then the record;
// takes away what an earlier version wrote. Raises IniFiles::EIniFileError ("Unable to write
// to %s" with the file's name) when a file cannot be written; the files this call wrote are
// then taken back, so the registration is as it was.
void Register(const TMenuEntry& entry);

// Deletes every file the record names and every file a registration of this or an earlier
// version writes, whether they exist or not, then the record; nothing else.
void Unregister(const TMenuEntry& entry);

// The context-menu button's tool tip, which is also its question: what a click would do.
QString ContextButtonHint(bool registered);

// Shows the question; true on Yes.
using TConfirmation = std::function<bool(const QString& question)>;

// The click on the context-menu button: asks ContextButtonHint(oldContext) and on Yes removes
// the entry or registers it, then updates `oldContext`. A failed registration raises (see
// Register) and leaves `oldContext` as it was.
void ToggleContextMenu(const TMenuEntry& entry, bool& oldContext, const TConfirmation& confirm);

}  // namespace ContextMenu
