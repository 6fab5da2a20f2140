// The main window on the offscreen platform: its settings file, its folder list, the rule that
// the pair shown is the pair stored and run, and runs started, stopped and watched from it.
#include "MainForm.h"

#include <unistd.h>

#include <functional>

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>

#include "DialogScript.h"
#include "FaultSeam.h"
#include "FolderList.h"
#include "FolderListBox.h"
#include "HListBox.h"
#include "IniFiles.h"
#include "LogList.h"
#include "ProgramInit.h"
#include "ScopedEnvironment.h"
#include "SelectFromListDlg.h"
#include "ShellDirDlg.h"
#include "StartUp.h"
#include "TempFolder.h"
#include "WinUtils.h"
#include "WindowTesting.h"

using TestSupport::ChooseFolder;
using TestSupport::OnSourceOpened;
using TestSupport::PostClick;
using TestSupport::ReadAll;
using TestSupport::TempFolder;
using TestSupport::TypeInto;

namespace {

class MainFormTest : public TestSupport::WindowTest {
  protected:
    MainFormTest() : WindowTest("pairwell", kPairwellFolderList) {}

    std::unique_ptr<TMainForm> Open() { return std::make_unique<TMainForm>(); }
};

QString Entries(TFolderListBox* box) {
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names << box->itemText(i);
    return names.join(',');
}

}  // namespace

