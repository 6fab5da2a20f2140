// The history list (order, bounds, settings file, menu items, mirror lists) and the history
// combo box (focus rule, style, loading and saving).
#include "HListBox.h"

#include <cerrno>
#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCompleter>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include "IniFiles.h"
#include "TempFolder.h"

using HListBox::THistoryCombo;
using HListBox::THistoryList;
using IniFiles::EIniFileError;
using TestSupport::Exists;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

// "entry 1" … "entry <count>", entry 1 the most recent.
QStringList Numbered(int count) {
    QStringList texts;
    for (int i = 1; i <= count; ++i)
        texts.append(QString("entry %1").arg(i));
    return texts;
}

// Adds the texts so that the first one ends up on top.
void AddNewestFirst(THistoryList& list, const QStringList& newestFirst) {
    for (qsizetype i = newestFirst.size() - 1; i >= 0; --i)
        list.AddString(newestFirst[i]);
}

QStringList ActionTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions())
        texts.append(action->isSeparator() ? QString("----") : action->text());
    return texts;
}

// Deletes the menu items the list dropped (they go later, as they may be clicked right now).
void DeleteDroppedItems() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

// ---- order and bounds ----

TEST(HistoryList, AddStringPutsTheTextOnTop) {
    struct Case {
        const char* what;
        QStringList before;
        QString added;
        QStringList expected;
    };
    const Case cases[] = {
        {"an equal entry further down goes, the new spelling stays on top",
         {"a", "b", "c", "c:\\data", "e"},
         "C:\\Data",
         {"C:\\Data", "a", "b", "c", "e"}},
        {"an equal entry on top takes the new spelling", {"x", "y"}, "X", {"X", "y"}},
        {"a new text goes on top", {"x", "y"}, "z", {"z", "x", "y"}},
        {"an empty text is ignored", {"x", "y"}, "", {"x", "y"}},
        {"a 16th entry drops the oldest", Numbered(15), "new", QStringList{"new"} + Numbered(14)},
        {"a repeated entry in a full list drops nothing", Numbered(15), "ENTRY 15",
         QStringList{"ENTRY 15"} + Numbered(14)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        THistoryList list;
        AddNewestFirst(list, c.before);
        ASSERT_EQ(list.Texts(), c.before);
        list.AddString(c.added);
        EXPECT_EQ(list.Texts(), c.expected);
    }
}

TEST(HistoryList, AddStringObjectAttachesToTheNewEntryOnly) {
    QObject first;
    QObject second;
    THistoryList list;
    list.AddStringObject("a", &first);
    list.AddString("b");
    list.AddStringObject("A", &second);
    ASSERT_EQ(list.Texts(), QStringList({"A", "b"}));
    EXPECT_EQ(list.Objects(0), &second);
    EXPECT_EQ(list.Objects(1), nullptr);
}

TEST(HistoryList, RemStringIgnoresCase) {
    THistoryList list;
    AddNewestFirst(list, {"a", "Docs", "c"});
    list.RemString("DOCS");
    EXPECT_EQ(list.Texts(), QStringList({"a", "c"}));
    list.RemString("missing");
    EXPECT_EQ(list.Texts(), QStringList({"a", "c"}));
}

TEST(HistoryList, APathHistoryFollowsTheFileSystemsRuleForCase) {
    THistoryList paths;
    paths.SetCaseSensitivity(Qt::CaseSensitive);  // as on Linux
    paths.AddString("/home/me/Data");
    paths.AddString("/home/me/data");
    EXPECT_EQ(paths.Texts(), QStringList({"/home/me/data", "/home/me/Data"}));
    paths.AddString("/home/me/Data");
    EXPECT_EQ(paths.Texts(), QStringList({"/home/me/Data", "/home/me/data"}));
}

TEST(HistoryList, MaxLenKeepsTheMostRecentAndIgnoresValuesOutOfRange) {
    struct Case {
        int maxLen;
        int expectedMaxLen;
        QStringList expected;
    };
    const Case cases[] = {
        {5, 5, Numbered(5)},    {0, 15, Numbered(12)}, {101, 15, Numbered(12)},
        {-3, 15, Numbered(12)}, {1, 1, Numbered(1)},   {100, 100, Numbered(12)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxLen);
        THistoryList list;
        AddNewestFirst(list, Numbered(12));
        list.SetMaxLen(c.maxLen);
        EXPECT_EQ(list.MaxLen(), c.expectedMaxLen);
        EXPECT_EQ(list.Texts(), c.expected);
    }
}

TEST(HistoryList, AssignListTakesTheFirstLinesAsTheyAre) {
    THistoryList list;
    list.SetMaxLen(3);
    list.AddString("old");
    list.AssignList({"a", "A", "", "d"});
    EXPECT_EQ(list.Texts(), QStringList({"a", "A", ""}));
}

// ---- settings file ----

TEST(HistoryList, SaveToIniWritesNumberedKeysAndALoneBlankAsQuestionMark) {
    TempFolder folder;
    const QString name = folder.WriteFile("h.ini", "[Other]\nKey=kept\n");
    THistoryList list;
    AddNewestFirst(list, {"/home/me", " ", "*.txt;*.doc"});
    list.SaveToIni(name, "Directories", false);
    EXPECT_EQ(ReadAll(name),
              "[Other]\nKey=kept\n[Directories]\nHistory0=/home/me\nHistory1=?\n"
              "History2=*.txt;*.doc\n");
    EXPECT_EQ(list.At(1), " ");  // the entry itself stays a blank

    THistoryList loaded;
    loaded.LoadFromIni(name, "directories");
    EXPECT_EQ(loaded.Texts(), list.Texts());
}

TEST(HistoryList, SavingAShorterListKeepsTheLaterKeysUnlessErased) {
    QByteArray tenKeys = "[Filter]\n";
    for (int i = 0; i < 10; ++i)
        tenKeys += "History" + QByteArray::number(i) + "=old " + QByteArray::number(i) + "\n";
    struct Case {
        bool erase;
        int expectedCount;
    };
    for (const Case& c : {Case{false, 10}, Case{true, 3}}) {
        SCOPED_TRACE(c.erase);
        TempFolder folder;
        const QString name = folder.WriteFile("h.ini", tenKeys);
        THistoryList list;
        AddNewestFirst(list, {"a", "b", "c"});
        list.SaveToIni(name, "Filter", c.erase);

        THistoryList loaded;
        loaded.LoadFromIni(name, "Filter");
        EXPECT_EQ(loaded.Count(), c.expectedCount);
        EXPECT_EQ(loaded.Texts().mid(0, 4),
                  c.erase ? QStringList({"a", "b", "c"}) : QStringList({"a", "b", "c", "old 3"}));
    }
}

TEST(HistoryList, LoadFromIniSkipsMissingAndEmptyKeysAndReadsUpToMaxLen) {
    TempFolder folder;
    const QString name = folder.WriteFile(
        "h.ini", "[S]\nHistory0=first\nHistory2=third\nHistory3=\nHistory4=?\nHistory5=sixth\n");
    THistoryList list;
    list.AddString("replaced");
    list.LoadFromIni(name, "S");
    EXPECT_EQ(list.Texts(), QStringList({"first", "third", " ", "sixth"}));

    list.SetMaxLen(3);  // reads the keys 0 to 2 only
    list.LoadFromIni(name, "S");
    EXPECT_EQ(list.Texts(), QStringList({"first", "third"}));

    list.LoadFromIni(folder / "missing.ini", "S");
    EXPECT_EQ(list.Count(), 0);
}

TEST(HistoryList, SaveToIniRaisesWhenTheFileCannotBeWritten) {
    TempFolder folder;
    THistoryList list;
    list.AddString("a");
    const QString unwritable = folder / "missing/h.ini";
    try {
        list.SaveToIni(unwritable, "S", true);
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const EIniFileError& e) {
        EXPECT_EQ(e.Message(), "Unable to write to " + unwritable);
        EXPECT_EQ(e.ErrorCode, ENOENT);
    }

    // A value the file cannot hold is left out and reported; the others are written.
    const QString name = folder / "h.ini";
    AddNewestFirst(list, {"first", "bad\nline", "third"});
    EXPECT_THROW(list.SaveToIni(name, "S", false), EIniFileError);
    EXPECT_EQ(ReadAll(name), "[S]\nHistory0=first\nHistory2=third\nHistory3=a\n");
}

// ---- menu items and the outside list ----

TEST(HistoryListMenu, CaptionsAreNumberedInUpperCaseHexadecimal) {
    QMenu menu;
    menu.addAction("Open");
    menu.addAction("Save");
    THistoryList list;
    list.SetMaxLen(20);
    AddNewestFirst(list, Numbered(20));
    list.SetMenu(&menu);

    const QStringList texts = ActionTexts(menu);
    ASSERT_EQ(texts.size(), 2 + 1 + 20);
    EXPECT_EQ(texts.mid(0, 3), QStringList({"Open", "Save", "----"}));
    const QStringList entries = texts.mid(3);
    EXPECT_EQ(entries[0], "1 entry 1");
    EXPECT_EQ(entries[8], "9 entry 9");
    EXPECT_EQ(entries[9], "A entry 10");
    EXPECT_EQ(entries[14], "F entry 15");
    EXPECT_EQ(entries[15], "10 entry 16");
    EXPECT_EQ(entries[19], "14 entry 20");
}

TEST(HistoryListMenu, AnAmpersandOfAnEntryIsShownAsItself) {
    QMenu menu;
    THistoryList list;
    list.AddString("Tom & Jerry");
    list.SetMenu(&menu);
    EXPECT_EQ(ActionTexts(menu), QStringList({"1 Tom && Jerry"}));
}

TEST(HistoryListMenu, ItemsFollowTheListAndMoveWithTheMenu) {
    QMenu menu;
    QMenu mirror;
    mirror.addAction("dropped at the first rebuild");
    QMenu other;
    THistoryList list;
    list.SetMenu(&menu);  // an empty menu: no separator
    list.SetMenu2(&mirror);
    list.AddString("b");
    list.AddString("a");
    DeleteDroppedItems();
    EXPECT_EQ(ActionTexts(menu), QStringList({"1 a", "2 b"}));
    EXPECT_EQ(ActionTexts(mirror), ActionTexts(menu));

    list.RemString("A");
    DeleteDroppedItems();
    EXPECT_EQ(ActionTexts(menu), QStringList({"1 b"}));
    EXPECT_EQ(ActionTexts(mirror), QStringList({"1 b"}));

    other.addAction("Own");
    list.SetMenu(&other);
    DeleteDroppedItems();
    EXPECT_TRUE(menu.actions().isEmpty());
    EXPECT_EQ(ActionTexts(other), QStringList({"Own", "----", "1 b"}));

    list.ClearAll();
    DeleteDroppedItems();
    EXPECT_EQ(ActionTexts(other), QStringList({"Own"}));
    EXPECT_TRUE(mirror.actions().isEmpty());
    EXPECT_EQ(list.Count(), 0);
}

TEST(HistoryListMenu, DestroyingTheListTakesItsItemsOut) {
    QMenu menu;
    menu.addAction("Own");
    {
        THistoryList list;
        list.AddString("a");
        list.SetMenu(&menu);
    }
    DeleteDroppedItems();
    EXPECT_EQ(ActionTexts(menu), QStringList({"Own"}));

    // A menu that goes first is no longer touched.
    THistoryList list;
    auto gone = std::make_unique<QMenu>();
    list.SetMenu(gone.get());
    list.SetMenu2(gone.get());
    gone.reset();
    list.AddString("a");
    EXPECT_EQ(list.Menu(), nullptr);
}

TEST(HistoryListMenu, ClickReportsTheEntryIndexToTheIndexHandler) {
    QMenu menu;
    menu.addAction("Own");
    THistoryList list;
    AddNewestFirst(list, Numbered(12));
    list.SetMenu(&menu);
    std::optional<int> clicked;
    QObject* sender = nullptr;
    list.SetOnAutoItemClickIndex([&](QObject* s, int index) {
        sender = s;
        clicked = index;
    });
    QAction* twelfth = menu.actions().at(1 + 1 + 11);
    ASSERT_TRUE(twelfth->text().startsWith("C "));
    twelfth->trigger();
    EXPECT_EQ(clicked, 11);
    EXPECT_EQ(sender, &menu);
    EXPECT_TRUE(twelfth->isChecked());
}

TEST(HistoryListMenu, ClickGivesTheTextHandlerPrecedence) {
    QMenu menu;
    THistoryList list;
    AddNewestFirst(list, {"a", "b", "c"});
    list.SetMenu(&menu);
    QString clickedText;
    bool indexHandlerCalled = false;
    list.SetOnAutoItemClick([&](QObject*, const QString& text) { clickedText = text; });
    list.SetOnAutoItemClickIndex([&](QObject*, int) { indexHandlerCalled = true; });
    menu.actions().at(1)->trigger();
    EXPECT_EQ(clickedText, "b");
    EXPECT_FALSE(indexHandlerCalled);

    // A foreign caption without a number gives no call.
    clickedText.clear();
    menu.actions().at(2)->setText("&Other");
    menu.actions().at(2)->trigger();
    EXPECT_TRUE(clickedText.isEmpty());
}

TEST(HistoryListMenu, AHandlerMayPutTheClickedEntryOnTop) {
    QMenu menu;
    QMenu mirror;
    THistoryList list;
    AddNewestFirst(list, {"a", "b", "c"});
    list.SetMenu2(&mirror);  // filled when the items are made
    list.SetMenu(&menu);
    ASSERT_EQ(ActionTexts(mirror), QStringList({"1 a", "2 b", "3 c"}));
    list.SetOnAutoItemClick([&](QObject*, const QString& text) { list.AddString(text); });
    QPointer<QAction> clicked = mirror.actions().at(2);
    clicked->trigger();  // rebuilds the menus while the item's own click is running
    DeleteDroppedItems();
    EXPECT_TRUE(clicked.isNull());
    EXPECT_EQ(list.Texts(), QStringList({"c", "a", "b"}));
    EXPECT_EQ(ActionTexts(menu), QStringList({"1 c", "2 a", "3 b"}));
    EXPECT_EQ(ActionTexts(mirror), ActionTexts(menu));
}

TEST(HistoryListMenu, RadioItemsKeepTheCheckedEntryAcrossRebuilds) {
    QMenu menu;
    THistoryList list;
    list.SetRadioMenu(true);
    AddNewestFirst(list, {"a", "b", "c"});
    list.SetMenu(&menu);
    const auto checkedTexts = [&] {
        QStringList texts;
        for (const QAction* action : menu.actions())
            if (action->isChecked()) texts.append(action->text());
        return texts;
    };
    menu.actions().at(1)->trigger();
    menu.actions().at(2)->trigger();
    EXPECT_EQ(checkedTexts(), QStringList({"3 c"}));  // one radio item at a time

    list.AddString("new");
    DeleteDroppedItems();
    EXPECT_EQ(checkedTexts(), QStringList({"4 c"}));

    EXPECT_TRUE(list.SelectMenuItem("A"));
    EXPECT_EQ(checkedTexts(), QStringList({"2 a"}));
    EXPECT_FALSE(list.SelectMenuItem("missing"));
    EXPECT_EQ(checkedTexts(), QStringList({"2 a"}));
}

TEST(HistoryList, StrListShowsTheEntriesAfterItsOwnLines) {
    QStringList lines = {"own 1", "own 2"};
    THistoryList list;
    list.AddString("a");
    list.SetStrList(&lines);
    EXPECT_EQ(lines, QStringList({"own 1", "own 2", "a"}));
    list.AddString("b");
    EXPECT_EQ(lines, QStringList({"own 1", "own 2", "b", "a"}));
    list.RemString("a");
    EXPECT_EQ(lines, QStringList({"own 1", "own 2", "b"}));
    list.ClearAll();
    EXPECT_EQ(lines, QStringList({"own 1", "own 2"}));
}

// ---- the combo box ----

namespace {

// A window with the history box and a second field to move the focus to.
class HistoryComboTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        combo_ = new THistoryCombo(&window_);
        other_ = new QLineEdit(&window_);
        layout->addWidget(combo_);
        layout->addWidget(other_);
        other_->setFocus();  // the box starts without the focus
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    }

    // Gives the box the focus, types `typed` after its text when given, and tabs on to the
    // other field.
    void EnterAndLeave(const QString& typed = QString()) {
        combo_->setFocus(Qt::TabFocusReason);
        QApplication::processEvents();
        ASSERT_TRUE(combo_->hasFocus());
        if (!typed.isEmpty()) {
            QTest::keyClick(combo_, Qt::Key_End);  // tabbing in selects the whole text
            QTest::keyClicks(combo_, typed);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QApplication::processEvents();
        ASSERT_TRUE(other_->hasFocus());
    }

    QStringList Items() const {
        QStringList items;
        for (int i = 0; i < combo_->count(); ++i)
            items.append(combo_->itemText(i));
        return items;
    }

    QWidget window_;
    THistoryCombo* combo_ = nullptr;
    QLineEdit* other_ = nullptr;
};

}  // namespace

