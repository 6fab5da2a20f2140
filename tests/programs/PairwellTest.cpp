// The real pairwell program started as a user or a scheduler would start it, on temporary
// folders: what it leaves in the folders, the run log and the settings file.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>

#include "ProgramTesting.h"
#include "TempFolder.h"

using TestSupport::Exists;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

class PairwellTest : public TestSupport::ProgramTest {
  protected:
    PairwellTest() : ProgramTest(PAIRWELL_EXECUTABLE, "pairwell") {}

    void SetUp() override {
        ProgramTest::SetUp();
        first = temp.MakeFolder("A");
        second = temp.MakeFolder("B");
    }

    QString LogName() const { return settingsFolder + "/pairwell.log"; }

    // Settings that remember `last` and hold one entry for the first folder.
    void WriteSettings(const QString& last, const QString& partner, const QString& extra = {}) {
        WriteIni("[Config]\nLastDir=" + last + "\nDirCount=1\n[RefDir00]\nName=" + first +
                 "\nDirectory=" + partner + "\nFilter=*.*\n" + extra);
    }

    QStringList LogLines() const { return QString::fromUtf8(ReadAll(LogName())).split('\n'); }

    QString first, second;
};

// The short date and the long time, without a time zone.
const QRegularExpression kHeader("^Start synchronizing - \\S.* \\d{1,2}:\\d{2}:\\d{2}( [AP]M)?$");

}  // namespace

TEST_F(PairwellTest, ForceSyncsTheRememberedPairAndAppendsOneReportPerRun) {
    WriteSettings(first, second);
    temp.WriteFile("A/a.txt", "from a", 1600000000);
    temp.WriteFile("B/b.txt", "from b", 1600000000);

    ASSERT_EQ(Run({"-force"}), 0) << stderrText.toStdString();
    EXPECT_EQ(ReadAll(second + "/a.txt"), "from a");
    EXPECT_EQ(ReadAll(first + "/b.txt"), "from b");

    QStringList lines = LogLines();
    ASSERT_EQ(lines.size(), 16);  // 15 lines, each ended by a line break
    EXPECT_TRUE(kHeader.match(lines[0]).hasMatch()) << lines[0].toStdString();
    EXPECT_EQ(lines.mid(1),
              QStringList({"First folder:  " + first, "Second folder: " + second,
                           "=> Scan directory: " + first + "/", "  1 files found",
                           "=> Scan directory: " + second + "/", "  1 files found",
                           "=> Copy files to: " + second + "/", "  Copy: a.txt", "  1 files copied",
                           "=> Copy files to: " + first + "/", "  Copy: b.txt", "  1 files copied",
                           "Files have been copied: 1 <=> 1", "", ""}));
    EXPECT_TRUE(QString::fromUtf8(ReadAll(IniName())).contains("LastDir=" + first + "\n"));

    ASSERT_EQ(Run({"-force"}), 0);
    lines = LogLines();
    ASSERT_EQ(lines.size(), 16 + 9);  // the first report stays, the second follows it
    EXPECT_TRUE(kHeader.match(lines[15]).hasMatch());
    EXPECT_EQ(lines.mid(22), QStringList({"Nothing to do!", "", ""}));
}

TEST_F(PairwellTest, ForceIsRecognisedByItsBeginningOnly) {
    WriteSettings(first, second);
    const struct {
        const char* argument;
        bool force;
    } cases[] = {{"-f", true}, {"-FO", true}, {"--force", true}, {"-forced", false}};
    for (const auto& c : cases) {
        QFile::remove(LogName());
        if (c.force) {
            EXPECT_EQ(Run({c.argument}), 0) << c.argument;
            EXPECT_TRUE(Exists(LogName())) << c.argument;
        } else {
            EXPECT_TRUE(OpensWindow({c.argument})) << c.argument;
            EXPECT_FALSE(Exists(LogName())) << c.argument;
        }
    }
}

