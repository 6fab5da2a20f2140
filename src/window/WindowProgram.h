// The entry routine of a program with a main window, up to the event loop: the command line,
// --help and --version, the program environment, and the window with the program's folder
// dialog and list editor.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QString>
#include <QStringList>

#include "CommandLine.h"

class QMainWindow;

namespace Window {

struct TProgramStart {
    const char* Name;            // the program file's name, as messages begin
    const char* Usage;           // the text of --help, before the options both programs have
    QStringList ProgramOptions;  // the program's own options ("force")
};

// Reads the command line, answers --help and --version, initialises the program environment
// (the vendor "Quillonsoft", the text domains "runtime10" and "units") and reports unknown
// options on stderr. Returns the exit code when the program has nothing more to do.
std::optional<int> StartProgram(const TProgramStart& start, TCommandLine& commandLine);

// Shows the window `makeWindow` builds, with the program's one folder dialog and one list
// editor, until it is closed; the exit code. Without a display the window is not made, a
// message says so on stderr and the result is 1.
int RunMainWindow(int argc, char** argv, const char* name, const QString& verbKey,
                  const std::function<std::unique_ptr<QMainWindow>()>& makeWindow);

}  // namespace Window
