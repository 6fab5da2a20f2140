// Combo-box histories through the settings helpers' string-list histories.
#include "ComboHistory.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QStringList>

#include "SettingsHelpers.h"

namespace SettingsHelpers {

namespace {

const QString kHistoryPrefix = QStringLiteral("History");

QStringList ItemTexts(const QComboBox* comboBox) {
    QStringList texts;
    for (int i = 0; i < comboBox->count(); ++i)
        texts.append(comboBox->itemText(i));
    return texts;
}

int CountOrDropDownCount(const QComboBox* comboBox, int count) {
    return count == 0 ? comboBox->maxVisibleItems() : count;
}

// Replaces the items; an editable box keeps its edit text, a fixed list its chosen text where
// that is still an item.
void SetItemTexts(QComboBox* comboBox, const QStringList& texts) {
    if (texts == ItemTexts(comboBox)) return;
    const QSignalBlocker blocker(comboBox);
    const QString text = comboBox->currentText();
    comboBox->clear();
    comboBox->addItems(texts);
    const int index = comboBox->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (comboBox->isEditable()) {
        comboBox->setCurrentIndex(index);
        comboBox->setEditText(text);
    } else if (index >= 0) {
        comboBox->setCurrentIndex(index);
    }
}

}  // namespace

void LoadComboHistory(const QString& fileName, const QString& section, QComboBox* comboBox,
                      int count, bool replaceQuotes) {
    if (!comboBox) return;
    QStringList texts = ItemTexts(comboBox);
    ReadHistory(fileName, section, kHistoryPrefix, texts, CountOrDropDownCount(comboBox, count),
                replaceQuotes);
    SetItemTexts(comboBox, texts);
}

void SaveComboHistory(const QString& fileName, const QString& section, bool erase,
                      QComboBox* comboBox, int count, bool replaceQuotes) {
    if (!comboBox) return;
    WriteHistory(fileName, section, kHistoryPrefix, erase, ItemTexts(comboBox),
                 CountOrDropDownCount(comboBox, count), replaceQuotes);
}

void AddToComboHistory(QComboBox* comboBox, const QString& text) {
    if (!comboBox) return;
    QStringList texts = ItemTexts(comboBox);
    AddToHistory(texts, text, comboBox->maxVisibleItems());
    SetItemTexts(comboBox, texts);
}

}  // namespace SettingsHelpers
