// Pairwell: synchronises two folders both ways, in its window or unattended ("-force").
#include <cstdio>

#include <QApplication>
#include <QIcon>
#include <QTimer>

#include "BuildVersion.h"
#include "ContextMenu.h"
#include "FormatSafe.h"
#include "MainForm.h"
#include "ProgramInit.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"
#include "StartUp.h"
#include "TerminationRequest.h"
#include "TranslateComponent.h"
#include "UnattendedRun.h"
#include "WinUtils.h"

namespace {

const char kUsage[] =
    "Usage: pairwell [FOLDER | FILE | -force] [-lang:CODE] [-ini:PATH] [-portable]\n"
    "Synchronises two folders both ways: every file that one side lacks or holds older is\n"
    "copied across. No file is ever deleted.\n"
    "\n"
    "  FOLDER, FILE   show this folder (or the file's folder) as the first folder\n"
    "  -force         synchronise the remembered folder pair without a window, append a\n"
    "                 report to pairwell.log beside the settings, and exit: 0 when the run\n"
    "                 logged no error, 1 when it did or could not run\n"
    "  -lang:CODE     interface language, e.g. de or en\n"
    "  -ini:PATH      read the language file pairwell.cfg from PATH\n"
    "  -portable      read the language file from the program's folder\n"
    "  -h, --help     show this text;  --version  show the version\n"
    "\n"
    "Options may also be written --name or --name=value. Settings: ~/.config/Quillonsoft/\n";

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

bool DisplayAvailable() {
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char** argv) {
    const TCommandLine commandLine = ReadCommandLine(ProgramInit::ProgramArguments());
    if (commandLine.Help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (commandLine.Version) {
        std::printf("pairwell %s\n", BUILD_VERSION);
        return 0;
    }

    standardHandler = qInstallMessageHandler(FilterQtNotices);
    Catalog::TP_GlobalIgnoreClass("QFont");
    ProgramInit::InitProgram(QStringLiteral("Quillonsoft"), QString(),
                             {QStringLiteral("runtime10"), QStringLiteral("units")});
    for (const QString& option : commandLine.Unknown) {
        std::fprintf(
            stderr, "pairwell: %s\n",
            StringUtils::FormatSafe(
                Catalog::gettext("Unknown option %s (pairwell --help lists the options)"), {option})
                .toLocal8Bit()
                .constData());
    }

    if (commandLine.Force) {
        // No window, and no display needed.
        QCoreApplication application(argc, argv);
        return RunUnattended(PairwellFiles());
    }
    if (!DisplayAvailable()) {
        // A window nobody can see would wait for ever.
        std::fputs("pairwell: no display to show the window on; nothing was synchronised\n",
                   stderr);
        return 1;
    }

    QApplication application(argc, argv);
    Catalog::LoadToolkitTranslations(application);
    application.setWindowIcon(
        QIcon(ContextMenu::RunningProgramEntry(ContextMenu::kPairwellVerbKey).IconPath));
    int exitCode = 0;
    {
        TMainForm mainForm;
        // The program's one folder dialog and one list editor, for the window's choices.
        const auto folderDialog = ShellDirDlg::TShellDirDialog::CreateInstance();
        const auto listEditor = SelectFromListDlg::TSelectFromListDialog::CreateInstance();
        // A logout or a kill closes the window properly, so the settings are kept; a question
        // on the screen is cancelled first, and the window closes once it has returned.
        Platform::OnTerminationRequest(&mainForm, [&mainForm] {
            WinUtils::CancelModalDialogs();
            QTimer::singleShot(0, &mainForm, &QWidget::close);
        });
        mainForm.show();
        exitCode = application.exec();
    }  // the histories are written, if closing the window did not
    return exitCode;
}
