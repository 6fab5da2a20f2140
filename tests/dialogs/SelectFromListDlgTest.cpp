// The list editing dialog, driven as a person would through the test seam: preselection,
// results, editing with its questions and checks, moving, and each entry point.
#include "SelectFromListDlg.h"

#include <clocale>
#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "Catalog.h"
#include "DialogScript.h"

using namespace SelectFromListDlg;
using TestSupport::TDialogScript;
using WinUtils::TMessageRecord;

namespace {

void UseLanguage(const char* code) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    Catalog::UseLanguage(code);
}

QListWidget* List(QDialog& dialog) {
    return dialog.findChild<QListWidget*>("lbxStringList");
}

QStringList Items(QDialog& dialog) {
    QStringList items;
    for (int row = 0; row < List(dialog)->count(); ++row)
        items << List(dialog)->item(row)->text();
    return items;
}

QString Current(QDialog& dialog) {
    const QListWidgetItem* item = List(dialog)->currentItem();
    return item != nullptr && item->isSelected() ? item->text() : QString("(none)");
}

void ClickNamed(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QAbstractButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    EXPECT_TRUE(button->isVisible()) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void ClickItem(QDialog& dialog, int row, Qt::KeyboardModifiers modifiers = {}) {
    QListWidget* list = List(dialog);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers,
                      list->visualItemRect(list->item(row)).center());
}

// Answers the text input dialog with a text.
TestSupport::TDialogStep Enter(const QString& text, const QString& title = QString()) {
    return [text, title](QDialog& input, const TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkInputText);
        if (!title.isEmpty()) {
            EXPECT_EQ(record.Title, title);
        }
        QLineEdit* edit = input.findChild<QComboBox*>("TextFeld")->lineEdit();
        edit->clear();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        return WinUtils::kAnswerFromBox;
    };
}

// Answers a question box.
TestSupport::TDialogStep Answer(int answer, const QString& question) {
    return [answer, question](QDialog&, const TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkMessageBox);
        EXPECT_EQ(record.Message, question);
        return answer;
    };
}

// The arguments of one call; list and text receive the results.
struct TCall {
    TSelectOptions options = {soEdit, soOrder};
    StringUtils::TTextChange convert = StringUtils::tcNone;
    QString defaults{};
    QStringList list{};
    QString text{};
    bool showCancel = true;
    TCheckEntry check{};
};

class SelectFromList : public ::testing::Test {
  protected:
    void SetUp() override { UseLanguage("en"); }

    // Execute with `call` while `act` works in the dialog; the steps after it answer what
    // `act` opens.
    int Run(TCall& call, std::function<int(QDialog&)> act,
            std::vector<TestSupport::TDialogStep> then = {}) {
        TDialogScript script;
        script.Then([&](QDialog& shown, const TMessageRecord& record) {
            EXPECT_EQ(record.Kind, WinUtils::dkSelectFromList);
            return act(shown);
        });
        for (auto& step : then)
            script.Then(step);
        return dialog.Execute(QPoint(100, 100), "Filter", "File filter:", "A hint", call.options, 0,
                              call.convert, call.defaults, call.list, call.text, call.showCancel,
                              call.check);
    }

    TSelectFromListDialog dialog;
};

}  // namespace

TEST_F(SelectFromList, PreselectsWithoutRegardToCaseAndAnswersTheChosenItem) {
    const struct {
        QString text;
        QString preselected;
        QString answer;
    } cases[] = {
        {"*.TXT", "*.txt", "*.txt"},
        {"*.doc", "*.doc", "*.doc"},
        {"*.pdf", "(none)", ""},
        {"", "(none)", ""},
    };
    for (const auto& c : cases) {
        TCall call{.options = {}, .list = {"*.txt", "*.doc", "*.DOC"}, .text = c.text};
        EXPECT_EQ(Run(call,
                      [&](QDialog& d) {
                          EXPECT_EQ(Current(d), c.preselected) << c.text.toStdString();
                          EXPECT_EQ(d.focusWidget(), List(d));
                          QTest::keyClick(List(d), Qt::Key_Return);  // the default button
                          return WinUtils::kAnswerFromBox;
                      }),
                  WinUtils::mrOk);
        EXPECT_EQ(call.text, c.answer) << c.text.toStdString();
    }
}

