// What a program is asked to do when it starts, and where it keeps its files: the entry routine,
// the window and an unattended run share this, and none of it needs a display.
#pragma once

#include <QString>
#include <QStringList>

namespace Window {

// The command line. The first parameter that is not an option of program initialisation
// ("lang", "ini", "portable") is either one of the program's own options (any beginning of its
// name: -f, --fo, -force for "force") or a folder to show (for a file, its folder); "--" makes
// the next parameter a name. Later parameters are not looked at, except for options.
struct TCommandLine {
    bool Help = false;     // -h, -help, --help (any beginning of "help"), -?
    bool Version = false;  // --version
    QString FirstOption;   // the program's option the first parameter named, or empty
    QString Folder;        // with a trailing delimiter; empty when none was given
    QStringList Unknown;   // options nobody knows, as they were given
};

TCommandLine ReadCommandLine(const QStringList& arguments, const QStringList& programOptions = {});

// A program's files in its settings folder, named after the program file.
struct TProgramFiles {
    QString AppPath;   // the settings folder
    QString UserPath;  // the user's documents folder, with a trailing delimiter
    QString IniName;   // the settings
};

TProgramFiles ProgramFiles();

}  // namespace Window
