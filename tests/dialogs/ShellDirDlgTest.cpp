// The folder selection dialog on real temporary folders, driven as a person would through the
// test seam: where it opens, what it answers, the buttons, creating and deleting folders with
// their refusals, the history, the file list and the settings section.
#include "ShellDirDlg.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <functional>
#include <ostream>

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>

#include "Catalog.h"
#include "DialogScript.h"
#include "FaultInjection.h"
#include "IniFiles.h"
#include "NetworkProbe.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

using namespace ShellDirDlg;
using namespace Qt::StringLiterals;
using TestSupport::Exists;
using TestSupport::TDialogScript;
using TestSupport::TDialogStep;
using WinUtils::TMessageRecord;

// Readable QString values in failure messages and after <<.
static std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << '"' << text.toStdString() << '"';
}
static void PrintTo(const QString& text, std::ostream* os) {
    *os << text;
}

namespace {

// Loading runs in the background: generous, since it only matters when something is broken.
constexpr int kLoadTimeout = 20000;

bool WaitFor(const std::function<bool()>& condition) {
    return QTest::qWaitFor(condition, kLoadTimeout);
}

QTreeView* Tree(QDialog& dialog) {
    return dialog.findChild<QTreeView*>("ShellTreeView");
}

QTreeView* List(QDialog& dialog) {
    return dialog.findChild<QTreeView*>("ShellListView");
}

QComboBox* Box(QDialog& dialog) {
    return dialog.findChild<QComboBox*>("cbxSelectedDir");
}

QPushButton* OkButton(QDialog& dialog) {
    return dialog.findChild<QPushButton*>("btbOK");
}

// The folder selected in the tree.
QString Selected(QDialog& dialog) {
    const QModelIndex current = Tree(dialog)->currentIndex();
    return current.isValid()
               ? static_cast<const QFileSystemModel*>(current.model())->filePath(current)
               : QString();
}

// The folder at the top of the tree.
QString TreeRoot(QDialog& dialog) {
    QTreeView* tree = Tree(dialog);
    const auto* model = static_cast<const QFileSystemModel*>(tree->model());
    for (int row = 0; row < model->rowCount(tree->rootIndex()); ++row) {
        if (!tree->isRowHidden(row, tree->rootIndex()))
            return model->filePath(model->index(row, 0, tree->rootIndex()));
    }
    return QString();
}

// The names the file list shows, once the folder has loaded.
QStringList ListedNames(QDialog& dialog, int expected) {
    QTreeView* list = List(dialog);
    WaitFor([&] { return list->model()->rowCount(list->rootIndex()) >= expected; });
    QTest::qWait(50);  // a late entry that should not be there would show now
    QStringList names;
    for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
        names << list->model()->index(row, 0, list->rootIndex()).data().toString();
    return names;
}

void ClickNamed(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isVisible()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void Trigger(QDialog& dialog, const char* item) {
    dialog.findChild<QAction*>(item)->trigger();
}

void TypeInBox(QDialog& dialog, const QString& text) {
    QLineEdit* edit = Box(dialog)->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, text);
}

// Answers the text input dialog with a name.
TDialogStep EnterName(const QString& name) {
    return [name](QDialog& input, const TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkInputText);
        EXPECT_EQ(record.Message, "New subdirectory:");
        QLineEdit* edit = input.findChild<QComboBox*>("TextFeld")->lineEdit();
        QTest::keyClicks(edit, name);
        QTest::keyClick(edit, Qt::Key_Return);
        return WinUtils::kAnswerFromBox;
    };
}

// Answers the delete question with the button of this caption.
TDialogStep AnswerDelete(const QString& folder, const QString& caption) {
    return [folder, caption](QDialog& question, const TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkSelectDialog);
        EXPECT_EQ(record.Title, "Delete directory");
        EXPECT_EQ(record.Message, "Delete \"" + folder + "\"");
        EXPECT_EQ(record.Buttons, QStringList({"Definitely", "To recycle bin", "Cancel"}));
        EXPECT_EQ(question.focusWidget(), TestSupport::ButtonCaptioned(question, "Cancel"));
        return TestSupport::Click(question, caption);
    };
}

