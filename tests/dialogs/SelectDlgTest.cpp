// The option selection dialog: its button grid, its answers and its text, answered through the
// test seam on a screen of 1920 x 1080 pixels at 96 dots per inch.
#include "SelectDlg.h"

#include <clocale>
#include <cstdlib>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "Catalog.h"
#include "DialogScript.h"

using namespace SelectDlg;
using TestSupport::TDialogScript;
using WinUtils::TMessageRecord;

namespace {

void UseLanguage(const char* code) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    Catalog::UseLanguage(code);
}

QStringList Captions(int count) {
    QStringList captions;
    for (int i = 0; i < count; ++i)
        captions << QString("Answer %1").arg(i);
    return captions;
}

// Asks with `count` caller buttons; `act` answers the shown dialog.
int Ask(int count, const QString& option, int preSelection,
        std::function<int(TSelectDialog&)> act) {
    TDialogScript script;
    script.Then([&](QDialog& shown, const TMessageRecord& record) {
        EXPECT_EQ(record.Kind, WinUtils::dkSelectDialog);
        return act(static_cast<TSelectDialog&>(shown));
    });
    TSelectDialog dialog;
    return dialog.Execute(WinUtils::DefaultMessagePos, "Title", "Question?",
                          WinUtils::mtConfirmation, {}, Captions(count), option, 0, preSelection,
                          QString());
}

int Press(QWidget* target, Qt::Key key) {
    QTest::keyClick(target, key);
    return WinUtils::kAnswerFromBox;
}

int ClickButton(TSelectDialog& dialog, int index) {
    QTest::mouseClick(dialog.Buttons().at(index), Qt::LeftButton);
    return WinUtils::kAnswerFromBox;
}

QCheckBox* OptionBox(TSelectDialog& dialog) {
    return dialog.findChild<QCheckBox*>("cbOption");
}

}  // namespace

TEST(SelectDialog, ButtonsStandThreeToARowWithTheLastRowAlignedRight) {
    UseLanguage("en");
    // Row and column of each button; the cancel button comes last.
    const std::map<int, std::vector<std::pair<int, int>>> grids = {
        {0, {{0, 2}}},
        {2, {{0, 0}, {0, 1}, {0, 2}}},
        {3, {{0, 0}, {0, 1}, {0, 2}, {1, 2}}},
        {7, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 1}, {2, 2}}},
    };
    for (const auto& [count, cells] : grids) {
        Ask(count, QString(), -1, [&, count = count, cells = cells](TSelectDialog& dialog) {
            const QList<QPushButton*>& buttons = dialog.Buttons();
            EXPECT_EQ(buttons.size(), qsizetype(cells.size())) << count;
            EXPECT_EQ(buttons.last()->text(), "Cancel");
            // The cancel button ends in the right column, 10 pixels inside the dialog.
            const QRect cancel = buttons.last()->geometry();
            EXPECT_EQ(cancel.right() + 1, dialog.width() - 10) << count;
            std::set<int> tops;
            for (const QPushButton* button : buttons)
                tops.insert(button->y());
            for (int i = 0; i < buttons.size(); ++i) {
                const QRect r = buttons[i]->geometry();
                EXPECT_EQ(r.size(), cancel.size()) << count << ": " << i;
                const int column = 2 - (cancel.x() - r.x()) / (r.width() + 5);
                const int row = int(std::distance(tops.begin(), tops.find(r.y())));
                EXPECT_EQ(std::pair(row, column), cells[size_t(i)]) << count << ": " << i;
                EXPECT_EQ((cancel.x() - r.x()) % (r.width() + 5), 0) << count << ": " << i;
            }
            return WinUtils::mrCancel;
        });
    }
}

TEST(SelectDialog, AnswersWithTheIndexAndTheCheckBoxFlag) {
    UseLanguage("en");
    const struct {
        const char* what;
        int preSelection;
        std::function<int(TSelectDialog&)> act;
        int expected;
    } cases[] = {
        {"second button, box checked", -1,
         [](TSelectDialog& d) {
             QCheckBox* box = OptionBox(d);
             QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
             return ClickButton(d, 1);
         },
         257},
        {"second button, box unchecked", -1, [](TSelectDialog& d) { return ClickButton(d, 1); }, 1},
        {"cancel, box checked", 256, [](TSelectDialog& d) { return ClickButton(d, 3); }, -1},
        {"Escape, box checked", 256,
         [](TSelectDialog& d) { return Press(d.focusWidget(), Qt::Key_Escape); }, -1},
        {"close button", 257, [](TSelectDialog&) { return WinUtils::kAnswerFromBox; }, -1},
        {"Enter on the preselected second button, box checked", 257,
         [](TSelectDialog& d) { return Press(d.focusWidget(), Qt::Key_Return); }, 257},
        {"Enter with the first button preselected", 0,
         [](TSelectDialog& d) { return Press(d.focusWidget(), Qt::Key_Return); }, 0},
        {"Enter without preselection", -1,
         [](TSelectDialog& d) { return Press(d.focusWidget(), Qt::Key_Return); }, -1},
        {"Enter with a preselection beyond the buttons", 9,
         [](TSelectDialog& d) { return Press(d.focusWidget(), Qt::Key_Return); }, -1},
        {"Space on the check box, then the third button", 0,
         [](TSelectDialog& d) {
             QTest::keyClick(OptionBox(d), Qt::Key_Space);
             return ClickButton(d, 2);
         },
         258},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Ask(3, "Remember the answer", c.preSelection, c.act), c.expected) << c.what;
    }
}

