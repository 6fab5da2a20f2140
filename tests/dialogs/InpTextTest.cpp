// The text input dialog: caption, width, keys, the history and its settings section, and the
// character table, answered through the test seam.
#include "InpText.h"

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "Catalog.h"
#include "DialogScript.h"
#include "TempFolder.h"

using namespace InpText;
using TestSupport::TDialogScript;
using WinUtils::TMessageRecord;
using namespace Qt::StringLiterals;

namespace {

void UseLanguage(const char* code) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    Catalog::UseLanguage(code);
}

QComboBox* Field(QDialog& dialog) {
    return dialog.findChild<QComboBox*>("TextFeld");
}

// Types into the text field after emptying it, then presses `key` there.
int TypeAndPress(QDialog& dialog, const QString& text, Qt::Key key) {
    QLineEdit* edit = Field(dialog)->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, key);
    return WinUtils::kAnswerFromBox;
}

QStringList Numbered(int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << QString("entry %1").arg(i);
    return list;
}

}  // namespace

TEST(InputText, ShowsCaptionDescriptionAndTextAndAnswersEnterAndEscape) {
    UseLanguage("en");
    TDialogScript script;
    script.Then([](QDialog& shown, const TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkInputText);
        EXPECT_EQ(shown.windowTitle(), "Edit text");
        EXPECT_EQ(shown.findChild<QLabel*>("Descriptor")->text(), "File filter:");
        EXPECT_EQ(record.Buttons, QStringList({"OK", "Cancel"}));
        EXPECT_EQ(shown.focusWidget(), Field(shown));
        EXPECT_EQ(Field(shown)->currentText(), "*.txt");
        EXPECT_EQ(shown.frameGeometry().topLeft(), QPoint(200, 300));
        return TypeAndPress(shown, "*.doc", Qt::Key_Return);
    });
    script.Then([](QDialog& shown, const TMessageRecord& record) {
        EXPECT_EQ(shown.windowTitle(), "Add item");
        EXPECT_EQ(record.Buttons, QStringList({"Character table", "OK", "Cancel"}));
        return TypeAndPress(shown, "typed", Qt::Key_Escape);
    });
    QString text = "*.txt";
    EXPECT_TRUE(InputText(QPoint(200, 300), QString(), "File filter:", false, QString(), nullptr,
                          false, text));
    EXPECT_EQ(text, "*.doc");
    EXPECT_FALSE(
        InputText(QPoint(200, 300), "Add item", "Text:", true, QString(), nullptr, false, text));
    EXPECT_EQ(text, "*.doc");
}

TEST(InputText, ALongTextWidensTheDialogAShortOneKeeps311Pixels) {
    const QString longText = QString("a long text, ").repeated(12);
    const QString tooLong = QString("far too long for any screen ").repeated(40);
    const struct {
        QString text;
        int minimum, maximum;
    } cases[] = {
        {"short", 311, 311},
        {longText, 0, 1860},
        {tooLong, 1800, 1860},  // kept on the screen of 1920 pixels
    };
    for (const auto& c : cases) {
        TDialogScript script;
        script.Then([&](QDialog& shown, const TMessageRecord&) {
            QComboBox* field = Field(shown);
            const int textWidth = QFontMetrics(field->font()).horizontalAdvance(c.text);
            EXPECT_GE(shown.width(), c.minimum);
            EXPECT_LE(shown.width(), c.maximum);
            if (c.minimum == 0) {
                EXPECT_GE(shown.width(), textWidth + 20);
                EXPECT_GE(field->lineEdit()->width(), textWidth);  // the whole text shows
            }
            return WinUtils::mrCancel;
        });
        QString text = c.text;
        InputText(WinUtils::DefaultMessagePos, QString(), "Text:", false, QString(), nullptr, false,
                  text);
    }
}