// Expects a message box with this text and kind.
TDialogStep ExpectBox(const QString& message, WinUtils::TMsgDlgType type) {
    return [message, type](QDialog&, const TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkMessageBox);
        EXPECT_EQ(record.Message, message);
        EXPECT_EQ(record.Type, type);
        return WinUtils::mrOk;
    };
}

void UseLanguage(const char* code) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    Catalog::UseLanguage(code);
}

class ShellDir : public ::testing::Test {
  protected:
    ShellDir() {
        UseLanguage("en");
        home = ExcludeSlash(temp.MakeFolder("home"));
        documents = ExcludeSlash(temp.MakeFolder("home/Documents"));
        work = ExcludeSlash(temp.MakeFolder("work"));
        environment.Set("HOME", home);
        environment.Set("XDG_CONFIG_HOME", home + "/.config");
        environment.Set("XDG_DATA_HOME", home + "/.local/share");
        environment.Set("XDG_RUNTIME_DIR", temp.MakeFolder("run"));
        NetworkProbe::SetMountTableFile(temp.WriteFile("mounts", "/dev/sda1 / ext4 rw 0 0\n"));
    }
    ~ShellDir() override { NetworkProbe::SetMountTableFile(QString()); }

    static QString ExcludeSlash(const QString& path) { return QDir::cleanPath(path); }

    // Execute with these arguments while `act` works in the dialog; the steps after it answer
    // what `act` opens. `dir` receives the answer.
    bool Run(QString& dir, const QString& homeDir, const std::function<int(QDialog&)>& act,
             const std::vector<TDialogStep>& then = {}, bool hidden = false) {
        TDialogScript script;
        script.Then([&](QDialog& shown, const TMessageRecord& record) {
            EXPECT_EQ(record.Kind, WinUtils::dkShellDir);
            EXPECT_EQ(record.Title, "Select folder");
            return act(shown);
        });
        for (const TDialogStep& step : then)
            script.Then(step);
        return dialog().Execute("Select folder", hidden, true, true, homeDir, dir);
    }

    TShellDirDialog& dialog() {
        if (!dialog_) dialog_ = std::make_unique<TShellDirDialog>();
        return *dialog_;
    }

    TestSupport::TempFolder temp;
    TestSupport::ScopedEnvironment environment;
    QString home;
    QString documents;
    QString work;
    std::unique_ptr<TShellDirDialog> dialog_;
};

TEST_F(ShellDir, OpensAtTheStartFolderAndAnswersTheChosenOneWithADelimiter) {
    const QString other = ExcludeSlash(temp.MakeFolder("other"));
    const struct {
        QString dir, homeDir, opensAt;
    } cases[] = {
        {work, other, work},
        {work + "/", "", work},
        {"", other, other},                     // no start folder: the home folder
        {"", "", documents},                    // neither: the documents folder
        {work + "/missing", other, documents},  // a missing one: not the home folder
        {"relative", other, documents},
    };
    for (const auto& c : cases) {
        QString dir = c.dir;
        EXPECT_TRUE(Run(dir, c.homeDir, [&](QDialog& shown) {
            EXPECT_EQ(Selected(shown), c.opensAt) << c.dir;
            EXPECT_EQ(TreeRoot(shown), "/") << c.dir;
            EXPECT_EQ(Box(shown)->currentText(), c.opensAt) << c.dir;
            EXPECT_TRUE(OkButton(shown)->isEnabled());
            EXPECT_EQ(shown.focusWidget(), Tree(shown));
            // Enter accepts from wherever the focus is.
            QTest::keyClick(Tree(shown), Qt::Key_Return);
            return WinUtils::kAnswerFromBox;
        }));
        EXPECT_EQ(dir, c.opensAt + "/") << c.dir;
    }
}

