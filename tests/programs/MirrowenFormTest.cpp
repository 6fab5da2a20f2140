// Mirrowen's main window on the offscreen platform: what it has of its own (its controls, its
// settings file, the source chosen at once for a folder without an entry, "Replace only existing
// files" never kept) and one-way runs started and stopped from it. What it shares with
// Pairwell's window is tested there.
#include "MainForm.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "FolderListBox.h"
#include "HListBox.h"
#include "LogList.h"
#include "WinUtils.h"
#include "WindowTesting.h"

using TestSupport::ChooseFolder;
using TestSupport::ReadAll;

namespace {

class MirrowenFormTest : public TestSupport::WindowTest {
  protected:
    MirrowenFormTest() : WindowTest("mirrowen", {"Dir", false}) {}

    std::unique_ptr<TMainForm> Open() { return std::make_unique<TMainForm>(); }
};

}  // namespace

TEST_F(MirrowenFormTest, FirstStartShowsMirrowensControlsAndLeavesItsSettingsFile) {
    auto form = Open();
    EXPECT_TRUE(form->windowTitle().startsWith("Synchronize folder ("))
        << form->windowTitle().toStdString();
    EXPECT_EQ(Control<QLabel>(*form, "Label3")->text(), "Folder to be synchronized:");
    EXPECT_EQ(Control<QLabel>(*form, "Label1")->text(), "Synchronize with folder:");
    EXPECT_EQ(Control<QToolButton>(*form, "bbDest")->toolTip(), "Select folder to be synchronized");
    EXPECT_EQ(Control<QToolButton>(*form, "bbSource")->toolTip(),
              "Select folder from where to synchronize");
    EXPECT_EQ(Control<QCheckBox>(*form, "cbRepl")->text(), "Replace only existing files");
    EXPECT_FALSE(Control<QCheckBox>(*form, "cbRepl")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(*form, "cbSubDir")->isChecked());
    EXPECT_EQ(Control<QPushButton>(*form, "bbCopy")->text(), "Start");
    EXPECT_TRUE(Control<QPushButton>(*form, "bbCopy")->isDefault());
    EXPECT_EQ(form->findChild<QPushButton*>("bbPreview"), nullptr);
    EXPECT_EQ(form->findChild<QCheckBox*>("cbDupl"), nullptr);
    EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edFilter")->currentText(), "*.*");
    form.reset();
    const QString ini = IniText();
    EXPECT_TRUE(ini.contains("DirCount=0\n"));
    EXPECT_TRUE(ini.contains("[Filter]\nHistory0=*.*\n"));
    EXPECT_TRUE(ini.contains("[Source]"));
}

// Sections Dir00, Dir01, ... with "Name", "Directory", "Filter" and "Subdirectories"; a key of
// Pairwell's ("Duplicates") is neither read nor written, and the option is never stored.
TEST_F(MirrowenFormTest, EntriesAreReadAndWrittenAsDirSectionsAndTheOptionIsNotKept) {
    WriteIni(
        "[Config]\nLastDir=/b\nDirCount=2\n"
        "[Dir00]\nName=/b\nDirectory=/src-b\nFilter=*.txt\nSubdirectories=0\nDuplicates=1\n"
        "[Dir01]\nName=/a\nDirectory=/src-a\n"
        "[Source]\nHistory0=/src-b\n");
    for (int start = 0; start < 2; ++start) {
        SCOPED_TRACE(start);
        auto form = Open();
        form->show();
        EXPECT_EQ(Control<TFolderListBox>(*form, "edDest")->currentText(), "/b");
        EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edSource")->currentText(), "/src-b");
        EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edFilter")->currentText(), "*.txt");
        EXPECT_FALSE(Control<QCheckBox>(*form, "cbSubDir")->isChecked());
        auto* option = Control<QCheckBox>(*form, "cbRepl");
        EXPECT_FALSE(option->isChecked());  // clear after every start
        QTest::mouseClick(option, Qt::LeftButton);
        EXPECT_TRUE(option->isChecked());
        QTest::mouseClick(Control<QToolButton>(*form, "bbQuit"), Qt::LeftButton);
    }
    const QString ini = IniText();
    EXPECT_TRUE(ini.contains("[Dir00]\nName=/a\nDirectory=/src-a\nFilter=*.*\nSubdirectories=1\n"))
        << ini.toStdString();
    EXPECT_TRUE(
        ini.contains("[Dir01]\nName=/b\nDirectory=/src-b\nFilter=*.txt\nSubdirectories=0\n"));
    EXPECT_FALSE(ini.contains("[RefDir"));
    EXPECT_FALSE(ini.contains("Replace"));
    EXPECT_TRUE(ini.contains("[Source]\nHistory0=/src-b\n"));
}

