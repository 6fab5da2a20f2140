// The entry routine of a program with a main window.
#include "WindowProgram.h"

#include <cstdio>

#include <QApplication>
#include <QIcon>
#include <QMainWindow>
#include <QTimer>

#include "BuildVersion.h"
#include "Catalog.h"
#include "ContextMenu.h"
#include "FormatSafe.h"
#include "ProgramInit.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"
#include "TerminationRequest.h"
#include "TranslateComponent.h"
#include "WinUtils.h"

namespace Window {

namespace {

// Qt's notice that the runtime folder is not set concerns a folder these programs never use;
// a scheduler would mail it after every run.
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

std::optional<int> StartProgram(const TProgramStart& start, TCommandLine& commandLine) {
    commandLine = ReadCommandLine(ProgramInit::ProgramArguments(), start.ProgramOptions);
    if (commandLine.Help) {
        std::fputs(start.Usage, stdout);
        std::printf(
            "  -lang:CODE     interface language, e.g. de or en\n"
            "  -ini:PATH      read the language file %s.cfg from PATH\n"
            "  -portable      read the language file from the program's folder\n"
            "  -h, --help     show this text;  --version  show the version\n"
            "\n"
            "Options may also be written --name or --name=value. Settings: "
            "~/.config/Quillonsoft/\n",
            start.Name);
        return 0;
    }
    if (commandLine.Version) {
        std::printf("%s %s\n", start.Name, BUILD_VERSION);
        return 0;
    }

    standardHandler = qInstallMessageHandler(FilterQtNotices);
    Catalog::TP_GlobalIgnoreClass("QFont");
    ProgramInit::InitProgram(QStringLiteral("Quillonsoft"), QString(),
                             {QStringLiteral("runtime10"), QStringLiteral("units")});
    for (const QString& option : commandLine.Unknown) {
        std::fprintf(stderr, "%s: %s\n", start.Name,
                     StringUtils::FormatSafe(
                         Catalog::gettext("Unknown option %s (%s --help lists the options)"),
                         {option, QString::fromUtf8(start.Name)})
                         .toLocal8Bit()
                         .constData());
    }
    return std::nullopt;
}

int RunMainWindow(int argc, char** argv, const char* name, const QString& verbKey,
                  const std::function<std::unique_ptr<QMainWindow>()>& makeWindow) {
    if (!DisplayAvailable()) {
        // A window nobody can see would wait for ever.
        std::fprintf(stderr, "%s: no display to show the window on; nothing was done\n", name);
        return 1;
    }

    QApplication application(argc, argv);
    Catalog::LoadToolkitTranslations(application);
    application.setWindowIcon(QIcon(ContextMenu::RunningProgramEntry(verbKey).IconPath));
    // The window goes after the dialogs and before the application; it writes the histories,
    // if closing it did not.
    const std::unique_ptr<QMainWindow> mainForm = makeWindow();
    // The program's one folder dialog and one list editor, for the window's choices.
    const auto folderDialog = ShellDirDlg::TShellDirDialog::CreateInstance();
    const auto listEditor = SelectFromListDlg::TSelectFromListDialog::CreateInstance();
    // A logout or a kill closes the window properly, so the settings are kept; a question on
    // the screen is cancelled first, and the window closes once it has returned.
    QMainWindow* window = mainForm.get();
    Platform::OnTerminationRequest(window, [window] {
        WinUtils::CancelModalDialogs();
        QTimer::singleShot(0, window, &QWidget::close);
    });
    window->show();
    return application.exec();
}

}  // namespace Window