// Nobody would close a window opened by a scheduler: without a pair the run ends by itself,
// with a report, whether or not there is a display, and leaves the settings alone.
TEST_F(PairwellTest, ForceWithoutAPairNeverOpensAWindow) {
    for (const bool display : {true, false}) {
        SCOPED_TRACE(display ? "with a display" : "without a display");
        QFile::remove(LogName());
        EXPECT_EQ(Run({"-force"}, display), 1);
        const QString notice =
            "No first folder is remembered: synchronize a pair in the window first.";
        EXPECT_EQ(LogLines().mid(1), QStringList({"First folder:  ", "Second folder: ", notice,
                                                  "Nothing to do!", "", ""}));
        EXPECT_TRUE(QString::fromLocal8Bit(stderrText).contains(notice))
            << stderrText.toStdString();
        EXPECT_FALSE(Exists(IniName()));
    }
    // Without -force and without a display there is nobody to show the window to.
    EXPECT_EQ(Run({}), 1);
    EXPECT_TRUE(stderrText.contains("no display")) << stderrText.toStdString();
    EXPECT_FALSE(Exists(IniName()));
}

TEST_F(PairwellTest, TheSettingsFileIsLeftAsItWasByAnUnattendedRun) {
    const QByteArray settings =
        ("; kept by hand\n[Config]\nTop = 120\nLeft=300\nHeight=500\nWidth=700\nLastDir=" + first +
         "\nDirCount=2\n\n[RefDir00]\nName=" + first + "\nDirectory=" + second +
         "\nFilter=\nSubdirectories=1\nDuplicates=0\n[RefDir01]\nName=/other\nDirectory=/x\n"
         "[Filter]\nHistory0=*.txt\n[Directories]\nHistory0=/x\n")
            .toUtf8();
    temp.WriteFile("home/.config/Quillonsoft/pairwell.ini", settings);
    temp.WriteFile("A/a.txt", "x");
    EXPECT_EQ(Run({"-force"}, /*display=*/true), 0);
    EXPECT_EQ(ReadAll(second + "/a.txt"), "x");  // an empty filter means every file
    EXPECT_EQ(ReadAll(IniName()), settings);
}

TEST_F(PairwellTest, ASecondUnattendedRunWhileOneIsActiveDoesNothing) {
    WriteSettings(first, second);
    temp.WriteFile("A/a.txt", "x");
    const QString busy =
        "Another unattended run of these settings is active; this one did not start.";
    {
        // Held as an active run holds it: by a process that is still there.
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(
            QFileInfo(QFileInfo("/proc/self/exe").symLinkTarget()).fileName());
        QLockFile active(settingsFolder + "/pairwell.lock");
        ASSERT_TRUE(active.tryLock(0));
        QCoreApplication::setApplicationName(name);
        EXPECT_EQ(Run({"-force"}), 1);
        EXPECT_TRUE(QString::fromLocal8Bit(stderrText).contains(busy)) << stderrText.toStdString();
        EXPECT_EQ(LogLines().mid(3), QStringList({busy, "", ""}));
        EXPECT_FALSE(Exists(second + "/a.txt"));
    }
    EXPECT_EQ(Run({"-force"}), 0);  // once the other run has ended
    EXPECT_TRUE(Exists(second + "/a.txt"));
}

TEST_F(PairwellTest, AReportThatCannotBeWrittenIsSaidOnStderrAfterTheRun) {
    WriteSettings(first, second);
    temp.MakeFolder("home/.config/Quillonsoft/pairwell.log");  // a folder where the log goes
    temp.WriteFile("A/a.txt", "x");
    EXPECT_EQ(Run({"-force"}), 1);
    EXPECT_EQ(ReadAll(second + "/a.txt"), "x");
    EXPECT_TRUE(QString::fromLocal8Bit(stderrText)
                    .contains("The report could not be written to " + LogName() + ": "))
        << stderrText.toStdString();
    EXPECT_TRUE(TestSupport::Entries(LogName()).isEmpty());
}