TEST_F(MainFormTest, FirstStartHasDefaultsOpensCentredAndLeavesAFullSettingsFile) {
    auto form = Open();
    EXPECT_EQ(Control<TFolderListBox>(*form, "edRefDir")->count(), 0);
    EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edFilter")->currentText(), "*.*");
    EXPECT_TRUE(Control<QCheckBox>(*form, "cbSubDir")->isChecked());
    EXPECT_FALSE(Control<QCheckBox>(*form, "cbDupl")->isChecked());
    form->show();
    // The test screen is 1920 x 1080.
    EXPECT_NEAR(form->frameGeometry().center().x(), 960, 2);
    EXPECT_NEAR(form->frameGeometry().center().y(), 540, 2);
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

TEST_F(MainFormTest, FirstParameterPreselectsAFolder) {
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

// However the first folder changes, the values shown first go to the entry that was selected,
// and then the new folder's entry is selected and shown; a run of a folder without an entry
// makes it one. Every way in, with every entry checked after quitting.
TEST_F(MainFormTest, ThePairShownIsThePairStoredWhicheverWayTheFirstFolderChanges) {
    const QString a = temp.MakeFolder("A"), b = temp.MakeFolder("B"), c = temp.MakeFolder("C");
    const QString d = temp.MakeFolder("D");  // has no entry
    const QString a2 = temp.MakeFolder("a2"), b2 = temp.MakeFolder("b2");
    const QString c2 = temp.MakeFolder("c2"), edited = temp.MakeFolder("edited");
    using TWay = std::function<void(TMainForm&, TFolderListBox*)>;
    const auto pressKey = [](Qt::Key key) {
        return [key](TMainForm&, TFolderListBox* box) {
            box->setFocus();
            QTest::keyClick(box, key);
        };
    };
    const struct {
        const char* way;
        TWay change;
        QStringList expected;  // after quitting; B's pair was edited before the change
        QString lastDir;
    } cases[] = {
        {"Down",
         pressKey(Qt::Key_Down),
         {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2},
         c},
        {"Up", pressKey(Qt::Key_Up), {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2}, a},
        {"wheel",
         [](TMainForm&, TFolderListBox* box) {
             const QPointF at(box->width() / 2.0, box->height() / 2.0);
             QWheelEvent wheel(at, box->mapToGlobal(at), {}, {0, -120}, Qt::NoButton,
                               Qt::NoModifier, Qt::NoScrollPhase, false);
             QCoreApplication::sendEvent(box, &wheel);
         },
         {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2},
         c},
        {"type and Tab",
         [c](TMainForm&, TFolderListBox* box) {
             TypeInto(box, c);
             QTest::keyClick(box, Qt::Key_Tab);
         },
         {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2},
         c},
        {"type and Return (which starts the run)",
         [c](TMainForm&, TFolderListBox* box) {
             TypeInto(box, c);
             QTest::keyClick(box, Qt::Key_Return);
         },
         {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2},
         c},
        {"the list",
         [](TMainForm&, TFolderListBox* box) {
             box->showPopup();
             QAbstractItemView* view = box->view();
             const QRect item = view->visualRect(view->model()->index(2, 0));
             QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
         },
         {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2},
         c},
        {"the folder button",
         [c](TMainForm& form, TFolderListBox*) {
             TestSupport::TDialogScript script;
             script.Then(ChooseFolder("Select first folder", c));
             QTest::mouseClick(Control<QToolButton>(form, "bbRefDir"), Qt::LeftButton);
         },
         {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2},
         c},
        {"Start with a typed folder",
         [c](TMainForm& form, TFolderListBox* box) {
             TypeInto(box, c);
             // Pressed without taking the focus, as a keyboard shortcut does.
             Control<QPushButton>(form, "bbSync")->click();
         },
         {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2},
         c},
        {"Start with a typed folder that has no entry",
         [d](TMainForm& form, TFolderListBox* box) {
             TypeInto(box, d);
             Control<QPushButton>(form, "bbSync")->click();
         },
         {a + " -> " + a2, b + " -> " + edited, c + " -> " + c2, d + " -> " + edited},
         d},
    };
    for (const auto& way : cases) {
        SCOPED_TRACE(way.way);
        WriteIni("[Config]\nLastDir=" + b + "\nDirCount=3\n[RefDir00]\nName=" + a +
                 "\nDirectory=" + a2 + "\n[RefDir01]\nName=" + b + "\nDirectory=" + b2 +
                 "\n[RefDir02]\nName=" + c + "\nDirectory=" + c2 + "\n");
        auto form = Open();
        form->show();
        form->activateWindow();  // so that the focus can leave the box
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
        auto* box = Control<TFolderListBox>(*form, "edRefDir");
        auto* second = Control<HListBox::THistoryCombo>(*form, "edSecondDir");
        ASSERT_EQ(box->currentText(), b);
        second->setEditText(edited);

        way.change(*form, box);
        QTest::qWait(0);  // what the box posts to itself
        EXPECT_EQ(box->currentText(), way.lastDir);
        EXPECT_EQ(box->Selected(), box->List().Find(way.lastDir));
        const QString expectedSecond = way.lastDir == d ? edited : way.lastDir == a ? a2 : c2;
        EXPECT_EQ(second->currentText(), expectedSecond);  // the new folder's own pair

        QTest::mouseClick(Control<QToolButton>(*form, "bbQuit"), Qt::LeftButton);
        EXPECT_FALSE(form->isVisible());
        form.reset();
        EXPECT_EQ(StoredEntries(), way.expected);
        EXPECT_TRUE(IniText().contains("LastDir=" + way.lastDir + "\n"));
    }
}

TEST_F(MainFormTest, EscapeQuitsAndKeepsThePairShown) {
    const QString a = temp.MakeFolder("A");
    WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[RefDir00]\nName=" + a +
             "\nDirectory=/old\n");
    auto form = Open();
    form->show();
    Control<HListBox::THistoryCombo>(*form, "edSecondDir")->setEditText("/new");
    QTest::keyClick(Control<QPushButton>(*form, "bbSync"), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    form.reset();
    EXPECT_EQ(StoredEntries(), QStringList({a + " -> /new"}));
}

// A folder without an entry, as the file manager passes it, gets a partner of its own, never
// the second folder some other pair left in the window; the other pair stays as it was.
TEST_F(MainFormTest, AFolderFromTheFileManagerIsAskedForItsPartner) {
    const QString a = temp.MakeFolder("A"), a2 = temp.MakeFolder("a2");
    const QString photos = temp.MakeFolder("Photos"), stick = temp.MakeFolder("stick");
    for (const bool yes : {true, false}) {
        SCOPED_TRACE(yes ? "Yes" : "No");
        WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[RefDir00]\nName=" + a + "\nDirectory=" +
                 a2 + "\nFilter=*.txt\nDuplicates=1\n[Directories]\nHistory0=" + a2 + "\n");
        Start({photos});
        TestSupport::TDialogScript script;
        script.Then([&](QDialog&, const WinUtils::TMessageRecord& record) {
            EXPECT_EQ(record.Message, "Select folder to be synchronized with\r\n" + photos + "/");
            return yes ? WinUtils::mrYes : WinUtils::mrNo;
        });
        if (yes) script.Then(ChooseFolder("Select second folder", stick));
        auto form = Open();
        form->show();
        QTest::qWait(0);  // the question comes once the window is on the screen
        auto* box = Control<TFolderListBox>(*form, "edRefDir");
        const QString shown = yes ? photos + "/" : a;
        EXPECT_EQ(box->currentText(), shown);
        EXPECT_EQ(box->Selected(), box->List().Find(shown));
        EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edSecondDir")->currentText(),
                  yes ? stick + "/" : a2);
        EXPECT_EQ(Control<HListBox::THistoryCombo>(*form, "edFilter")->currentText(),
                  yes ? "*.*" : "*.txt");
        EXPECT_EQ(Control<QCheckBox>(*form, "cbSubDir")->isChecked(), true);
        EXPECT_EQ(Control<QCheckBox>(*form, "cbDupl")->isChecked(), !yes);
        QTest::mouseClick(Control<QToolButton>(*form, "bbQuit"), Qt::LeftButton);
        form.reset();

        QStringList expected = {a + " -> " + a2};
        if (yes) expected << photos + "/ -> " + stick + "/";
        EXPECT_EQ(StoredEntries(), expected);
        EXPECT_EQ(StoredEntry(a), (Sync::TDirInfo{a2, "*.txt", true, true}));
        if (yes) {
            EXPECT_EQ(StoredEntry(photos), (Sync::TDirInfo{stick + "/", "*.*", true, false}));
        }
        EXPECT_TRUE(IniText().contains("LastDir=" + shown + "\n"));
    }
}

