// The numbered settings-file histories of SettingsHelpers for the drop-down list of a combo box.
#pragma once

#include <QString>

class QComboBox;

namespace SettingsHelpers {

// SettingsHelpers::ReadHistory with the prefix "History" into the combo box's list; a count of
// 0 means the number of lines the drop-down list shows (maxVisibleItems). The edit text of an
// editable box stays.
void LoadComboHistory(const QString& fileName, const QString& section, QComboBox* comboBox,
                      int count, bool replaceQuotes);
// SettingsHelpers::WriteHistory of the combo box's list with the prefix "History"; a count of 0
// means the drop-down count. Raises IniFiles::EIniFileError when the file cannot be written.
void SaveComboHistory(const QString& fileName, const QString& section, bool erase,
                      QComboBox* comboBox, int count, bool replaceQuotes);
// SettingsHelpers::AddToHistory on the combo box's list, bounded by its drop-down count.
void AddToComboHistory(QComboBox* comboBox, const QString& text);

}  // namespace SettingsHelpers
