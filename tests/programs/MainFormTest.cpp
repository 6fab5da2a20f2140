// The main window on the offscreen platform: its settings file, its folder list and a run
// started from it.
#include "MainForm.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "FolderListBox.h"
#include "HListBox.h"
#include "ProgramInit.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"
#include "WinUtils.h"

using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

class MainFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        environment.Set("HOME", temp / "home");
        environment.Set("XDG_CONFIG_HOME", temp / "home/.config");
        environment.Set("XDG_DATA_HOME", temp / "home/.local/share");
        Start({});
    }
    void TearDown() override { WinUtils::SetMessageAnswerer({}); }

    // The program as started with these arguments; the window is made by Open.
    void Start(const QStringList& arguments) {
        ProgramInit::SetProcessForTesting("/opt/pw/bin/pairwell", arguments);
        ProgramInit::InitProgram("Quillonsoft", QString(), {"runtime10", "units"});
    }

    std::unique_ptr<TMainForm> Open() { return std::make_unique<TMainForm>(); }

    QString IniText() const {
        return QString::fromUtf8(ReadAll(temp / "home/.config/Quillonsoft/pairwell.ini"));
    }
    void WriteIni(const QString& text) {
        temp.WriteFile("home/.config/Quillonsoft/pairwell.ini", text.toUtf8());
    }

    template <class T>
    static T* Control(TMainForm& form, const char* name) {
        T* control = form.findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    TempFolder temp;
    TestSupport::ScopedEnvironment environment;
};

QString Entries(TFolderListBox* box) {
    QStringList names;
    for (int i = 0; i < box->Count(); ++i)
        names << box->Name(i);
    return names.join(',');
}

}  // namespace

TEST_F(MainFormTest, FirstStartHasDefaultsAndLeavesAFullSettingsFile) {
    auto form = Open();
    EXPECT_EQ(Control<TFolderListBox>(*form, "edRefDir")->Count(), 0);
    EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edFilter")->currentText(), "*.*");
    EXPECT_TRUE(Control<QCheckBox>(*form, "cbSubDir")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(*form, "cbDupl")->isChecked());
    form.reset();
    const QString ini = IniText();
    EXPECT_TRUE(ini.contains("[Config]"));
    EXPECT_TRUE(ini.contains("DirCount=0\n"));
    EXPECT_TRUE(ini.contains("[Filter]\nHistory0=*.*\n"));
    EXPECT_TRUE(ini.contains("[Directories]"));
}

TEST_F(MainFormTest, EntriesComeInNameOrderWithDefaultsForMissingKeys) {
    WriteIni(
        "[Config]\nDirCount=4\n"
        "[RefDir00]\nName=/c\nDirectory=/cc\n"
        "[RefDir01]\nName=/A\nDirectory=/aa\nFilter=*.txt\nSubdirectories=0\nDuplicates=1\n"
        "[RefDir02]\nDirectory=/nameless\n"
        "[RefDir03]\nName=/b\n");
    auto form = Open();
    auto* box = Control<TFolderListBox>(*form, "edRefDir");
    EXPECT_EQ(Entries(box), "/A,/b,/c");
    form->show();  // shows the first entry
    EXPECT_EQ(box->currentText(), "/A");
    EXPECT_FALSE(Control<QCheckBox>(*form, "cbSubDir")->isChecked());
    EXPECT_TRUE(Control<QCheckBox>(*form, "cbDupl")->isChecked());
    EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edFilter")->currentText(), "*.txt");

    box->Select(1);
    WinUtils::SetMessageAnswerer(
        [](QDialog&, const WinUtils::TMessageRecord&) { return WinUtils::mrNo; });
    QTest::mouseClick(Control<QToolButton>(*form, "bbRemove"), Qt::LeftButton);
    EXPECT_EQ(Entries(box), "/A,/b,/c");  // answered No: kept
}