TEST_F(SelectFromList, MultipleSelectionJoinsTheChosenItemsWithABar) {
    const struct {
        const char* what;
        std::function<void(QDialog&)> choose;
        QString answer;
    } cases[] = {
        {"a and c",
         [](QDialog& d) {
             ClickItem(d, 0);
             ClickItem(d, 2, Qt::ControlModifier);
         },
         "a|c"},
        {"a to c with Shift",
         [](QDialog& d) {
             ClickItem(d, 0);
             ClickItem(d, 2, Qt::ShiftModifier);
         },
         "a|b|c"},
        {"nothing", [](QDialog&) {}, ""},
    };
    for (const auto& c : cases) {
        TCall call{.options = soMulti, .list = {"a", "b", "c"}};
        Run(call, [&](QDialog& d) {
            c.choose(d);
            return TestSupport::Click(d, "OK");
        });
        EXPECT_EQ(call.text, c.answer) << c.what;
    }
}

TEST_F(SelectFromList, ConversionChangesTheCallersListOnlyWhenEditing) {
    // Added and changed items come back in lower case, and so does the answer.
    TCall editing{.convert = StringUtils::tcLower, .list = {"*.TXT"}};
    Run(editing,
        [](QDialog& d) {
            ClickNamed(d, "btnInsert");
            ClickItem(d, 0);
            ClickNamed(d, "btnEdit");
            ClickItem(d, 1);
            return TestSupport::Click(d, "OK");
        },
        {Enter("*.DOC", "Add item"), Enter("*.PDF", "Edit item")});
    EXPECT_EQ(editing.list, QStringList({"*.pdf", "*.doc"}));
    EXPECT_EQ(editing.text, "*.doc");

    TCall choosing{.options = {}, .convert = StringUtils::tcLower, .list = {"*.TXT", "*.DOC"}};
    Run(choosing, [](QDialog& d) {
        ClickItem(d, 1);
        return TestSupport::Click(d, "OK");
    });
    EXPECT_EQ(choosing.list, QStringList({"*.TXT", "*.DOC"}));
    EXPECT_EQ(choosing.text, "*.doc");
}

TEST_F(SelectFromList, CancelDropsEveryChange) {
    const struct {
        const char* what;
        std::function<int(QDialog&)> cancel;
    } cases[] = {
        {"Cancel", [](QDialog& d) { return TestSupport::Click(d, "Cancel"); }},
        {"Escape",
         [](QDialog& d) {
             QTest::keyClick(List(d), Qt::Key_Escape);
             return WinUtils::kAnswerFromBox;
         }},
        {"close button", [](QDialog&) { return WinUtils::kAnswerFromBox; }},
    };
    for (const auto& c : cases) {
        TCall call{.defaults = "*.*", .list = {"a", "b"}, .text = "b"};
        const int result = Run(call,
                               [&](QDialog& d) {
                                   ClickNamed(d, "btnInsert");
                                   ClickItem(d, 0);
                                   ClickNamed(d, "btnDelete");
                                   ClickNamed(d, "DownBtn");
                                   EXPECT_EQ(Items(d), QStringList({"c", "b"}));
                                   return c.cancel(d);
                               },
                               {Enter("c"), Answer(WinUtils::mrYes, "Remove item: \"a\"?")});
        EXPECT_EQ(result, WinUtils::mrCancel) << c.what;
        EXPECT_EQ(call.list, QStringList({"a", "b"})) << c.what;
        EXPECT_EQ(call.text, "b") << c.what;
    }
}

TEST_F(SelectFromList, RemoveAsksAndKeepsACurrentItem) {
    const struct {
        const char* what;
        QStringList list;
        int row;  // clicked before "Remove"; -1 for none
        int answer;
        QString question;
        QStringList left;
        QString current;
    } cases[] = {
        {"middle item",
         {"a", "b", "c"},
         1,
         WinUtils::mrYes,
         "Remove item: \"b\"?",
         {"a", "c"},
         "c"},
        {"last item", {"a", "b", "c"}, 2, WinUtils::mrYes, "Remove item: \"c\"?", {"a", "b"}, "b"},
        {"only item", {"a"}, 0, WinUtils::mrYes, "Remove item: \"a\"?", {}, "(none)"},
        {"answered No", {"a", "b"}, 0, WinUtils::mrNo, "Remove item: \"a\"?", {"a", "b"}, "a"},
        {"no current item", {"a", "b"}, -1, 0, "", {"a", "b"}, "(none)"},
    };
    for (const auto& c : cases) {
        TCall call{.list = c.list};
        std::vector<TestSupport::TDialogStep> then;
        if (!c.question.isEmpty()) then.push_back(Answer(c.answer, c.question));
        Run(
            call,
            [&](QDialog& d) {
                if (c.row >= 0) ClickItem(d, c.row);
                ClickNamed(d, "btnDelete");
                EXPECT_EQ(Items(d), c.left) << c.what;
                EXPECT_EQ(Current(d), c.current) << c.what;
                return TestSupport::Click(d, "OK");
            },
            then);
        EXPECT_EQ(call.list, c.left) << c.what;
    }
}

