// The first-folder box of a main window: an editable box whose list holds the folder entries,
// sorted by name, each with the data of its pair.
#pragma once

#include <QComboBox>
#include <QVariant>

// Setting the text does not change which entry is selected, and adding an entry does not
// select it; selecting an entry shows its name, selecting none empties the text.
class TFolderListBox : public QComboBox {
    Q_OBJECT

  public:
    explicit TFolderListBox(QWidget* parent = nullptr);

    int Count() const { return count(); }
    QString Name(int index) const { return itemText(index); }
    QVariant Data(int index) const { return itemData(index); }
    void SetData(int index, const QVariant& value) { setItemData(index, value); }

    // Adds an entry in name order (without regard to case) and returns its index.
    int AddEntry(const QString& name, const QVariant& value);
    void RemoveEntry(int index);
    // The entry of that folder, compared as the file system compares names and whether or not
    // either ends with a delimiter; -1 when none.
    int FindEntry(const QString& name) const;

    // -1 when no entry is selected.
    int Selected() const { return selected_; }
    void Select(int index);

    void showPopup() override;
    void hidePopup() override;

  Q_SIGNALS:
    void DroppedDown();  // the list is about to open
    void ClosedUp();     // the list has closed (after a choice, if one was made)

  private:
    int selected_ = -1;
};
