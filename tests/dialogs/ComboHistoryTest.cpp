// The settings helpers' histories on the drop-down list of a combo box.
#include "ComboHistory.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include "TempFolder.h"

using namespace SettingsHelpers;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i)
        items.append(combo.itemText(i));
    return items;
}

const QByteArray kFiveKeys =
    "[Filter]\nHistory0=a\nHistory1=say #hi#\nHistory2=c\nHistory3=d\nHistory4=e\n";

}  // namespace

TEST(ComboHistory, LoadReadsTheDropDownCountWhenCountIsZero) {
    TempFolder folder;
    const QString name = folder.WriteFile("h.ini", kFiveKeys);
    struct Case {
        int count;
        bool replaceQuotes;
        QStringList expected;
    };
    const Case cases[] = {
        {0, true, {"a", "say \"hi\"", "c"}},
        {4, false, {"a", "say #hi#", "c", "d"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        QComboBox combo;
        combo.setEditable(true);
        combo.setMaxVisibleItems(3);
        combo.addItem("replaced");
        combo.setEditText("typed");
        LoadComboHistory(name, "Filter", &combo, c.count, c.replaceQuotes);
        EXPECT_EQ(Items(combo), c.expected);
        EXPECT_EQ(combo.currentText(), "typed");
    }
}

TEST(ComboHistory, LoadKeepsTheItemsWhenTheSectionIsMissing) {
    TempFolder folder;
    const QString name = folder.WriteFile("h.ini", kFiveKeys);
    QComboBox combo;
    combo.addItems({"x", "y"});
    LoadComboHistory(name, "Other", &combo, 0, false);
    LoadComboHistory(folder / "missing.ini", "Filter", &combo, 0, false);
    EXPECT_EQ(Items(combo), QStringList({"x", "y"}));
}

TEST(ComboHistory, SaveWritesTheDropDownCountWhenCountIsZero) {
    TempFolder folder;
    const QString name = folder.WriteFile("h.ini", kFiveKeys);
    QComboBox combo;
    combo.addItems({"say \"hi\"", "b", "c"});
    combo.setMaxVisibleItems(2);
    SaveComboHistory(name, "Filter", true, &combo, 0, true);
    EXPECT_EQ(ReadAll(name), "[Filter]\nHistory0=say #hi#\nHistory1=b\n");

    SaveComboHistory(name, "Filter", false, &combo, 3, false);
    EXPECT_EQ(ReadAll(name), "[Filter]\nHistory0=say \"hi\"\nHistory1=b\nHistory2=c\n");
}

TEST(ComboHistory, AddPutsTheTextOnTopOfAListBoundedByTheDropDownCount) {
    struct Case {
        const char* what;
        QString text;
        QStringList expected;
    };
    const Case cases[] = {
        {"a new text drops the last item of a full list", "new", {"new", "a", "b"}},
        {"an equal item moves up in its old spelling", "C", {"c", "a", "b"}},
        {"an empty text does nothing", "", {"a", "b", "c"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QComboBox combo;
        combo.setEditable(true);
        combo.setMaxVisibleItems(3);
        combo.addItems({"a", "b", "c"});
        combo.setEditText("typed");
        AddToComboHistory(&combo, c.text);
        EXPECT_EQ(Items(combo), c.expected);
        EXPECT_EQ(combo.currentText(), "typed");
    }
}