TEST_F(ShellDir, TheStartFolderStaysInViewWhileTheFoldersAroundItLoad) {
    for (int i = 0; i < 300; ++i)
        temp.MakeFolder(QString("work/d%1").arg(i, 3, 10, QChar('0')));
    QString dir = work + "/d250";
    Run(dir, "", [&](QDialog& shown) {
        QTreeView* tree = Tree(shown);
        const auto* model = static_cast<const QFileSystemModel*>(tree->model());
        EXPECT_TRUE(WaitFor([&] { return model->rowCount(model->index(work)) == 300; }));
        QTest::qWait(100);  // the rows are sorted and laid out
        EXPECT_EQ(Selected(shown), work + "/d250");
        EXPECT_TRUE(tree->viewport()->rect().contains(tree->visualRect(tree->currentIndex())));
        return WinUtils::mrCancel;
    });
}

TEST_F(ShellDir, CancelEscapeAndTheCloseBoxLeaveTheFolderAlone) {
    const std::function<void(QDialog&)> ways[] = {
        [](QDialog& shown) { ClickNamed(shown, "btbCancel"); },
        [](QDialog& shown) { QTest::keyClick(Box(shown)->lineEdit(), Qt::Key_Escape); },
        [](QDialog& shown) { shown.close(); },
    };
    for (const auto& way : ways) {
        QString dir = work + "/missing";
        EXPECT_FALSE(Run(dir, home, [&](QDialog& shown) {
            ClickNamed(shown, "spbHome");
            way(shown);
            EXPECT_FALSE(shown.isVisible());
            return WinUtils::kAnswerFromBox;
        }));
        EXPECT_EQ(dir, work + "/missing");
    }
}

TEST_F(ShellDir, OkIsEnabledExactlyWhenTheBoxNamesAnExistingFolder) {
    const QString file = temp.WriteFile("work/file.txt", "x");
    const struct {
        QString text;
        bool enabled;
    } cases[] = {
        {home, true},  {home + "/", true}, {work + "/missing", false},
        {file, false}, {"home", false},    {"", false},
    };
    QString dir = work;
    EXPECT_FALSE(Run(dir, "", [&](QDialog& shown) {
        for (const auto& c : cases) {
            TypeInBox(shown, c.text);
            EXPECT_EQ(OkButton(shown)->isEnabled(), c.enabled) << c.text;
        }
        // Enter does not accept what OK would not.
        QTest::keyClick(Box(shown)->lineEdit(), Qt::Key_Return);
        EXPECT_TRUE(shown.isVisible());
        // Choosing in the tree puts the folder into the box.
        Tree(shown)->setCurrentIndex(
            static_cast<QFileSystemModel*>(Tree(shown)->model())->index(home));
        EXPECT_EQ(Box(shown)->currentText(), home);
        EXPECT_TRUE(OkButton(shown)->isEnabled());
        return WinUtils::mrCancel;
    }));
}

TEST_F(ShellDir, TheHomeButtonShowsOnlyWithAHomeFolderAndGoesThere) {
    QString dir = work;
    Run(dir, "", [&](QDialog& shown) {
        EXPECT_FALSE(shown.findChild<QToolButton*>("spbHome")->isVisible());
        return WinUtils::mrCancel;
    });
    Run(dir, documents, [&](QDialog& shown) {
        auto* button = shown.findChild<QToolButton*>("spbHome");
        EXPECT_TRUE(button->isVisible());
        EXPECT_EQ(button->toolTip(), "Default: " + documents);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(Selected(shown), documents);
        EXPECT_EQ(Box(shown)->currentText(), documents);
        return WinUtils::mrCancel;
    });
}

