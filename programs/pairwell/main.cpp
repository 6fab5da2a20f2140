// Pairwell: synchronises two folders both ways, in its window or unattended ("-force").
#include <QCoreApplication>

#include "ContextMenu.h"
#include "MainForm.h"
#include "StartUp.h"
#include "UnattendedRun.h"
#include "WindowProgram.h"

namespace {

const char kUsage[] =
    "Usage: pairwell [FOLDER | FILE | -force] [-lang:CODE] [-ini:PATH] [-portable]\n"
    "Synchronises two folders both ways: every file that one side lacks or holds older is\n"
    "copied across. No file is ever deleted.\n"
    "\n"
    "  FOLDER, FILE   show this folder (or the file's folder) as the first folder\n"
    "  -force         synchronise the remembered folder pair without a window, append a\n"
    "                 report to pairwell.log beside the settings, and exit: 0 when the run\n"
    "                 logged no error, 1 when it did or could not run\n";

}  // namespace

int main(int argc, char** argv) {
    Window::TCommandLine commandLine;
    if (const auto exitCode =
            Window::StartProgram({"pairwell", kUsage, {kForceOption}}, commandLine)) {
        return *exitCode;
    }
    if (commandLine.FirstOption == kForceOption) {
        // No window, and no display needed.
        QCoreApplication application(argc, argv);
        return RunUnattended(PairwellFiles());
    }
    return Window::RunMainWindow(argc, argv, "pairwell", ContextMenu::kPairwellVerbKey,
                                 [] { return std::make_unique<TMainForm>(); });
}
