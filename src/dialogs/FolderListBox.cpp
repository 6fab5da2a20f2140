// The first-folder box.
#include "FolderListBox.h"

#include <QSignalBlocker>

#include "FileSystemOps.h"
#include "Paths.h"

TFolderListBox::TFolderListBox(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);  // typing changes nothing until the list is used
    // A choice in the list selects that entry; the box's own changes are made silently.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) { selected_ = index; });
}

int TFolderListBox::AddEntry(const QString& name, const QVariant& value) {
    int index = 0;
    while (index < count() && QString::compare(itemText(index), name, Qt::CaseInsensitive) <= 0) {
        ++index;
    }
    const QString text = currentText();
    {
        const QSignalBlocker blocker(this);
        insertItem(index, name, value);
        // Qt selects the first item of an empty box; the selection stays ours.
        const int shown = selected_ >= index ? selected_ + 1 : selected_;
        setCurrentIndex(shown);
        setEditText(text);
    }
    if (selected_ >= index) ++selected_;
    return index;
}

void TFolderListBox::RemoveEntry(int index) {
    if (index < 0 || index >= count()) return;
    const QString text = currentText();
    {
        const QSignalBlocker blocker(this);
        removeItem(index);
        if (selected_ == index) {
            selected_ = -1;
        } else if (selected_ > index) {
            --selected_;
        }
        setCurrentIndex(selected_);
        setEditText(text);
    }
}

int TFolderListBox::FindEntry(const QString& name) const {
    // "/data" and "/data/" name the same folder.
    const QString wanted = FileUtils::IncludeTrailingDelimiter(name);
    for (int i = 0; i < count(); ++i) {
        const QString entry = FileUtils::IncludeTrailingDelimiter(itemText(i));
        if (QString::compare(entry, wanted, Platform::kFileNameCase) == 0) return i;
    }
    return -1;
}

void TFolderListBox::Select(int index) {
    if (index < -1 || index >= count()) index = -1;
    const QSignalBlocker blocker(this);
    selected_ = index;
    setCurrentIndex(index);
    setEditText(index >= 0 ? itemText(index) : QString());
}

void TFolderListBox::showPopup() {
    Q_EMIT DroppedDown();
    QComboBox::showPopup();
}

void TFolderListBox::hidePopup() {
    QComboBox::hidePopup();
    Q_EMIT ClosedUp();
}
