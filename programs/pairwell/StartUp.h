// Where Pairwell keeps its files and how an unattended run is asked for: the entry routine, the
// window and the unattended run share this, and none of it needs a display.
#pragma once

#include <QString>

#include "CommandLine.h"
#include "FolderList.h"

// "-force" (any beginning of it: -f, --fo) as the first parameter asks for an unattended run.
inline const QString kForceOption = QStringLiteral("force");

// Pairwell's files in its settings folder, all named after the program file.
struct TPairwellFiles : Window::TProgramFiles {
    QString LogName;   // the reports of unattended runs
    QString LockName;  // held while an unattended run is active
};

TPairwellFiles PairwellFiles();

// Pairwell's folder list in its settings: sections "RefDir00", ... with "Duplicates".
inline const Sync::TFolderListLayout kPairwellFolderList{QStringLiteral("RefDir"), true};