TEST_F(PairwellTest, HelpAndUnknownOptionsAreAnswered) {
    EXPECT_EQ(Run({"-h"}), 0);
    EXPECT_TRUE(stdoutText.startsWith("Usage: pairwell")) << stdoutText.toStdString();

    WriteSettings(first, second);
    EXPECT_EQ(Run({"-force", "--frce"}), 0);  // runs, and says what it did not understand
    EXPECT_TRUE(stderrText.contains("Unknown option --frce")) << stderrText.toStdString();
}

TEST_F(PairwellTest, AMissingSecondFolderIsReportedAndEndsWithOne) {
    const QString missing = temp / "gone";
    WriteSettings(first, missing);
    EXPECT_EQ(Run({"-force"}), 1);
    EXPECT_EQ(LogLines().mid(3),
              QStringList({"Directory not found: " + missing + "/", "Nothing to do!", "", ""}));
}

TEST_F(PairwellTest, RememberedFolderWithoutEntrySynchronisesNothing) {
    temp.WriteFile("home/.config/Quillonsoft/pairwell.ini",
                   ("[Config]\nLastDir=" + first + "\nDirCount=0\n").toUtf8());
    temp.WriteFile("A/a.txt", "x");
    EXPECT_EQ(Run({"-force"}), 1);
    EXPECT_EQ(LogLines().mid(1),
              QStringList({"First folder:  " + first, "Second folder: ",
                           "The remembered first folder has no entry in the folder list: " + first,
                           "Nothing to do!", "", ""}));
    EXPECT_TRUE(TestSupport::Entries(second).isEmpty());
}

TEST_F(PairwellTest, TheEntrysOwnPairIsSyncedNotTheNewestHistoryFolder) {
    const QString other = temp.MakeFolder("other");
    WriteSettings(first, second, "[Directories]\nHistory0=" + other + "\n");
    temp.WriteFile("A/a.txt", "x");
    EXPECT_EQ(Run({"-force"}), 0);
    EXPECT_TRUE(Exists(second + "/a.txt"));
    EXPECT_TRUE(TestSupport::Entries(other).isEmpty());
}

TEST_F(PairwellTest, GermanReportOnAMachineWithOnlyTheCLocale) {
    WriteSettings(first, second);
    temp.WriteFile("A/a.txt", "x");
    EXPECT_EQ(Run({"-force", "-lang:de"}), 0);
    const QStringList lines = LogLines();
    EXPECT_TRUE(lines[0].startsWith("Start der Synchronisierung - ")) << lines[0].toStdString();
    EXPECT_EQ(lines[1], "Erster Ordner:  " + first);
    EXPECT_EQ(lines[2], "Zweiter Ordner: " + second);
    EXPECT_EQ(lines[3], "=> Verzeichnis durchsuchen: " + first + "/");
    EXPECT_TRUE(lines.contains("Dateien wurden kopiert: 0 <=> 1"));
}

// The file manager starts the program with the folder the user clicked: a folder with an entry
// shows its pair; a folder without one is asked for its partner, and a logout while the question
// is open answers it as No and keeps the settings whole.
TEST_F(PairwellTest, AFolderFromTheFileManagerIsShownOrAskedFor) {
    const QString other = temp.MakeFolder("C"), clicked = temp.MakeFolder("Photos");
    for (const QString& argument : {first, clicked}) {
        SCOPED_TRACE(argument.toStdString());
        temp.WriteFile("home/.config/Quillonsoft/pairwell.ini",
                       ("[Config]\nLastDir=" + other + "\nDirCount=2\n[RefDir00]\nName=" + first +
                        "\nDirectory=" + second + "\nFilter=*.*\n[RefDir01]\nName=" + other +
                        "\nDirectory=" + second + "\nFilter=*.txt\n")
                           .toUtf8());
        EXPECT_TRUE(OpensWindow({argument}));
        const QString ini = QString::fromUtf8(ReadAll(IniName()));
        EXPECT_TRUE(ini.contains("LastDir=" + first + "\n")) << ini.toStdString();
        EXPECT_TRUE(ini.contains("DirCount=2\n"));
        EXPECT_FALSE(ini.contains("Name=" + clicked));
    }
}