TEST_F(SelectFromList, RemoveWithMultipleSelectionAsksAlsoWhenNothingIsSelected) {
    TCall call{.options = {soEdit, soMulti}, .list = {"a", "b", "c", "d"}};
    Run(call,
        [](QDialog& d) {
            ClickNamed(d, "btnDelete");  // nothing selected: asked, nothing removed
            EXPECT_EQ(Items(d), QStringList({"a", "b", "c", "d"}));
            ClickItem(d, 0);
            ClickItem(d, 2, Qt::ControlModifier);
            ClickItem(d, 3, Qt::ControlModifier);
            ClickNamed(d, "btnDelete");
            return TestSupport::Click(d, "OK");
        },
        {Answer(WinUtils::mrYes, "Remove all selected items?"),
         Answer(WinUtils::mrYes, "Remove all selected items?")});
    EXPECT_EQ(call.list, QStringList({"b"}));
}

TEST_F(SelectFromList, MoveStopsAtTheEndsAndNeedsACurrentItem) {
    const struct {
        const char* what;
        int row;
        const char* button;
        QStringList after;
    } cases[] = {
        {"up from the middle", 1, "UpBtn", {"b", "a", "c"}},
        {"down from the middle", 1, "DownBtn", {"a", "c", "b"}},
        {"up from the first", 0, "UpBtn", {"a", "b", "c"}},
        {"down from the last", 2, "DownBtn", {"a", "b", "c"}},
        {"down without current item", -1, "DownBtn", {"a", "b", "c"}},
        {"up without current item", -1, "UpBtn", {"a", "b", "c"}},
    };
    for (const auto& c : cases) {
        TCall call{.list = {"a", "b", "c"}};
        Run(call, [&](QDialog& d) {
            if (c.row >= 0) ClickItem(d, c.row);
            ClickNamed(d, c.button);
            EXPECT_EQ(Items(d), c.after) << c.what;
            // The moved item stays current.
            if (c.row >= 0) {
                EXPECT_EQ(Current(d), call.list.at(c.row)) << c.what;
            }
            return TestSupport::Click(d, "OK");
        });
        EXPECT_EQ(call.list, c.after) << c.what;
    }
}

TEST_F(SelectFromList, ResetToDefaultValuesLeavesTheDefaultList) {
    const struct {
        QString defaults;
        int answer;
        QStringList after;
    } cases[] = {
        {"*.*", WinUtils::mrYes, {"*.*"}},
        {"*.*", WinUtils::mrNo, {"a", "b"}},
        {"*.txt, \"my *.doc\" *.pdf", WinUtils::mrYes, {"*.txt", "my *.doc", "*.pdf"}},
    };
    for (const auto& c : cases) {
        TCall call{.defaults = c.defaults, .list = {"a", "b"}};
        Run(call,
            [](QDialog& d) {
                ClickNamed(d, "btnDefault");
                return TestSupport::Click(d, "OK");
            },
            {Answer(c.answer, "Reset to default values?")});
        EXPECT_EQ(call.list, c.after) << c.defaults.toStdString();
    }
}

TEST_F(SelectFromList, TheEntryCheckRefusesATextWithAnErrorAndKeepsTheList) {
    TCall call{.list = {"*.txt"}, .check = [](const QString& text) { return !text.contains('/'); }};
    Run(call,
        [](QDialog& d) {
            ClickNamed(d, "btnInsert");
            ClickItem(d, 0);
            ClickNamed(d, "btnEdit");
            ClickNamed(d, "btnInsert");
            return TestSupport::Click(d, "OK");
        },
        {Enter("a/b"),
         [](QDialog&, const TMessageRecord& record) {
             EXPECT_EQ(record.Type, WinUtils::mtError);
             EXPECT_EQ(record.Message, "Invalid entry: \"a/b\"");
             EXPECT_EQ(record.Pos, WinUtils::CursorPos());
             return WinUtils::mrOk;
         },
         Enter("c/d"), Answer(WinUtils::mrOk, "Invalid entry: \"c/d\""), Enter("*.doc")});
    EXPECT_EQ(call.list, QStringList({"*.txt", "*.doc"}));
}