TEST_F(ShellDir, AMissingHomeFolderIsReportedAndLeavesTheHistory) {
    const QString gone = ExcludeSlash(temp.MakeFolder("gone"));
    QString dir = gone;
    Run(dir, "", [](QDialog& shown) { return TestSupport::Click(shown, "OK"); });
    dir = work;
    Run(dir, "", [](QDialog& shown) { return TestSupport::Click(shown, "OK"); });
    ASSERT_EQ(dialog().History(), QStringList({gone, work}));
    QDir(gone).removeRecursively();
    Run(dir, gone,
        [&](QDialog& shown) {
            ClickNamed(shown, "spbHome");
            EXPECT_EQ(Box(shown)->currentText(), work);  // the first entry left
            return WinUtils::mrCancel;
        },
        {ExpectBox("Directory not found:\r\n" + gone + "!", WinUtils::mtError)});
    EXPECT_EQ(dialog().History(), QStringList({work}));
}

TEST_F(ShellDir, UpGoesToTheFolderAboveAndLeavesARootForTheWholeComputer) {
    temp.MakeFolder("home/Documents/letters");
    QString dir = documents + "/letters";
    Run(dir, "", [&](QDialog& shown) {
        ClickNamed(shown, "spbUp");
        EXPECT_EQ(Selected(shown), documents);
        ClickNamed(shown, "spbMyFiles");
        EXPECT_EQ(TreeRoot(shown), documents);
        EXPECT_EQ(Selected(shown), documents);
        ClickNamed(shown, "spbUp");
        EXPECT_EQ(TreeRoot(shown), "/");
        EXPECT_EQ(Selected(shown), home);
        ClickNamed(shown, "spbComputer");
        EXPECT_EQ(Selected(shown), "/");
        ClickNamed(shown, "spbUp");
        EXPECT_EQ(Selected(shown), "/");
        EXPECT_FALSE(shown.findChild<QToolButton*>("spbNetwork")->isVisible());
        return WinUtils::mrCancel;
    });
}

TEST_F(ShellDir, ARightClickSelectsTheFolderItHitsBeforeTheMenuOpens) {
    QString dir = home;
    Run(dir, "", [&](QDialog& shown) {
        QTreeView* tree = Tree(shown);
        const QModelIndex target = static_cast<QFileSystemModel*>(tree->model())->index(documents);
        const QPoint at = tree->visualRect(target).center();
        QMenu* shownMenu = nullptr;
        QTimer::singleShot(0, [&] {
            shownMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (shownMenu != nullptr) shownMenu->close();
        });
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, tree->viewport()->mapToGlobal(at));
        QApplication::sendEvent(tree->viewport(), &click);
        EXPECT_NE(shownMenu, nullptr);
        EXPECT_EQ(Selected(shown), documents);
        return WinUtils::mrCancel;
    });
}

TEST_F(ShellDir, TheNetworkButtonShowsWhereSharesAppearAndRootsTheTreeThere) {
    const QString gvfs = ExcludeSlash(temp.MakeFolder("run/gvfs"));
    temp.MakeFolder("run/gvfs/smb-share:server=nas,share=data");
    QString dir = work;
    Run(dir, "", [&](QDialog& shown) {
        ClickNamed(shown, "spbNetwork");
        EXPECT_EQ(TreeRoot(shown), gvfs);
        EXPECT_EQ(Box(shown)->currentText(), gvfs);
        return WinUtils::mrCancel;
    });
}

TEST_F(ShellDir, ANestedNameCreatesBothLevelsAndSelectsTheInnerOne) {
    QString dir = work;
    Run(dir, "",
        [&](QDialog& shown) {
            ClickNamed(shown, "spbNew");
            EXPECT_EQ(Selected(shown), work + "/a/b");
            EXPECT_EQ(Box(shown)->currentText(), work + "/a/b");
            return TestSupport::Click(shown, "OK");
        },
        {EnterName("a/b")});
    EXPECT_TRUE(QDir(work + "/a/b").exists());
    EXPECT_EQ(dir, work + "/a/b/");
}