// The filter is edited as a list of masks in the list editor beside its button; what comes back
// is lower case, joined with ";" and quoted where a mask holds a blank.
TEST_F(MainFormTest, TheFilterIsEditedAsAListAndStoredWhereItIsShown) {
    const QString a = temp.MakeFolder("A");
    for (const bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[RefDir00]\nName=" + a +
                 "\nDirectory=/b\nFilter=*.TXT\n[Filter]\nHistory0=*.pdf\n");
        auto form = Open();
        form->show();
        auto* filter = Control<HListBox::THistoryCombo>(*form, "edFilter");
        auto* button = Control<QToolButton>(*form, "bbFilter");
        TestSupport::TDialogScript script;
        script.Then([&](QDialog& dialog, const WinUtils::TMessageRecord& record) {
            EXPECT_EQ(record.Kind, WinUtils::dkSelectFromList);
            EXPECT_EQ(record.Title, form->windowTitle());
            EXPECT_EQ(record.Message, "File filter:");
            EXPECT_EQ(dialog.pos(), WinUtils::BottomRightPos(button, QPoint(5, 5)));
            auto* list = dialog.findChild<QListWidget*>("lbxStringList");
            EXPECT_EQ(list->count(), 1);
            EXPECT_EQ(list->item(0)->text(), "*.TXT");
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnInsert"), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QPushButton*>("btnInsert"), Qt::LeftButton);
            return TestSupport::Click(dialog, ok ? "OK" : "Cancel");
        });
        for (const QString mask : {"*.doc", "My Notes*.md"}) {
            script.Then([mask](QDialog& input, const WinUtils::TMessageRecord& record) {
                EXPECT_EQ(record.Kind, WinUtils::dkInputText);
                QLineEdit* edit = input.findChild<QComboBox*>("TextFeld")->lineEdit();
                edit->clear();
                QTest::keyClicks(edit, mask);
                QTest::keyClick(edit, Qt::Key_Return);
                return WinUtils::kAnswerFromBox;
            });
        }
        QTest::mouseClick(button, Qt::LeftButton);

        const QString expected = ok ? "*.txt;*.doc;\"my notes*.md\"" : "*.TXT";
        EXPECT_EQ(filter->currentText(), expected);
        EXPECT_EQ(filter->HistoryList().Texts(),
                  ok ? QStringList({expected, "*.pdf"}) : QStringList({"*.pdf"}));
        form.reset();
        EXPECT_EQ(StoredEntry(a).Filter, expected);
    }
}