TEST_F(HistoryComboTest, TypingAndTabbingOutAddsTheTextOnTop) {
    combo_->AssignList({});
    ASSERT_TRUE(combo_->IsSimpleStyle());
    EnterAndLeave("/data/new");
    EXPECT_EQ(Items(), QStringList({"/data/new"}));
    EXPECT_EQ(combo_->currentText(), "/data/new");
    EXPECT_FALSE(combo_->IsSimpleStyle());
    EXPECT_TRUE(combo_->Modified());

    EnterAndLeave("/more");
    EXPECT_EQ(Items(), QStringList({"/data/new/more", "/data/new"}));
}

TEST_F(HistoryComboTest, TypingKeepsTheTypedTextUntilACompletionIsPicked) {
    combo_->AssignList({"*.txt;*.doc", "/data/projects"});
    combo_->setEditText(QString());
    EnterAndLeave("*.txt");
    EXPECT_EQ(combo_->currentText(), "*.txt");
    combo_->setEditText(QString());
    EnterAndLeave("/data");
    EXPECT_EQ(combo_->currentText(), "/data");  // not a longer name from the history

    // The completions are offered in a list; picking one takes it.
    combo_->setFocus(Qt::TabFocusReason);
    combo_->lineEdit()->selectAll();
    QTest::keyClicks(combo_, "/da");
    QAbstractItemView* offered = combo_->completer()->popup();
    ASSERT_TRUE(offered->isVisible());
    EXPECT_EQ(combo_->currentText(), "/da");
    QTest::keyClick(offered, Qt::Key_Down);
    QTest::keyClick(offered, Qt::Key_Return);
    EXPECT_EQ(combo_->currentText(), "/data/projects");
}