TEST(SelectDialog, PreselectionFocusesAButtonAndSetsTheCheckBox) {
    UseLanguage("en");
    const struct {
        int preSelection;
        int focused;
        bool checked;
    } cases[] = {
        {257, 1, true}, {0, 0, false}, {256, 0, true}, {-1, 2, false}, {5, 2, false},
    };
    for (const auto& c : cases) {
        Ask(2, "Option", c.preSelection, [&](TSelectDialog& dialog) {
            EXPECT_EQ(dialog.focusWidget(), dialog.Buttons().at(c.focused)) << c.preSelection;
            EXPECT_TRUE(dialog.Buttons().at(c.focused)->isDefault()) << c.preSelection;
            EXPECT_EQ(OptionBox(dialog)->isChecked(), c.checked) << c.preSelection;
            return WinUtils::mrCancel;
        });
    }
    // Without a caption there is no check box, and no flag.
    const int answer = Ask(2, QString(), 257, [](TSelectDialog& dialog) {
        EXPECT_FALSE(OptionBox(dialog)->isVisible());
        return ClickButton(dialog, 1);
    });
    EXPECT_EQ(answer, 1);
}

TEST(SelectDialog, BoldTextIsMeasuredAtFiveQuartersAndGetsALineHeightPerLine) {
    UseLanguage("en");
    const QString first = "A first line that is long enough to widen the dialog beyond its buttons";
    const auto labelOf = [&first](const QString& text, TFontStyles styles) {
        QRect geometry;
        TDialogScript script;
        script.Then([&](QDialog& shown, const TMessageRecord&) {
            geometry = shown.findChild<QLabel*>("lbCaption")->geometry();
            return WinUtils::mrCancel;
        });
        TSelectDialog dialog;
        dialog.Execute(WinUtils::DefaultMessagePos, "Title", text, WinUtils::mtCustom, styles, {},
                       QString(), 0, -1, QString());
        return std::pair(geometry, QFontMetrics(dialog.font()).horizontalAdvance(first));
    };
    const auto [twoLines, plainWidth] = labelOf(first + "\r\nshort", fsBold);
    const auto [oneLine, unused] = labelOf(first, fsBold);
    EXPECT_EQ(twoLines.width(), std::lround(plainWidth * 5.0 / 4.0));
    EXPECT_EQ(twoLines.height(), 2 * oneLine.height());
    EXPECT_EQ(twoLines.x(), 50);
    const auto [plain, width] = labelOf(first, {});
    EXPECT_EQ(plain.width(), width);
}

TEST(SelectDialog, ShowsItsTextIconAndTranslatedCancelButton) {
    UseLanguage("de");
    TDialogScript script;
    script.Then([](QDialog& shown, const TMessageRecord& record) {
        EXPECT_EQ(shown.windowTitle(), "Ordner löschen");
        EXPECT_EQ(record.Message, "Delete\r\n/home/me/a");
        EXPECT_EQ(shown.findChild<QLabel*>("lbCaption")->text(), "Delete\n/home/me/a");
        EXPECT_EQ(record.Buttons, QStringList({"Endgültig", "In den Papierkorb", "Abbrechen"}));
        EXPECT_TRUE(shown.findChild<QLabel*>("imgIcon")->isVisible());
        EXPECT_TRUE(shown.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_LE((shown.frameGeometry().center() - QPoint(960, 540)).manhattanLength(), 2);
        return TestSupport::Click(shown, "In den Papierkorb");
    });
    script.Then([](QDialog& shown, const TMessageRecord& record) {
        EXPECT_FALSE(shown.findChild<QLabel*>("imgIcon")->isVisible());
        EXPECT_EQ(record.Buttons, QStringList({"Keep"}));
        return TestSupport::Click(shown, "Keep");
    });
    EXPECT_EQ(ChooseOption("Ordner löschen", "Delete\r\n/home/me/a", WinUtils::mtConfirmation, {},
                           {"Endgültig", "In den Papierkorb"}, QString()),
              1);
    EXPECT_EQ(ChooseOption("Title", "Text", WinUtils::mtCustom, {}, {}, QString(), 0, -1, "Keep"),
              -1);
    UseLanguage("en");
}