// A new first folder chosen with the folder button gets its entry selected: the second folder
// chosen next is its partner, and the entry shown before keeps its own.
TEST_F(MainFormTest, ASecondFolderChosenAfterANewFirstFolderBelongsToIt) {
    const QString a = temp.MakeFolder("A"), a2 = temp.MakeFolder("a2");
    const QString fresh = temp.MakeFolder("fresh"), partner = temp.MakeFolder("partner");
    WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[RefDir00]\nName=" + a +
             "\nDirectory=" + a2 + "\nFilter=*.txt\n");
    auto form = Open();
    form->show();
    {
        TestSupport::TDialogScript script;
        script.Then(ChooseFolder("Select first folder", fresh))
            .Then(ChooseFolder("Select second folder", partner));
        QTest::mouseClick(Control<QToolButton>(*form, "bbRefDir"), Qt::LeftButton);
        QTest::mouseClick(Control<QToolButton>(*form, "bbSecondDir"), Qt::LeftButton);
    }
    auto* box = Control<TFolderListBox>(*form, "edRefDir");
    EXPECT_EQ(box->currentText(), fresh + "/");
    EXPECT_EQ(box->Selected(), box->List().Find(fresh));
    form.reset();
    EXPECT_EQ(StoredEntries(), QStringList({a + " -> " + a2, fresh + "/ -> " + partner + "/"}));
    EXPECT_EQ(StoredEntry(a), (Sync::TDirInfo{a2, "*.txt", true, false}));
    EXPECT_EQ(StoredEntry(fresh).Filter, "*.txt");  // it started with the values shown
}

TEST_F(MainFormTest, AFolderNameWithALineBreakCostsOnlyItself) {
    const QString a = temp.MakeFolder("A"), b = temp.MakeFolder("B");
    const QString odd = temp.MakeFolder("odd\nname");
    WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[RefDir00]\nName=" + a + "\nDirectory=" + b +
             "\n");
    Start({odd});  // as the file manager's menu passes it
    TestSupport::TDialogScript script;
    script.Then([](QDialog&, const WinUtils::TMessageRecord&) { return WinUtils::mrYes; })
        .Then(ChooseFolder("Select second folder", b))
        .Then([&](QDialog&, const WinUtils::TMessageRecord& record) {
            EXPECT_TRUE(record.Message.startsWith("These values were not saved in " + IniName()));
            EXPECT_TRUE(record.Message.contains("Name=" + temp / "odd\\nname"))
                << record.Message.toStdString();
            return WinUtils::mrOk;
        });
    auto form = Open();
    form->show();
    QTest::qWait(0);
    ASSERT_EQ(Control<TFolderListBox>(*form, "edRefDir")->count(), 2);

    QTest::mouseClick(Control<QToolButton>(*form, "bbQuit"), Qt::LeftButton);
    form.reset();
    // The other entry, the count and the histories are written; the remembered folder stays.
    EXPECT_EQ(StoredEntries(), QStringList({a + " -> " + b}));
    const QString ini = IniText();
    EXPECT_TRUE(ini.contains("LastDir=" + a + "\n"));
    EXPECT_TRUE(ini.contains("DirCount=2\n"));
    EXPECT_TRUE(ini.contains("[Directories]\nHistory0=" + b + "/\n"));
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
    auto* log = Control<TLogList>(*form, "lbLog");
    EXPECT_EQ(log->Lines(), QStringList({"=> Scan directory: " + a + "/", "  1 files found",
                                         "=> Scan directory: " + b + "/", "  0 files found",
                                         "=> Copy files to: " + b + "/", "  Copy: new.txt",
                                         "  1 files copied", ""}));
    EXPECT_EQ(log->currentIndex().row(), log->Count() - 1);  // the newest line is selected
    EXPECT_EQ(form->statusBar()->currentMessage(), "Files have been copied: 0 <=> 1");
    EXPECT_EQ(ReadAll(b + "/new.txt"), "x");
    EXPECT_EQ(filter->currentText(), "*.*");  // an empty filter box means every file
    form.reset();
    EXPECT_TRUE(IniText().contains("Filter=*.*\n"));
}

