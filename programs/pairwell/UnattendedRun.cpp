// The unattended run.
#include "UnattendedRun.h"

#include <algorithm>
#include <cstdio>

#include <QFile>
#include <QLocale>
#include <QLockFile>

#include "Catalog.h"
#include "FolderList.h"
#include "FormatSafe.h"
#include "IniFiles.h"
#include "RunHost.h"
#include "RunTexts.h"
#include "StringUtils.h"
#include "TwoWaySync.h"

namespace {

// Adds the lines to the report's text, each ended by a line break.
void AppendLines(QByteArray& text, const QStringList& lines) {
    for (const QString& line : lines) {
        text += line.toUtf8();
        text += '\n';
    }
}

// Keeps what the run reports for the report, which is appended in one piece at the end: two
// reports never mix line by line, and none is left half-written. The lines are kept as the
// file's bytes, once: a run of 200,000 files reports as many lines.
class TReportHost : public Sync::TRunHost {
  public:
    explicit TReportHost(QByteArray& text) : text_(text) {}

    void ClearLog() override {}  // the report begins with its own header
    void AddLog(const QString& line) override { AppendLines(text_, {line}); }
    void SetStatus(const QString&) override {}
    void ShowError(const QString& message) override { AppendLines(text_, {message}); }
    bool StopRequested() const override { return false; }

  private:
    QByteArray& text_;
};

// The locale's long time format without its time zone: "h:mm:ss AP t" -> "h:mm:ss AP".
QString TimeFormatWithoutZone(const QLocale& locale) {
    QString format;
    bool quoted = false;
    for (const QChar c : locale.timeFormat(QLocale::LongFormat)) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) continue;
        format += c;
    }
    return format.simplified();
}

// The two folder lines, their folders starting in the same column.
QStringList FolderLines(const QString& first, const QString& second) {
    const QString firstLabel = Catalog::gettext("First folder:");
    const QString secondLabel = Catalog::gettext("Second folder:");
    const int width = int(std::max(firstLabel.size(), secondLabel.size())) + 1;
    return {StringUtils::PadRightSpaces(firstLabel, width) + Sync::Shown(first),
            StringUtils::PadRightSpaces(secondLabel, width) + Sync::Shown(second)};
}

void Complain(const QString& message) {
    std::fprintf(stderr, "pairwell: %s\n", message.toLocal8Bit().constData());
}

// Appends the text with one write, so that nothing else lands in the middle of it; false with
// the reason when that failed.
bool AppendReport(const QString& logName, const QByteArray& text, QString& reason) {
    QFile log(logName);
    if (log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered) &&
        log.write(text) == text.size()) {
        log.close();
        if (log.error() == QFileDevice::NoError) return true;
    }
    reason = log.errorString();
    return false;
}

}  // namespace

QString ReportHeader(const QDateTime& now) {
    const QLocale locale;
    return Catalog::gettext("Start synchronizing") + QStringLiteral(" - ") +
           locale.toString(now.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(now.time(), TimeFormatWithoutZone(locale));
}

int RunUnattended(const TPairwellFiles& files) {
    const IniFiles::TIniFile ini(files.IniName);
    const QString remembered =
        ini.ReadString(QStringLiteral("Config"), QStringLiteral("LastDir"), QString());
    Sync::TFolderList list(kPairwellFolderList);
    list.Load(ini);
    const int entry = list.Find(remembered);

    QByteArray report;
    AppendLines(report, {ReportHeader(QDateTime::currentDateTime())});
    AppendLines(report, FolderLines(entry >= 0 ? list.Name(entry) : remembered,
                                    entry >= 0 ? list.Info(entry).DirName : QString()));
    int exitCode = 0;
    QLockFile lock(files.LockName);
    lock.setStaleLockTime(0);  // taken over only when the run that holds it has ended
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) {
        const QString busy = Catalog::gettext(
            "Another unattended run of these settings is active; this one did not start.");
        Complain(busy);
        AppendLines(report, {busy, QString()});
        exitCode = 1;
    } else if (entry < 0) {
        // Never the values some other pair left behind: without its entry there is no pair.
        const QString missing =
            remembered.isEmpty()
                ? Catalog::gettext(
                      "No first folder is remembered: synchronize a pair in the window first.")
                : Catalog::gettext(
                      "The remembered first folder has no entry in the folder list: ") +
                      Sync::Shown(remembered);
        Complain(missing);
        AppendLines(report, {missing, Catalog::gettext("Nothing to do!"), QString()});
        exitCode = 1;
    } else {
        const Sync::TDirInfo& info = list.Info(entry);
        TTwoWayInputs inputs;
        inputs.FirstFolder = list.Name(entry);
        inputs.SecondFolder = info.DirName;
        inputs.Filter = info.Filter.isEmpty() ? QStringLiteral("*.*") : info.Filter;
        inputs.IncludeSubdirectories = info.SubDir;
        inputs.OnlyDuplicates = info.Dupl;
        inputs.Preview = false;
        inputs.Interactive = false;
        TReportHost host(report);
        TTwoWaySync run(host);
        run.DoSync(inputs);
        exitCode = run.ErrorsLogged() ? 1 : 0;
    }

    QString reason;
    if (!AppendReport(files.LogName, report, reason)) {
        Complain(
            StringUtils::FormatSafe(Catalog::gettext("The report could not be written to %s: %s"),
                                    {files.LogName, reason}));
        exitCode = 1;
    }
    return exitCode;
}