TEST_F(ShellDir, ANewFolderNameThatLeavesTheFolderIsRefused) {
    const QString outside = temp / "outside";
    const struct {
        QString name, shown;
    } cases[] = {
        {outside, outside},
        {"../outside", work + "/../outside"},
        {"x/../../outside", work + "/x/../../outside"},
    };
    for (const auto& c : cases) {
        QString dir = work;
        Run(dir, "",
            [&](QDialog& shown) {
                Trigger(shown, "itmCreate");
                EXPECT_EQ(Selected(shown), work);
                return WinUtils::mrCancel;
            },
            {EnterName(c.name),
             ExpectBox("Could not create directory:\r\n" + c.shown + "!", WinUtils::mtError)});
        EXPECT_FALSE(Exists(outside)) << c.name;
        EXPECT_EQ(TestSupport::Entries(work), QStringList()) << c.name;
    }
}

TEST_F(ShellDir, DeletingDefinitelyCountsFoldersAndFiles) {
    temp.WriteFile("work/old/one.txt", "1");
    temp.WriteFile("work/old/two.txt", "2");
    temp.MakeFolder("work/old/empty");
    QString dir = work + "/old";
    Run(dir, "",
        [&](QDialog& shown) {
            Trigger(shown, "itmDelete");
            EXPECT_EQ(Selected(shown), work);
            EXPECT_TRUE(WaitFor(
                [&] { return Tree(shown)->model()->rowCount(Tree(shown)->currentIndex()) == 0; }));
            return WinUtils::mrCancel;
        },
        {AnswerDelete(work + "/old", "Definitely"),
         ExpectBox("2 directories with 2 files deleted!", WinUtils::mtInformation)});
    EXPECT_FALSE(Exists(work + "/old"));
}

TEST_F(ShellDir, CancellingTheQuestionDeletesNothing) {
    temp.WriteFile("work/old/one.txt", "1");
    QString dir = work + "/old";
    Run(dir, "",
        [&](QDialog& shown) {
            Trigger(shown, "itmDelete");
            EXPECT_EQ(Selected(shown), work + "/old");
            return WinUtils::mrCancel;
        },
        {AnswerDelete(work + "/old", "Cancel")});
    EXPECT_TRUE(Exists(work + "/old/one.txt"));
}

TEST_F(ShellDir, DeletingToTheRecycleBinMovesTheFolderToTheTrash) {
    temp.WriteFile("home/old/one.txt", "1");
    QString dir = home + "/old";
    Run(dir, "",
        [&](QDialog& shown) {
            Trigger(shown, "itmDelete");
            EXPECT_EQ(Selected(shown), home);
            return WinUtils::mrCancel;
        },
        {AnswerDelete(home + "/old", "To recycle bin"),
         ExpectBox(home + "/old moved to Recycle Bin!", WinUtils::mtInformation)});
    EXPECT_FALSE(Exists(home + "/old"));
    EXPECT_EQ(TestSupport::ReadAll(home + "/.local/share/Trash/files/old/one.txt"), "1");
}

TEST_F(ShellDir, AFileThatCannotBeDeletedIsReportedWithoutCounts) {
    temp.WriteFile("work/old/one.txt", "1");
    const TestSupport::ScopedFault fault(Platform::FaultPoint::Delete, EACCES, 1, true);
    QString dir = work + "/old";
    Run(dir, "",
        [&](QDialog& shown) {
            Trigger(shown, "itmDelete");
            return WinUtils::mrCancel;
        },
        {AnswerDelete(work + "/old", "Definitely"),
         ExpectBox("Error deleting directory:\r\n" + work + "/old!", WinUtils::mtError)});
    EXPECT_TRUE(Exists(work + "/old/one.txt"));
}

