// The first-folder box.
#include "FolderListBox.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "FolderList.h"

TFolderListBox::TFolderListBox(Sync::TFolderList& list, QWidget* parent)
    : QComboBox(parent), list_(list) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);  // what is typed stays as typed
    // Its width comes from the window, not from measuring every entry of a long list.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(20);
    setModel(&list_);
    // Connected after the box's own handlers, so that these run last.
    connect(&list_, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] { ListChanging(); });
    connect(&list_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { ListChanging(); });
    connect(&list_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { ListChanging(); });
    connect(&list_, &QAbstractItemModel::rowsInserted, this, [this] { ListChanged(); });
    connect(&list_, &QAbstractItemModel::rowsRemoved, this, [this] { ListChanged(); });
    connect(&list_, &QAbstractItemModel::modelReset, this, [this] { ListChanged(); });

    // The list, the arrow keys and the wheel change the current item; so does leaving the box
    // with the exact name of an entry typed.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!listChanging_ && index >= 0 && index != Selected())
            Q_EMIT FolderEntered(itemText(index));
    });
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] { TakeTypedFolder(); });
}

int TFolderListBox::Selected() const {
    return selected_.isValid() ? selected_.row() : -1;
}

void TFolderListBox::Select(int index) {
    if (index < -1 || index >= count()) index = -1;
    const QSignalBlocker blocker(this);
    selected_ = index >= 0 ? QPersistentModelIndex(list_.index(index)) : QPersistentModelIndex();
    setCurrentIndex(index);
    setEditText(index >= 0 ? itemText(index) : QString());
}

void TFolderListBox::ShowFolder(const QString& folder) {
    const int index = list_.Find(folder);
    Select(index);
    if (index < 0) {
        const QSignalBlocker blocker(this);
        setEditText(folder);
    }
}

void TFolderListBox::TakeTypedFolder() {
    const QString text = currentText();
    if (list_.Find(text) != Selected()) Q_EMIT FolderEntered(text);
}

void TFolderListBox::ListChanging() {
    listChanging_ = true;
    textBeforeChange_ = currentText();
}

void TFolderListBox::ListChanged() {
    const QSignalBlocker blocker(this);
    setCurrentIndex(Selected());
    setEditText(textBeforeChange_);
    listChanging_ = false;
}
