// Pairwell: synchronises two folders both ways, in its window or unattended ("-force").
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QIcon>

#include "BuildVersion.h"
#include "ContextMenu.h"
#include "MainForm.h"
#include "ProgramInit.h"
#include "SelectFromListDlg.h"
#include "TerminationRequest.h"
#include "TranslateComponent.h"

namespace {

const char kUsage[] =
    "Usage: pairwell [FOLDER | FILE | -force] [-lang:CODE] [-ini:PATH] [-portable]\n"
    "Synchronises two folders both ways: every file that one side lacks or holds older is\n"
    "copied across. No file is ever deleted.\n"
    "\n"
    "  FOLDER, FILE   show this folder (or the file's folder) as the first folder\n"
    "  -force         synchronise the remembered folder pair without a window, append a\n"
    "                 report to pairwell.log beside the settings, and exit: 0 when the run\n"
    "                 logged no error, 1 when it did\n"
    "  -lang:CODE     interface language, e.g. de or en\n"
    "  -ini:PATH      read the language file pairwell.cfg from PATH\n"
    "  -portable      read the language file from the program's folder\n"
    "  --help         show this text;  --version  show the version\n"
    "\n"
    "Options may also be written --name or --name=value. Settings: ~/.config/Quillonsoft/\n";

bool Asked(int argc, char** argv, const char* option) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0) return true;
    }
    return false;
}

// Qt's notice that the runtime folder is not set concerns a folder this program never uses; a
// scheduler would mail it after every run.
QtMessageHandler standardHandler = nullptr;

void FilterQtNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) {
        return;
    }
    standardHandler(type, context, message);
}

// Without a display the program can still run unattended, on Qt's offscreen platform.
bool UseOffscreenWithoutDisplay() {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        return false;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (Asked(argc, argv, "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (Asked(argc, argv, "--version")) {
        std::printf("pairwell %s\n", BUILD_VERSION);
        return 0;
    }

    standardHandler = qInstallMessageHandler(FilterQtNotices);
    Catalog::TP_GlobalIgnoreClass("QFont");
    ProgramInit::InitProgram(QStringLiteral("Quillonsoft"), QString(),
                             {QStringLiteral("runtime10"), QStringLiteral("units")});
    const bool headless = UseOffscreenWithoutDisplay();
    QApplication application(argc, argv);
    application.setWindowIcon(
        QIcon(ContextMenu::RunningProgramEntry(ContextMenu::kPairwellVerbKey).IconPath));

    int exitCode = 0;
    {
        TMainForm mainForm;
        // The program's one list editor, for the window's dialogs.
        const auto listEditor = SelectFromListDlg::TSelectFromListDialog::CreateInstance();
        if (mainForm.CheckForce()) {
            exitCode = mainForm.UnattendedExitCode();
        } else if (headless) {
            // A window nobody can see would wait for ever.
            std::fputs("pairwell: no display to show the window on; nothing was synchronised\n",
                       stderr);
            exitCode = 1;
        } else {
            // A logout or a kill closes the window properly, so the settings are kept.
            Platform::OnTerminationRequest(&mainForm, [&mainForm] { mainForm.close(); });
            mainForm.show();
            exitCode = application.exec();
        }
    }  // the window's destruction writes the settings and the histories
    return exitCode;
}