// Stop takes effect between two files of a copy pass: the file being copied is finished, the
// run reports what it copied, and no click of the user's starts another run afterwards.
TEST_F(MainFormTest, StopDuringACopyPassEndsTheRunAfterTheFileBeingCopied) {
    const QString a = temp.MakeFolder("A");
    const QString b = temp.MakeFolder("B");
    const auto clickStop = [](TMainForm& form) {
        PostClick(form.findChild<QPushButton*>("bbSync"));
    };
    const struct {
        const char* what;
        QString folder;  // the n-th file copied from there sets the action off
        int n;
        std::function<void(TMainForm&)> action;
        QString status;
        bool closed;
    } cases[] = {
        {"Stop clicked", a, 2, clickStop, "Files have been copied: 0 <=> 2", false},
        {"window closed", a, 2,
         [](TMainForm& form) { QCoreApplication::postEvent(&form, new QCloseEvent); },
         "Files have been copied: 0 <=> 2", true},
        // Too late for the run to see before its end: it still starts no new run.
        {"Stop clicked at the last file", b, 1, clickStop, "Files have been copied: 1 <=> 5",
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const QString& folder : {a, b}) {
            for (const QString& name : TestSupport::Entries(folder))
                QFile::remove(folder + "/" + name);
        }
        for (int i = 1; i <= 5; ++i)
            temp.WriteFile(QString("A/f%1.txt").arg(i), "a");
        temp.WriteFile("B/in-b.txt", "b");  // for the second pass
        WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[RefDir00]\nName=" + a +
                 "\nDirectory=" + b + "\n");
        auto form = Open();
        form->show();
        {
            OnSourceOpened hook(c.folder + "/", c.n, [&] {
                c.action(*form);
                usleep(100 * 1000);  // the window looks at its events after this file
            });
            QTest::mouseClick(Control<QPushButton>(*form, "bbSync"), Qt::LeftButton);
        }
        QTest::qWait(50);  // anything still queued, such as a click held back
        EXPECT_FALSE(form->Running());
        EXPECT_EQ(form->statusBar()->currentMessage(), c.status);
        const qsizetype copied = TestSupport::Entries(b).size() - 1;
        EXPECT_TRUE(Control<TLogList>(*form, "lbLog")
                        ->Lines()
                        .contains(QString("  %1 files copied").arg(copied)));
        EXPECT_EQ(form->isVisible(), !c.closed);
    }
}

TEST_F(MainFormTest, CopyPassesShowTheirProgressInTheStatusBar) {
    const QString a = temp.MakeFolder("A");
    const QString b = temp.MakeFolder("B");
    for (int i = 1; i <= 4; ++i)
        temp.WriteFile(QString("A/f%1.txt").arg(i), QByteArray(1000, 'a'));
    temp.WriteFile("B/g.txt", QByteArray(1000, 'b'));
    WriteIni("[Config]\nLastDir=" + a + "\nDirCount=1\n[RefDir00]\nName=" + a + "\nDirectory=" + b +
             "\n");
    auto form = Open();
    form->show();
    auto* bar = Control<QProgressBar>(*form, "pbCopy");
    QString statusAtSecondPass;
    bool barShown = false;
    int barValue = -1;
    int fromA = 0;
    Platform::SetFaultHook([&](Platform::FaultPoint point, const QString& path) {
        if (point != Platform::FaultPoint::Open) return Platform::ErrorCode(0);
        // Time enough for the window to show the next figures.
        if (path.startsWith(a + "/") && ++fromA == 4) usleep(100 * 1000);
        if (path.startsWith(b + "/")) {
            statusAtSecondPass = form->statusBar()->currentMessage();
            barShown = bar->isVisible();
            barValue = bar->value();
        }
        return Platform::ErrorCode(0);
    });
    QTest::mouseClick(Control<QPushButton>(*form, "bbSync"), Qt::LeftButton);
    Platform::SetFaultHook({});

    EXPECT_EQ(statusAtSecondPass, "Copying: 4 of 5 files, 4.0 kB of 5.0 kB");
    EXPECT_TRUE(barShown);
    EXPECT_EQ(barValue, 800);        // by bytes, of 1000 steps
    EXPECT_FALSE(bar->isVisible());  // the run has ended
    EXPECT_EQ(form->statusBar()->currentMessage(), "Files have been copied: 1 <=> 4");
    EXPECT_EQ(Control<TLogList>(*form, "lbLog")->Lines().mid(4, 7),
              QStringList({"=> Copy files to: " + b + "/", "  Copy: f1.txt", "  Copy: f2.txt",
                           "  Copy: f3.txt", "  Copy: f4.txt", "  4 files copied",
                           "=> Copy files to: " + a + "/"}));  // the log as it always was
}