TEST(InputText, TheHistoryKeepsFifteenEntriesMostRecentFirstWithoutEmptyOnes) {
    const QStringList full = Numbered(15);
    QStringList movedUp = full;
    movedUp.move(3, 0);
    QStringList dropped = QStringList{"new"} + full.mid(0, 14);
    const struct {
        const char* what;
        QStringList history;
        QString typed;
        Qt::Key key;
        QStringList expected;
    } cases[] = {
        {"new text into a full list", full, "new", Qt::Key_Return, dropped},
        {"known text in another case", full, "ENTRY 3", Qt::Key_Return, movedUp},
        {"empty text", full, "", Qt::Key_Return, full},
        {"cancelled", full, "new", Qt::Key_Escape, full},
        {"first entry", {}, "one", Qt::Key_Return, {"one"}},
        // A beginning of an entry stays as typed; completion never lengthens it unasked.
        {"beginning of an entry", {"entry long"}, "ent", Qt::Key_Return, {"ent", "entry long"}},
    };
    for (const auto& c : cases) {
        TDialogScript script;
        script.Then([&](QDialog& shown, const TMessageRecord&) {
            EXPECT_EQ(Field(shown)->count(), c.history.size()) << c.what;
            return TypeAndPress(shown, c.typed, c.key);
        });
        QStringList history = c.history;
        QString text;
        const bool accepted = InputText(WinUtils::DefaultMessagePos, "Title", "Text:", false,
                                        QString(), &history, false, text);
        EXPECT_EQ(accepted, c.key == Qt::Key_Return) << c.what;
        EXPECT_EQ(history, c.expected) << c.what;
        if (accepted) {
            EXPECT_EQ(text, c.typed) << c.what;
        }
    }
}

TEST(InputText, AnEmptyHistoryIsAPlainEditFieldAndASortedOneShowsSorted) {
    TDialogScript script;
    script.Then([](QDialog& shown, const TMessageRecord&) {
        EXPECT_EQ(Field(shown)->style()->objectName(), "simpleComboLook");
        return WinUtils::mrCancel;
    });
    script.Then([](QDialog& shown, const TMessageRecord&) {
        EXPECT_NE(Field(shown)->style()->objectName(), "simpleComboLook");
        EXPECT_EQ(Field(shown)->itemText(0), "apple");
        return TypeAndPress(shown, "banana", Qt::Key_Return);
    });
    QString text;
    QStringList history;
    InputText(QPoint(0, 0), "Title", "Text:", false, QString(), &history, true, text);
    history = QStringList{"cherry", "apple"};
    InputText(QPoint(0, 0), "Title", "Text:", false, QString(), &history, true, text);
    EXPECT_EQ(history, QStringList({"apple", "banana", "cherry"}));
}

TEST(InputText, TheHistoryOfASettingsSectionIsLoadedAndWrittenBack) {
    TestSupport::TempFolder temp;
    const QString ini = temp / "test.ini";
    temp.WriteFile("test.ini",
                   "[Other]\nHistory0=kept\n[Texts]\nHistory0=b\nHistory1=\nHistory2=a\n"
                   "History20=old\n");
    {
        TInputTextDialog dialog;
        dialog.LoadFromIni(ini, "Texts");
        EXPECT_EQ(dialog.History(), QStringList({"b", "a"}));
        TDialogScript script;
        script.Then([](QDialog& shown, const TMessageRecord&) {
            return TypeAndPress(shown, "c", Qt::Key_Return);
        });
        QString text;
        EXPECT_TRUE(dialog.Execute(QPoint(0, 0), QString(), "Text:", false, QString(), text));
    }
    EXPECT_EQ(QString::fromUtf8(TestSupport::ReadAll(ini)),
              "[Other]\nHistory0=kept\n[Texts]\nHistory0=c\nHistory1=b\nHistory2=a\n");
}

TEST(InputText, TheCharacterTableAppendsThePickedCharacterButNoControlCode) {
    const struct {
        const char* typed;  // into the table's hexadecimal box
        bool selected;
        QString expected;
    } cases[] = {
        {"e9", true, u"abé"_s},
        {"41", false, "ab"},
        {"0", true, "ab"},
        {"09", true, "ab"},
    };
    for (const auto& c : cases) {
        TDialogScript script;
        script.Then([&](QDialog& input, const TMessageRecord&) {
            QTest::mouseClick(input.findChild<QPushButton*>("CharTabBtn"), Qt::LeftButton);
            EXPECT_EQ(input.focusWidget(), Field(input)) << c.typed;
            EXPECT_EQ(Field(input)->lineEdit()->cursorPosition(),
                      Field(input)->currentText().size());
            return TestSupport::Click(input, "OK");
        });
        script.Then([&](QDialog& table, const TMessageRecord& record) {
            EXPECT_EQ(record.Kind, WinUtils::dkCharTable);
            QTest::keyClicks(table.findChild<QLineEdit*>("leValue"), c.typed);
            return TestSupport::Click(table, c.selected ? "Select" : "Cancel");
        });
        QString text = "ab";
        EXPECT_TRUE(
            InputText(QPoint(0, 0), QString(), "Text:", true, QString(), nullptr, false, text));
        EXPECT_EQ(text, c.expected) << c.typed;
    }
}
