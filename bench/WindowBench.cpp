// Times Pairwell's window where users wait on it: reading and writing a settings file with many
// folder pairs (window created, window destroyed), and a run started with the Start button.
//   window-bench settings --home DIR
//       a window reads DIR/.config/Quillonsoft/pairwell.ini and is shown ("load"), then closed
//       and destroyed, which writes the file ("save")
//   window-bench run --home DIR
//       the window shows the remembered pair of DIR's settings and runs it once
// Prints "seconds peak-MB" per step. Uses the offscreen platform unless DISPLAY is set.
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>

#include "MainForm.h"
#include "ProgramInit.h"

namespace {

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void Report(const char* step, const QElapsedTimer& timer) {
    std::printf("%s %.3f %.0f\n", step, double(timer.nsecsElapsed()) / 1e9, PeakMegabytes());
    std::fflush(stdout);
}

int Usage() {
    std::fputs("usage: window-bench settings|run --home DIR\n", stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::strcmp(argv[2], "--home") != 0) return Usage();
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString home = QString::fromLocal8Bit(argv[3]);
    qputenv("HOME", home.toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/.local/share")).toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("DISPLAY")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window's own start-up, as the program beside this tool, without arguments.
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).absolutePath();
    ProgramInit::SetProcessForTesting(program + QStringLiteral("/pairwell"), {});
    ProgramInit::InitProgram(QStringLiteral("Quillonsoft"), QString(),
                             {QStringLiteral("runtime10"), QStringLiteral("units")});
    QApplication application(argc, argv);

    QElapsedTimer timer;
    if (mode == QLatin1String("settings")) {
        timer.start();
        auto form = std::make_unique<TMainForm>();
        form->show();
        QApplication::processEvents();
        Report("load", timer);
        timer.start();
        form->close();
        form.reset();
        Report("save", timer);
        return 0;
    }
    if (mode == QLatin1String("run")) {
        TMainForm form;
        form.show();
        QApplication::processEvents();
        auto* start = form.findChild<QPushButton*>(QStringLiteral("bbSync"));
        if (start == nullptr) return 1;
        timer.start();
        start->click();  // the run happens inside the click
        Report("run", timer);
        return 0;
    }
    return Usage();
}