TEST_F(MainFormTest, RemovingAnEntryKeepsOldSectionsAndSelectsTheNextOrTheFirst) {
    QString ini = "[Config]\nDirCount=11\n";
    for (int i = 0; i <= 10; ++i) {
        ini += QString("[RefDir%1]\nName=/f%1\nDirectory=/s%1\n").arg(i, 2, 10, QChar('0'));
    }
    WriteIni(ini);
    WinUtils::SetMessageAnswerer([](QDialog&, const WinUtils::TMessageRecord& record) {
        EXPECT_EQ(record.Message, "Remove folder from list?");
        return WinUtils::mrYes;
    });
    auto form = Open();
    form->show();
    auto* box = Control<TFolderListBox>(*form, "edRefDir");
    auto* remove = Control<QToolButton>(*form, "bbRemove");
    box->Select(10);  // the last entry
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(box->Selected(), 0);
    EXPECT_EQ(box->currentText(), "/f00");
    box->Select(3);
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(box->currentText(), "/f04");  // the entry now at the same place
    EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edSecondDir")->currentText(), "/s04");
    form.reset();

    const QString written = IniText();
    EXPECT_TRUE(written.contains("DirCount=9\n"));
    EXPECT_TRUE(written.contains("[RefDir08]\nName=/f09\n"));
    EXPECT_TRUE(written.contains("[RefDir10]\nName=/f10\n"));  // left from before, never read
}

TEST_F(MainFormTest, FirstParameterPreselectsAFolderOrAsksForAnUnattendedRun) {
    const QString folder = temp.MakeFolder("data");
    temp.WriteFile("data/file.txt", "x");
    const struct {
        QStringList arguments;
        QString currentDir;
        bool contextButton;
    } cases[] = {
        {{folder}, folder + "/", false},
        {{folder + "/file.txt"}, folder + "/", false},
        {{temp / "missing/deeper"}, temp / "missing/", false},
        {{"-lang:en", folder}, folder + "/", false},  // options of the start-up are passed over
        {{"-force"}, "/remembered/", true},           // force alone keeps the remembered folder
        {{"--", folder}, folder + "/", false},        // after "--" a name, never an option
        {{"--"}, "/remembered/", true},
        {{}, "/remembered/", true},
    };
    for (const auto& c : cases) {
        WriteIni("[Config]\nLastDir=/remembered/\n");
        Start(c.arguments);
        auto form = Open();
        EXPECT_EQ(form->CurrentDir(), c.currentDir) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(form->ContextButtonVisible(), c.contextButton)
            << c.arguments.join(' ').toStdString();
    }
}

TEST_F(MainFormTest, RunFromTheWindowReportsAndTurnsStartIntoStop) {
    const QString a = temp.MakeFolder("A");
    const QString b = temp.MakeFolder("B");
    temp.WriteFile("A/new.txt", "x");
    WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[RefDir00]\nName=" + a + "\nDirectory=" + b +
             "\nFilter=*.doc\n");
    auto form = Open();
    form->show();
    auto* filter = Control<HListBox::THistoryCombo>(*form, "edFilter");
    filter->setEditText(QString());
    auto* start = Control<QPushButton>(*form, "bbSync");
    auto* preview = Control<QPushButton>(*form, "bbPreview");
    QString captionDuringRun;
    bool previewEnabledDuringRun = true;
    QTimer::singleShot(0, [&] {  // runs while the scan processes the window's events
        captionDuringRun = start->text();
        previewEnabledDuringRun = preview->isEnabled();
    });
    QTest::mouseClick(start, Qt::LeftButton);

    EXPECT_EQ(captionDuringRun, "Stop");
    EXPECT_FALSE(previewEnabledDuringRun);
    EXPECT_EQ(start->text(), "Start");
    EXPECT_TRUE(preview->isEnabled());
    auto* log = Control<QListWidget>(*form, "lbLog");
    QStringList lines;
    for (int i = 0; i < log->count(); ++i)
        lines << log->item(i)->text();
    EXPECT_EQ(lines, QStringList({"=> Scan directory: " + a + "/", "  1 files found",
                                  "=> Scan directory: " + b + "/", "  0 files found",
                                  "=> Copy files to: " + b + "/", "  Copy: new.txt",
                                  "  1 files copied", ""}));
    EXPECT_EQ(log->currentRow(), log->count() - 1);  // the newest line is selected
    EXPECT_EQ(form->statusBar()->currentMessage(), "Files have been copied: 0 <=> 1");
    EXPECT_EQ(ReadAll(b + "/new.txt"), "x");
    EXPECT_EQ(filter->currentText(), "*.*");  // an empty filter box means every file
    form.reset();
    EXPECT_TRUE(IniText().contains("Filter=*.*\n"));
}