TEST_F(HistoryComboTest, LeavingUnchangedStillMovesTheTextOnTop) {
    combo_->AssignList({"a", "b", "c"});
    combo_->setCurrentIndex(2);
    EnterAndLeave();
    EXPECT_EQ(Items(), QStringList({"c", "a", "b"}));
    EXPECT_EQ(combo_->currentText(), "c");
    EXPECT_FALSE(combo_->Modified());
}

TEST_F(HistoryComboTest, LeavingAnEmptyFieldAddsNothing) {
    combo_->AssignList({});
    EnterAndLeave();
    EXPECT_EQ(combo_->count(), 0);
    EXPECT_TRUE(combo_->IsSimpleStyle());
}

TEST_F(HistoryComboTest, ModifiedComparesWithTheTextBeforeTheChange) {
    combo_->AssignList({"Alpha"});
    combo_->setEditText("Alpha");
    EnterAndLeave("2");
    EXPECT_TRUE(combo_->Modified());

    // The text from before the change is kept while the box stays modified.
    combo_->setEditText("ALPHA");
    EnterAndLeave();
    EXPECT_FALSE(combo_->Modified());
    EXPECT_EQ(Items(), QStringList({"ALPHA", "Alpha2"}));
}

TEST_F(HistoryComboTest, WithoutAutoUpdateTheHistoryStays) {
    combo_->SetAutoUpdate(false);
    combo_->AssignList({"a"});
    EnterAndLeave("bc");
    EXPECT_TRUE(combo_->Modified());
    EXPECT_EQ(Items(), QStringList({"a"}));
}