// A folder from the file manager that has no entry: the source dialog opens at once, without a
// question; a chosen source makes the pair an entry, a cancel shows the first entry.
TEST_F(MirrowenFormTest, AFolderWithoutEntryHasItsSourceChosenAtOnce) {
    const QString a = temp.MakeFolder("A"), a2 = temp.MakeFolder("a2");
    const QString stick = temp.MakeFolder("stick"), photos = temp.MakeFolder("Photos");
    for (const bool chosen : {true, false}) {
        SCOPED_TRACE(chosen ? "chosen" : "cancelled");
        WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[Dir00]\nName=" + a +
                 "\nDirectory=" + a2 + "\nFilter=*.txt\n");
        Start({stick});
        TestSupport::TDialogScript script;
        if (chosen) {
            script.Then(ChooseFolder("Select folder from where to synchronize", photos));
        } else {
            script.Then([](QDialog& dialog, const WinUtils::TMessageRecord& record) {
                EXPECT_EQ(record.Kind, WinUtils::dkShellDir);
                return TestSupport::Click(dialog, "Cancel");
            });
        }
        auto form = Open();
        form->show();
        QTest::qWait(0);  // the dialog comes once the window is on the screen
        const QString shown = chosen ? stick + "/" : a;
        auto* box = Control<TFolderListBox>(*form, "edDest");
        EXPECT_EQ(box->currentText(), shown);
        EXPECT_EQ(box->Selected(), box->List().Find(shown));
        EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edFilter")->currentText(),
                  chosen ? "*.*" : "*.txt");
        form.reset();
        QStringList expected = {a + " -> " + a2};
        if (chosen) expected << stick + "/ -> " + photos + "/";
        EXPECT_EQ(StoredEntries(), expected);
    }
}

// A run from the window: "Start" turns into "Stop" while it runs, the log and the status line
// report it, and a folder run without an entry becomes one.
TEST_F(MirrowenFormTest, RunFromTheWindowCopiesOneWayAndReports) {
    const QString dst = temp.MakeFolder("dst"), src = temp.MakeFolder("src");
    temp.WriteFile("src/a.txt", "a", 1600000000);
    temp.WriteFile("src/sub/b.txt", "b", 1600000000);
    temp.WriteFile("dst/only-here.txt", "keep", 1600000000);
    auto form = Open();
    form->show();
    TestSupport::TypeInto(Control<TFolderListBox>(*form, "edDest"), dst);
    TestSupport::TypeInto(Control<HListBox::THistoryCombo>(*form, "edSource"), src);
    auto* start = Control<QPushButton>(*form, "bbCopy");
    QString captionDuringRun;
    bool optionEnabledDuringRun = true;
    QTimer::singleShot(0, [&] {  // runs while the scan processes the window's events
        captionDuringRun = start->text();
        optionEnabledDuringRun = form->findChild<QCheckBox*>("cbRepl")->isEnabled();
    });
    QTest::mouseClick(start, Qt::LeftButton);

    EXPECT_EQ(captionDuringRun, "Stop");
    EXPECT_FALSE(optionEnabledDuringRun);
    EXPECT_EQ(start->text(), "Start");
    EXPECT_EQ(Control<TLogList>(*form, "lbLog")->Lines(),
              QStringList({"=> Scan directory:", "  2 files found", "=> Copy files:",
                           "  Copy: a.txt", "  Create subdirectory: " + dst + "/sub/",
                           "  Copy: sub/b.txt", "  2 files copied", ""}));
    EXPECT_EQ(form->statusBar()->currentMessage(), "Status: 2 files copied");
    EXPECT_EQ(ReadAll(dst + "/sub/b.txt"), "b");
    EXPECT_FALSE(TestSupport::Exists(src + "/only-here.txt"));  // one way only
    form.reset();
    EXPECT_EQ(StoredEntries(), QStringList({dst + " -> " + src}));
}

// Stop takes effect between two files of the copy pass: the file being copied is finished and
// the run reports what it copied.
TEST_F(MirrowenFormTest, StopDuringTheCopyPassEndsTheRunAfterTheFileBeingCopied) {
    const QString dst = temp.MakeFolder("dst"), src = temp.MakeFolder("src");
    for (int i = 1; i <= 5; ++i)
        temp.WriteFile(QString("src/f%1.txt").arg(i), "a");
    WriteIni("[Config]\nLastDir=" + dst + "\nDirCount=1\n[Dir00]\nName=" + dst +
             "\nDirectory=" + src + "\n");
    auto form = Open();
    form->show();
    auto* start = Control<QPushButton>(*form, "bbCopy");
    {
        TestSupport::OnSourceOpened hook(src + "/", 2, [&] {
            TestSupport::PostClick(start);
            usleep(100 * 1000);  // the window looks at its events after this file
        });
        QTest::mouseClick(start, Qt::LeftButton);
    }
    QTest::qWait(50);  // anything still queued, such as a click held back
    EXPECT_FALSE(form->Running());
    EXPECT_EQ(TestSupport::Entries(dst).size(), 2);
    EXPECT_EQ(form->statusBar()->currentMessage(), "Status: 2 files copied");
    EXPECT_EQ(start->text(), "Start");
}
