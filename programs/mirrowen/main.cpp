// Mirrowen: brings one folder up to date from another, one way, in its window.
#include "ContextMenu.h"
#include "MainForm.h"
#include "WindowProgram.h"

namespace {

const char kUsage[] =
    "Usage: mirrowen [FOLDER | FILE] [-lang:CODE] [-ini:PATH] [-portable]\n"
    "Brings a folder up to date from another, one way: every file that the folder lacks or\n"
    "holds older is copied from the other. No file is ever deleted.\n"
    "\n"
    "  FOLDER, FILE   show this folder (or the file's folder) as the folder to be synchronized\n";

}  // namespace

int main(int argc, char** argv) {
    Window::TCommandLine commandLine;
    if (const auto exitCode = Window::StartProgram({"mirrowen", kUsage, {}}, commandLine)) {
        return *exitCode;
    }
    return Window::RunMainWindow(argc, argv, "mirrowen", ContextMenu::kMirrowenVerbKey,
                                 [] { return std::make_unique<TMainForm>(); });
}