TEST_F(HistoryComboTest, OpeningTheListIsNoFocusLoss) {
    combo_->AssignList({"a", "b"});
    combo_->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    QTest::keyClicks(combo_, "xyz");
    combo_->showPopup();
    QApplication::processEvents();
    combo_->hidePopup();
    QApplication::processEvents();
    EXPECT_EQ(Items(), QStringList({"a", "b"}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QApplication::processEvents();
    EXPECT_EQ(Items(), QStringList({"xyz", "a", "b"}));
}

TEST_F(HistoryComboTest, SimpleWhileEmptyOrReadOnly) {
    EXPECT_FALSE(combo_->IsSimpleStyle());  // as designed until the first UpdateList
    combo_->AddItem("a");
    EXPECT_FALSE(combo_->IsSimpleStyle());

    combo_->SetReadOnly(true);
    EXPECT_TRUE(combo_->IsSimpleStyle());
    combo_->showPopup();
    EXPECT_FALSE(combo_->view()->isVisible());

    combo_->SetReadOnly(false);
    EXPECT_FALSE(combo_->IsSimpleStyle());
    combo_->DeleteItem("A");
    EXPECT_EQ(combo_->count(), 0);
    EXPECT_TRUE(combo_->IsSimpleStyle());
}

TEST_F(HistoryComboTest, UpdateListKeepsTheEditTextAndCarriesTheObjects) {
    QObject attached;
    combo_->setEditText("typed");
    combo_->AddItem("b");
    combo_->AddItemObject("a", &attached);
    EXPECT_EQ(combo_->currentText(), "typed");
    EXPECT_EQ(Items(), QStringList({"a", "b"}));
    EXPECT_EQ(combo_->itemData(0).value<QObject*>(), &attached);
}

TEST_F(HistoryComboTest, FindItemLooksForABeginningWithoutRegardToCase) {
    combo_->AssignList({"/home/me", "C:\\Data\\Docs", "c:\\data"});
    EXPECT_EQ(combo_->FindItem("c:\\DATA"), 1);
    EXPECT_EQ(combo_->FindItem("/HOME"), 0);
    EXPECT_EQ(combo_->FindItem("/tmp"), -1);
}

TEST_F(HistoryComboTest, MaxItemsIsTheHistoryLength) {
    combo_->AssignList(Numbered(12));
    combo_->SetMaxItems(5);
    EXPECT_EQ(combo_->HistoryList().MaxLen(), 5);
    EXPECT_EQ(combo_->HistoryList().Texts(), Numbered(5));
    combo_->SetMaxItems(101);
    EXPECT_EQ(combo_->MaxItems(), 5);
}

// ---- loading and saving the combo box ----

TEST(HistoryComboSettings, LoadFromIniReadsAnExistingFileOnly) {
    TempFolder folder;
    const QString name = folder.WriteFile("p.ini", "[Filter]\nHistory0=*.txt\nHistory1=*.*\n");
    THistoryCombo combo;
    combo.SetMaxItems(15);
    combo.LoadFromIni(name, "Filter");
    EXPECT_EQ(combo.HistoryList().Texts(), QStringList({"*.txt", "*.*"}));
    EXPECT_EQ(combo.count(), 2);

    combo.LoadFromIni(folder / "missing.ini", "Filter");
    EXPECT_EQ(combo.HistoryList().Texts(), QStringList({"*.txt", "*.*"}));
    EXPECT_EQ(combo.IniFileName(), folder / "missing.ini");
    EXPECT_EQ(combo.IniSection(), "Filter");
}

TEST(HistoryComboSettings, DestructionSavesTheSection) {
    TempFolder folder;
    const QString name = folder / "p.ini";  // created by the save
    {
        THistoryCombo combo;
        combo.LoadFromIni(name, "Directories");
        combo.AddItem("/b");
        combo.AddItem("/a");
    }
    EXPECT_EQ(ReadAll(name), "[Directories]\nHistory0=/a\nHistory1=/b\n");

    {
        THistoryCombo combo;
        combo.SetEraseSection(true);
        combo.LoadFromIni(name, "Directories");
        combo.DeleteItem("/a");
    }
    EXPECT_EQ(ReadAll(name), "[Directories]\nHistory0=/b\n");

    {
        THistoryCombo combo;  // without a section nothing is saved
        combo.SetIniFileName(folder / "other.ini");
        combo.AddItem("/c");
    }
    EXPECT_FALSE(Exists(folder / "other.ini"));
}

namespace {

QStringList gWarnings;

void CollectWarning(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtWarningMsg) gWarnings.append(message);
}

}  // namespace

TEST(HistoryComboSettings, SaveHistoryRaisesAndTheDestructorOnlyWarns) {
    TempFolder folder;
    const QString unwritable = folder / "missing/p.ini";
    gWarnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(CollectWarning);
    {
        THistoryCombo combo;
        combo.LoadFromIni(unwritable, "Filter");
        combo.AddItem("*.txt");
        EXPECT_THROW(combo.SaveHistory(), EIniFileError);
    }
    EXPECT_TRUE(gWarnings.isEmpty());  // saved once already: no second attempt
    {
        THistoryCombo combo;
        combo.LoadFromIni(unwritable, "Filter");
        combo.AddItem("*.txt");
    }
    qInstallMessageHandler(previous);
    ASSERT_EQ(gWarnings.size(), 1);
    EXPECT_TRUE(gWarnings[0].contains("Unable to write to " + unwritable))
        << gWarnings[0].toStdString();
}