TEST_F(SelectFromList, DoubleClickEditsWhileEditingAndAcceptsOtherwise) {
    TCall editing{.list = {"a", "b"}};
    Run(editing,
        [](QDialog& d) {
            QListWidget* list = List(d);
            const QPoint at = list->visualItemRect(list->item(1)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            return TestSupport::Click(d, "OK");
        },
        {Enter("B2", "Edit item")});
    EXPECT_EQ(editing.list, QStringList({"a", "B2"}));

    TCall choosing{.options = {}, .list = {"a", "b"}};
    EXPECT_EQ(Run(choosing,
                  [](QDialog& d) {
                      QListWidget* list = List(d);
                      const QPoint at = list->visualItemRect(list->item(1)).center();
                      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
                      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
                      return WinUtils::kAnswerFromBox;
                  }),
              WinUtils::mrOk);
    EXPECT_EQ(choosing.text, "b");
}

TEST_F(SelectFromList, InputDialogsOpenBelowTheirButton) {
    TCall call{.list = {"a"}};
    QPoint expected;
    Run(call,
        [&](QDialog& d) {
            auto* add = d.findChild<QPushButton*>("btnInsert");
            expected = WinUtils::BottomLeftPos(add, QPoint(-100, 10));
            QTest::mouseClick(add, Qt::LeftButton);
            return WinUtils::mrCancel;
        },
        {[&](QDialog&, const TMessageRecord& record) {
            EXPECT_EQ(record.Pos, expected);
            return WinUtils::mrCancel;
        }});
}

TEST_F(SelectFromList, EachCallConfiguresTheDialogAnew) {
    // Everything on: prompt, editing, moving, a default list, a check, a cancel button.
    TCall first{.options = {soPrompt, soEdit, soOrder, soMulti},
                .defaults = "*.*",
                .list = {"one"},
                .check = [](const QString&) { return false; }};
    int editGroupHeight = 0;
    EXPECT_EQ(Run(first,
                  [&](QDialog& d) {
                      editGroupHeight = d.findChild<QGroupBox*>("gbxEdit")->height();
                      return TestSupport::Click(d, "Prompt");
                  }),
              WinUtils::mrYes);

    // Then the plainest call: no prompt, groups, default list, check or multiple selection.
    TCall second{.options = {soEdit}, .list = {"x", "y"}, .text = "y"};
    Run(second,
        [&](QDialog& d) {
            EXPECT_EQ(Items(d), QStringList({"x", "y"}));
            EXPECT_FALSE(d.findChild<QPushButton*>("btnPrompt")->isVisible());
            EXPECT_FALSE(d.findChild<QGroupBox*>("gbxMove")->isVisible());
            EXPECT_FALSE(d.findChild<QPushButton*>("btnDefault")->isVisible());
            EXPECT_LT(d.findChild<QGroupBox*>("gbxEdit")->height(), editGroupHeight);
            EXPECT_EQ(List(d)->selectionMode(), QAbstractItemView::SingleSelection);
            ClickNamed(d, "btnInsert");  // the first call's check refused everything
            return TestSupport::Click(d, "OK");
        },
        {Enter("z")});
    EXPECT_EQ(second.list, QStringList({"x", "y", "z"}));
    EXPECT_EQ(second.text, "z");
}

TEST_F(SelectFromList, WithoutCancelButtonEscapeDoesNothingButTheCloseButtonCancels) {
    TCall call{.options = {}, .list = {"a"}, .showCancel = false};
    EXPECT_EQ(Run(call,
                  [](QDialog& d) {
                      EXPECT_FALSE(d.findChild<QPushButton*>("CancelBtn")->isVisible());
                      QTest::keyClick(List(d), Qt::Key_Escape);
                      EXPECT_TRUE(d.isVisible());
                      return WinUtils::kAnswerFromBox;
                  }),
              WinUtils::mrCancel);
}

TEST_F(SelectFromList, TheEntryPointsPassTheirOptions) {
    // The delimited form: sorted, the duplicate that differs only in case dropped.
    QString listText = "b;a;B";
    {
        TDialogScript script;
        script.Then([](QDialog& d, const TMessageRecord& record) {
            EXPECT_EQ(Items(d), QStringList({"a", "b"}));
            EXPECT_FALSE(d.findChild<QGroupBox*>("gbxEdit")->isVisible());
            EXPECT_EQ(record.Buttons, QStringList({"OK", "Cancel"}));
            return TestSupport::Click(d, "OK");
        });
        EXPECT_TRUE(
            dialog.Select(QPoint(0, 0), "T", "D", QString(), 0, QString(), listText, ';', '"'));
    }
    EXPECT_EQ(listText, "a;b");

    // The prompt form answers Yes for "Prompt".
    QStringList list = {"a", "b"};
    QString text = "B";
    {
        TDialogScript script;
        script.Then([](QDialog& d, const TMessageRecord& record) {
            EXPECT_EQ(record.Buttons, QStringList({"Prompt", "OK", "Cancel"}));
            return TestSupport::Click(d, "Prompt");
        });
        EXPECT_EQ(dialog.Select(QPoint(0, 0), "T", "D", QString(), true, list, text),
                  WinUtils::mrYes);
    }
    EXPECT_EQ(text, "b");

    // Show offers "OK" only and changes nothing.
    {
        TDialogScript script;
        script.Then([](QDialog& d, const TMessageRecord& record) {
            EXPECT_EQ(record.Buttons, QStringList({"OK"}));
            return TestSupport::Click(d, "OK");
        });
        dialog.Show(QPoint(0, 0), "T", "D", "Hint", 2, list);
    }
    EXPECT_EQ(list, QStringList({"a", "b"}));
}

TEST_F(SelectFromList, ColumnsShareTheWidth) {
    QStringList list;
    for (int i = 0; i < 40; ++i)
        list << QString::number(i);
    TDialogScript script;
    script.Then([](QDialog& d, const TMessageRecord&) {
        QListWidget* box = List(d);
        std::set<int> columns;
        for (int row = 0; row < box->count(); ++row)
            columns.insert(box->visualItemRect(box->item(row)).x());
        // Items run down and on in the next column, a third of the width further.
        EXPECT_GE(columns.size(), 2u);
        if (columns.size() >= 2) {
            EXPECT_EQ(*std::next(columns.begin()) - *columns.begin(), box->viewport()->width() / 3);
        }
        return WinUtils::mrCancel;
    });
    dialog.Show(QPoint(0, 0), "T", "D", QString(), 3, list);
}

TEST_F(SelectFromList, IsTranslated) {
    UseLanguage("de");
    TSelectFromListDialog german;
    EXPECT_EQ(german.windowTitle(), "Eintrag aus der Liste auswählen");
    EXPECT_EQ(german.findChild<QGroupBox*>("gbxEdit")->title(), "Einträge bearbeiten");
    EXPECT_EQ(german.findChild<QPushButton*>("btnInsert")->text(), "Hinzufügen");
    EXPECT_EQ(german.findChild<QToolButton*>("UpBtn")->toolTip(), "Eintrag nach oben verschieben");
    TCall call{.list = {"a"}};
    TDialogScript script;
    script.Then([](QDialog& d, const TMessageRecord&) {
        ClickItem(d, 0);
        ClickNamed(d, "btnDelete");
        return WinUtils::mrCancel;
    });
    script.Then(Answer(WinUtils::mrNo, "Möchten Sie den Eintrag \"a\" entfernen?"));
    german.Execute(QPoint(0, 0), "T", "D", QString(), {soEdit}, 0, StringUtils::tcNone, QString(),
                   call.list, call.text, true, {});
}

TEST(SelectFromListInstance, OneInstanceLivesAsLongAsItsOwner) {
    EXPECT_EQ(TSelectFromListDialog::Instance(), nullptr);
    {
        const auto owner = TSelectFromListDialog::CreateInstance();
        EXPECT_EQ(TSelectFromListDialog::Instance(), owner.get());
        EXPECT_THROW(TSelectFromListDialog::CreateInstance(), std::logic_error);
    }
    EXPECT_EQ(TSelectFromListDialog::Instance(), nullptr);
}