TEST_F(ShellDir, TheHomeFolderAndTheFoldersAboveItAreNeverDeleted) {
    temp.WriteFile("home/precious.txt", "mine");
    const QString above = ExcludeSlash(temp.Path());
    for (const QString& folder : {home, above}) {
        for (const char* answer : {"Definitely", "To recycle bin"}) {
            QString dir = folder;
            Run(dir, "",
                [&](QDialog& shown) {
                    Trigger(shown, "itmDelete");
                    EXPECT_EQ(Selected(shown), folder);
                    return WinUtils::mrCancel;
                },
                {AnswerDelete(folder, answer),
                 ExpectBox("Error deleting directory:\r\n" + folder + "!", WinUtils::mtError)});
            EXPECT_EQ(TestSupport::ReadAll(home + "/precious.txt"), "mine");
        }
    }
}

TEST_F(ShellDir, AFolderGoneMeanwhileIsNeitherCreatedAgainNorReportedDeleted) {
    const QString gone = ExcludeSlash(temp.MakeFolder("work/gone"));
    QString dir = gone;
    Run(dir, "",
        [&](QDialog& shown) {
            // Another program removes it; the tree still shows it.
            EXPECT_TRUE(QDir(work).rmdir("gone"));
            Trigger(shown, "itmCreate");
            Trigger(shown, "itmDelete");
            EXPECT_EQ(TestSupport::Entries(work), QStringList());
            return WinUtils::mrCancel;
        },
        {EnterName("new"),
         ExpectBox("Could not create directory:\r\n" + gone + "/new!", WinUtils::mtError),
         AnswerDelete(gone, "Definitely"),
         ExpectBox("Error deleting directory:\r\n" + gone + "!", WinUtils::mtError)});
}

TEST_F(ShellDir, TheHistoryKeepsEachFolderOnceInTheOrderFirstChosen) {
    const QString upper = ExcludeSlash(temp.MakeFolder("work/A"));
    const QString lower = ExcludeSlash(temp.MakeFolder("work/a"));
    for (const QString& chosen : {lower, upper, lower + "/", lower, work}) {
        QString dir = chosen;
        EXPECT_TRUE(Run(dir, "", [&](QDialog& shown) {
            TypeInBox(shown, chosen);
            return TestSupport::Click(shown, "OK");
        }));
        EXPECT_EQ(dir, ExcludeSlash(chosen) + "/");
    }
    // Names differ in case on this file system.
    EXPECT_EQ(dialog().History(), QStringList({lower, upper, work}));
    QString dir;
    Run(dir, "", [&](QDialog& shown) {
        EXPECT_EQ(Box(shown)->count(), 3);
        // Choosing an entry goes there.
        Box(shown)->setCurrentIndex(1);
        Q_EMIT Box(shown)->activated(1);
        EXPECT_EQ(Selected(shown), upper);
        return WinUtils::mrCancel;
    });
}

TEST_F(ShellDir, TheFileListShowsTheFilesOfTheSelectedFolder) {
    temp.WriteFile("work/b.txt", "b");
    temp.WriteFile("work/a.txt", "a");
    temp.WriteFile("work/.hidden", "h");
    temp.MakeFolder("work/sub");
    for (const bool hidden : {false, true}) {
        QString dir = work;
        auto* files = dialog().findChild<QCheckBox*>("cbxFiles");
        files->setChecked(true);
        Run(
            dir, "",
            [&](QDialog& shown) {
                QTreeView* list = List(shown);
                EXPECT_TRUE(list->isVisible());
                const QStringList expected = hidden ? QStringList({".hidden", "a.txt", "b.txt"})
                                                    : QStringList({"a.txt", "b.txt"});
                EXPECT_EQ(ListedNames(shown, expected.size()), expected);
                EXPECT_EQ(list->model()->columnCount(), 4);
                const int x = shown.fontMetrics().horizontalAdvance(u'X');
                EXPECT_EQ(list->header()->sectionSize(1), 12 * x);
                EXPECT_EQ(list->header()->sectionSize(2), 15 * x);
                EXPECT_GE(list->header()->sectionSize(3), 17 * x);
                // Hiding the files narrows the window by the list.
                const int wide = shown.width();
                QTest::mouseClick(files, Qt::LeftButton);
                EXPECT_FALSE(list->isVisible());
                EXPECT_LT(shown.width(), wide - list->width() + 20);
                return WinUtils::mrCancel;
            },
            {}, hidden);
    }
}

