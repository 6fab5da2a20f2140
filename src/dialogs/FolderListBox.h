// The first-folder box of a main window: an editable box whose list shows the folder list, and
// which tells its window whenever the user changes the folder in it.
#pragma once

#include <QComboBox>
#include <QPersistentModelIndex>

namespace Sync {
class TFolderList;
}

// The selected entry is the one the window works on. The box changes it only when asked
// (Select, ShowFolder); a folder the user enters, by any means, is reported by FolderEntered
// first, so that the window can store the values shown into the entry still selected.
class TFolderListBox : public QComboBox {
    Q_OBJECT

  public:
    explicit TFolderListBox(Sync::TFolderList& list, QWidget* parent = nullptr);

    Sync::TFolderList& List() { return list_; }
    const Sync::TFolderList& List() const { return list_; }

    // -1 when no entry is selected.
    int Selected() const;
    // Selects the entry and shows its name; -1 selects none and empties the text.
    void Select(int index);
    // Selects the entry of that folder and shows its name, or, when the folder has none,
    // selects none and shows the folder as it was given.
    void ShowFolder(const QString& folder);

    // Reports a folder typed into the box and not taken in yet (the box may still have the
    // focus), as leaving the box would.
    void TakeTypedFolder();

  Q_SIGNALS:
    // The user has entered another folder than the selected entry's: chosen it in the list,
    // stepped to it with the arrow keys or the wheel, or typed it and left the box (Tab,
    // Return, a click elsewhere). The selection is still the old one.
    void FolderEntered(const QString& folder);

  private:
    // Entries that come or go change neither the selection nor the text; Qt's box would.
    void ListChanging();
    void ListChanged();

    Sync::TFolderList& list_;
    QPersistentModelIndex selected_;  // follows its entry when others come or go
    bool listChanging_ = false;
    QString textBeforeChange_;
};
