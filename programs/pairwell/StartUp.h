// What Pairwell is asked to do when it starts, and where it keeps its files: the entry routine,
// the window and the unattended run share this, and none of it needs a display.
#pragma once

#include <QString>
#include <QStringList>

#include "FolderList.h"

// The command line. The first parameter that is not an option of program initialisation
// ("lang", "ini", "portable") is the option "force" (any beginning of it: -f, --fo, -force) or
// a folder to show as the first folder (for a file, its folder); "--" makes the next parameter
// a name. Later parameters are not looked at, except for options.
struct TCommandLine {
    bool Force = false;    // an unattended run
    bool Help = false;     // -h, -help, --help (any beginning of "help"), -?
    bool Version = false;  // --version
    QString Folder;        // with a trailing delimiter; empty when none was given
    QStringList Unknown;   // options nobody knows, as they were given
};

TCommandLine ReadCommandLine(const QStringList& arguments);

// Pairwell's files in its settings folder, all named after the program file.
struct TPairwellFiles {
    QString AppPath;   // the settings folder
    QString UserPath;  // the user's documents folder, with a trailing delimiter
    QString IniName;   // the settings
    QString LogName;   // the reports of unattended runs
    QString LockName;  // held while an unattended run is active
};

TPairwellFiles PairwellFiles();

// Pairwell's folder list in its settings: sections "RefDir00", ... with "Duplicates".
inline const Sync::TFolderListLayout kPairwellFolderList{QStringLiteral("RefDir"), true};