TEST_F(ShellDir, EntriesOfOneKindShareTheirTypeAndFoldersAreNoDrives) {
    for (const char* name : {"work/a.txt", "work/b.TXT", "work/c.png"})
        temp.WriteFile(name, "x");
    temp.MakeFolder("work/sub");
    auto* files = dialog().findChild<QCheckBox*>("cbxFiles");
    files->setChecked(true);
    QString dir = work;
    Run(dir, "", [&](QDialog& shown) {
        ListedNames(shown, 3);
        const auto* list = static_cast<const QFileSystemModel*>(List(shown)->model());
        EXPECT_EQ(list->type(list->index(work + "/a.txt")),
                  list->type(list->index(work + "/b.TXT")));
        EXPECT_NE(list->type(list->index(work + "/a.txt")),
                  list->type(list->index(work + "/c.png")));
        const auto* tree = static_cast<const QFileSystemModel*>(Tree(shown)->model());
        EXPECT_TRUE(WaitFor([&] { return tree->rowCount(tree->index(work)) == 1; }));
        EXPECT_NE(tree->type(tree->index(work + "/sub")), tree->type(tree->index("/")));
        return WinUtils::mrCancel;
    });
}

TEST_F(ShellDir, InGermanTheCaptionsFitAndTheFileListHasGermanHeaders) {
    UseLanguage("de");
    QString dir = work;
    Run(dir, "", [](QDialog& shown) {
        auto* documentsButton = shown.findChild<QToolButton*>("spbMyFiles");
        EXPECT_EQ(documentsButton->text(), "Eigene Dokumente");
        EXPECT_GE(documentsButton->width(),
                  documentsButton->fontMetrics().horizontalAdvance("Eigene Dokumente"));
        QAbstractItemModel* files = List(shown)->model();
        const QStringList headers = {"Name", "Größe", "Typ", "Änderungsdatum"};
        for (int column = 0; column < headers.size(); ++column)
            EXPECT_EQ(files->headerData(column, Qt::Horizontal).toString(), headers[column]);
        return WinUtils::mrCancel;
    });
}

// A long title (a translated one, say) is read whole: the dialog is as wide as the title's text
// in the title bar's bold font.
TEST_F(ShellDir, ALongTitleWidensTheDialog) {
    const QString title =
        "Quellordner für die Synchronisierung auswählen, aus einem sehr langen Titel heraus";
    TDialogScript script;
    int width = 0, titleWidth = 0;
    script.Then([&](QDialog& shown, const TMessageRecord&) {
        QFont bold = shown.font();
        bold.setBold(true);
        width = shown.width();
        titleWidth = QFontMetrics(bold).horizontalAdvance(title);
        return WinUtils::mrCancel;
    });
    QString dir = work;
    dialog().Execute(title, false, false, true, "", dir);
    EXPECT_GT(width, titleWidth);
}

TEST_F(ShellDir, UpdateReadsTheTreeAnewAndKeepsRootAndSelection) {
    temp.MakeFolder("home/Documents/old");
    QString dir = work;
    Run(dir, "", [&](QDialog& shown) {
        const auto rows = [&] {
            return Tree(shown)->model()->rowCount(Tree(shown)->currentIndex());
        };
        ClickNamed(shown, "spbMyFiles");
        EXPECT_TRUE(WaitFor([&] { return rows() == 1; }));
        temp.MakeFolder("home/Documents/new");
        QTest::keyClick(Tree(shown), Qt::Key_F5);
        EXPECT_EQ(TreeRoot(shown), documents);
        EXPECT_EQ(Selected(shown), documents);
        EXPECT_TRUE(WaitFor([&] { return rows() == 2; }));
        return WinUtils::mrCancel;
    });
}

