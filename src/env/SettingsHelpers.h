// Small shared operations around the settings files: direct writers that report failure as
// false, numbered history lists in a section, and two list operations.
//
// The combo-box forms (LoadComboHistory, SaveComboHistory, AddToComboHistory) belong to the
// widget layer and live with the history combo box.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "IniFiles.h"

namespace SettingsHelpers {

// Direct writers. Each opens the file, applies one change and writes the file at once
// (atomically, see IniFiles::TIniFile::UpdateFile); true on success, false when the change
// could not be written (folder missing, disk full, a name or value the file cannot hold such
// as one with a line break). They never raise. File and section are created when missing,
// but never the folder.
bool WriteIniString(const QString& fileName, const QString& section, const QString& key,
                    const QString& value);
bool WriteIniInteger(const QString& fileName, const QString& section, const QString& key,
                     int value);
// Stores "1" for true and "0" for false.
bool WriteIniBool(const QString& fileName, const QString& section, const QString& key, bool value);
// Removes every section of that name; true also when there was none (a missing file is then
// not created).
bool EraseIniSection(const QString& fileName, const QString& section);
// The direct writers keep nothing in a cache, and each write reaches the disk before it
// returns (QSaveFile syncs before the rename), so there is nothing left to flush. The answer
// says whether the file is in a state to hold settings: true when it exists as a regular file,
// or does not exist but its folder does (a write could create it); false for an empty name,
// a name that is a folder or something other than a file, and a missing folder.
bool FlushIniFile(const QString& fileName);

// Reads the history of `section`: when the section is missing the
// list keeps its entries; otherwise the list becomes the non-empty values of the keys
// prefix + 0 … prefix + (count - 1), in order, where the prefix is `keyPrefix` or "History"
// when that is empty. With `replaceQuotes` every "#" of a value becomes a double quote.
void ReadHistory(const IniFiles::TIniFile& ini, const QString& section, const QString& keyPrefix,
                 QStringList& list, int count, bool replaceQuotes);
// The same on the named file (a missing file leaves the list unchanged).
void ReadHistory(const QString& fileName, const QString& section, const QString& keyPrefix,
                 QStringList& list, int count, bool replaceQuotes);

// Writes the first min(count, list size) entries as prefix + index, erasing
// the section first when `erase` is set; with `replaceQuotes` every double quote is stored as
// "#". Keys beyond those written stay unless the section is erased. An entry with a line break
// is left out (TIniFile::WriteString), the others are written.
void WriteHistory(IniFiles::TIniFile& ini, const QString& section, const QString& keyPrefix,
                  bool erase, const QStringList& list, int count, bool replaceQuotes);
// The same on the named file, written before it returns; raises EIniFileError when the file
// cannot be written, and after writing the others when an entry was left out.
void WriteHistory(const QString& fileName, const QString& section, const QString& keyPrefix,
                  bool erase, const QStringList& list, int count, bool replaceQuotes);

// Puts `text` on top of a bounded list: an empty text does nothing; an entry
// equal to it without regard to case moves to the top keeping its stored spelling; a new text
// is inserted at the top after the last entry was dropped when the list already held
// `maxCount` or more entries.
void AddToHistory(QStringList& list, const QString& text, int maxCount);

// For a list whose entries own their attached objects: destroys every attached object (an
// exception thrown while destroying it is ignored) and clears the entry's pointer. The entries
// themselves, and entries without object, stay as they are. Never raises.
template <class T>
void FreeListObjects(QList<QPair<QString, T*>>& list) noexcept {
    for (QPair<QString, T*>& entry : list) {
        T* object = entry.second;
        if (!object) continue;
        entry.second = nullptr;  // cleared first: the entry never points at a dead object
        try {
            delete object;
        } catch (...) {  // only a destructor declared noexcept(false) gets here
        }
    }
}

}  // namespace SettingsHelpers
