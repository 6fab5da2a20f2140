// Pairwell's files.
#include "StartUp.h"

#include "Paths.h"

TPairwellFiles PairwellFiles() {
    TPairwellFiles files;
    static_cast<Window::TProgramFiles&>(files) = Window::ProgramFiles();
    files.LogName = FileUtils::ReplaceFileExt(files.IniName, QStringLiteral(".log"));
    files.LockName = FileUtils::ReplaceFileExt(files.IniName, QStringLiteral(".lock"));
    return files;
}