TEST_F(ShellDir, TheSettingsSectionKeepsHistoryPlaceWidthsAndFileView) {
    IniFiles::TIniFile ini(temp / "settings.ini");
    for (int i = 0; i < 17; ++i)
        ini.WriteString("Folders", "History" + QString::number(i), work + "/" + QString::number(i));
    ini.WriteInteger("Folders", "Top", 120);
    ini.WriteInteger("Folders", "Left", 130);
    ini.WriteInteger("Folders", "Height", 500);
    ini.WriteInteger("Folders", "DirWidth", 420);
    ini.WriteInteger("Folders", "FileWidth", 380);
    ini.WriteBool("Folders", "Fileview", true);
    ini.UpdateFile();
    {
        TShellDirDialog bound;
        bound.LoadFromIni(temp / "settings.ini", "Folders");
        ASSERT_EQ(bound.History().size(), 15);
        EXPECT_EQ(bound.History().last(), work + "/14");
        TDialogScript script;
        script.Then([&](QDialog& shown, const TMessageRecord&) {
            EXPECT_EQ(shown.pos(), QPoint(130, 120));
            EXPECT_EQ(shown.height(), 500);
            EXPECT_EQ(shown.findChild<QWidget*>("PanelRight")->width(), 380);
            EXPECT_EQ(shown.findChild<QWidget*>("PanelLeft")->width(), 420);
            TypeInBox(shown, home);
            return TestSupport::Click(shown, "OK");
        });
        QString dir = work;
        bound.Execute("Select folder", false, true, true, "", dir);
    }
    const IniFiles::TIniFile saved(temp / "settings.ini");
    EXPECT_EQ(saved.ReadString("Folders", "History15", ""), home);
    EXPECT_EQ(saved.ReadString("Folders", "History16", "none"), "none");
    EXPECT_EQ(saved.ReadInteger("Folders", "Top", 0), 120);
    EXPECT_EQ(saved.ReadInteger("Folders", "Left", 0), 130);
    EXPECT_EQ(saved.ReadInteger("Folders", "Height", 0), 500);
    EXPECT_EQ(saved.ReadInteger("Folders", "DirWidth", 0), 420);
    EXPECT_EQ(saved.ReadInteger("Folders", "FileWidth", 0), 380);
    EXPECT_TRUE(saved.ReadBool("Folders", "Fileview", false));
}

TEST_F(ShellDir, OneInstanceKeepsItsPlaceBetweenCallsAndResetsToFiftyFifty) {
    auto instance = TShellDirDialog::CreateInstance();
    EXPECT_EQ(TShellDirDialog::Instance(), instance.get());
    EXPECT_THROW(TShellDirDialog::CreateInstance(), std::logic_error);
    QString dir = work;
    const auto runAt = [&](const std::function<void(QDialog&)>& look) {
        TDialogScript script;
        script.Then([&](QDialog& shown, const TMessageRecord&) {
            look(shown);
            return WinUtils::mrCancel;
        });
        instance->Execute("Select folder", false, false, false, "", dir);
    };
    runAt([](QDialog& shown) { shown.move(300, 200); });
    runAt([](QDialog& shown) { EXPECT_EQ(shown.pos(), QPoint(300, 200)); });
    instance->ResetPosition();
    runAt([](QDialog& shown) { EXPECT_EQ(shown.pos(), QPoint(50, 50)); });
    instance.reset();
    EXPECT_EQ(TShellDirDialog::Instance(), nullptr);
}

}  // namespace
