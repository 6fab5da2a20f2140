// The character table: its cells, the hexadecimal value box and its answers, answered through
// the test seam.
#include "CharTableDlg.h"

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "Catalog.h"
#include "DialogScript.h"

using namespace CharTableDlg;
using TestSupport::TDialogScript;
using WinUtils::TMessageRecord;
using namespace Qt::StringLiterals;

namespace {

void UseLanguage(const char* code) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    Catalog::UseLanguage(code);
}

QTableWidget* Grid(QDialog& dialog) {
    return dialog.findChild<QTableWidget*>("CharGrid");
}

QLineEdit* ValueBox(QDialog& dialog) {
    return dialog.findChild<QLineEdit*>("leValue");
}

// Picks a character with `act` answering the table.
int Pick(std::function<int(QDialog&)> act) {
    TDialogScript script;
    script.Then([&](QDialog& shown, const TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkCharTable);
        return act(shown);
    });
    return SelectCharacter(QPoint(100, 100), QString());
}

}  // namespace

TEST(CharTable, TheHexValueBoxMovesTheCurrentCellOnlyForCodesUpToFF) {
    TCharTableDialog dialog;
    QTableWidget* grid = Grid(dialog);
    QLineEdit* value = ValueBox(dialog);
    // Typed: row 5, column 2 of the grid with its headers.
    QTest::keyClicks(value, "41");
    EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()), std::pair(4, 1));
    EXPECT_EQ(dialog.CurrentCode(), 0x41);
    const struct {
        const char* text;
        int code;
    } cases[] = {
        {"100", 0x41}, {"xyz", 0x41}, {"-1", 0x41}, {" 4", 0x41},   {"0x4", 0x41},
        {"", 0x41},    {"ff", 0xFF},  {"0", 0},     {"00e9", 0xE9}, {"7", 7},
    };
    for (const auto& c : cases) {
        value->setText(c.text);
        EXPECT_EQ(dialog.CurrentCode(), c.code) << c.text;
        EXPECT_EQ(std::pair(grid->currentRow(), grid->currentColumn()),
                  std::pair(c.code / 16, c.code % 16))
            << c.text;
        EXPECT_EQ(value->text(), c.text) << "the box keeps what was typed";
    }
    // A cell chosen in the grid shows its code in the box.
    grid->setCurrentCell(2, 10);
    EXPECT_EQ(value->text(), "2A");
}

TEST(CharTable, AnswersTheChosenCodeAndZeroForCancel) {
    const struct {
        const char* what;
        std::function<int(QDialog&)> act;
        int expected;
    } cases[] = {
        {"typed and selected",
         [](QDialog& d) {
             QTest::keyClicks(ValueBox(d), "41");
             return TestSupport::Click(d, "Select");
         },
         0x41},
        {"typed and Enter",
         [](QDialog& d) {
             QTest::keyClicks(ValueBox(d), "e9");
             QTest::keyClick(ValueBox(d), Qt::Key_Return);
             return WinUtils::kAnswerFromBox;
         },
         0xE9},
        {"double click",
         [](QDialog& d) {
             QTableWidget* grid = Grid(d);
             const QRect cell = grid->visualItemRect(grid->item(3, 0));
             QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
             QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
             return WinUtils::kAnswerFromBox;
         },
         0x30},
        {"typed and cancelled",
         [](QDialog& d) {
             QTest::keyClicks(ValueBox(d), "41");
             return TestSupport::Click(d, "Cancel");
         },
         0},
        {"Escape",
         [](QDialog& d) {
             QTest::keyClicks(ValueBox(d), "41");
             QTest::keyClick(ValueBox(d), Qt::Key_Escape);
             return WinUtils::kAnswerFromBox;
         },
         0},
        {"code 0 selected", [](QDialog& d) { return TestSupport::Click(d, "Select"); }, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pick(c.act), c.expected) << c.what;
}

TEST(CharTable, ShowsEveryCodeWithHexadecimalHeadersAndStandInsForControlCodes) {
    UseLanguage("de");
    TCharTableDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "Zeichentabelle");
    EXPECT_EQ(dialog.findChild<QLabel*>("lbValue")->text(), "Hex-Wert:");
    UseLanguage("en");

    QTableWidget* grid = Grid(dialog);
    ASSERT_EQ(grid->rowCount(), 16);
    ASSERT_EQ(grid->columnCount(), 16);
    EXPECT_EQ(grid->horizontalHeaderItem(15)->text(), "0F");
    EXPECT_EQ(grid->verticalHeaderItem(10)->text(), "0A");
    const struct {
        int code;
        QString shown;
        bool dimmed;
    } cases[] = {
        {0x00, "NUL", true}, {0x0A, "LF", true},    {0x1F, "US", true},
        {0x20, " ", false},  {0x41, "A", false},    {0x7F, "DEL", true},
        {0x85, "NEL", true}, {0x9F, "APC", true},   {0xA0, u"\u00A0"_s, false},
        {0xAD, "SHY", true}, {0xE9, u"é"_s, false}, {0xFF, u"ÿ"_s, false},
    };
    for (const auto& c : cases) {
        const QTableWidgetItem* item = grid->item(c.code / 16, c.code % 16);
        EXPECT_EQ(item->text(), c.shown) << c.code;
        EXPECT_EQ(IsStandIn(c.code), c.dimmed) << c.code;
        EXPECT_EQ(item->foreground().color() ==
                      dialog.palette().color(QPalette::Disabled, QPalette::Text),
                  c.dimmed)
            << c.code;
    }

    // The whole grid shows without scrolling, every cell at least 20 pixels.
    dialog.show();
    const QRect last = grid->visualItemRect(grid->item(15, 15));
    EXPECT_TRUE(grid->viewport()->rect().contains(last)) << last.x() << "," << last.y();
    for (int i = 0; i < 16; ++i) {
        EXPECT_GE(grid->rowHeight(i), 20);
        EXPECT_GE(grid->columnWidth(i), 20);
    }
}
