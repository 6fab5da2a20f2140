// The log list.
#include "LogList.h"

#include <QAbstractListModel>
#include <QFontDatabase>
#include <QTimer>

class TLogList::TModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    QStringList Shown;
    QStringList Waiting;

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(Shown.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Shown.size())
            return QVariant();
        return Shown.at(index.row());
    }

    void Clear() {
        beginResetModel();
        Shown.clear();
        Waiting.clear();
        endResetModel();
    }
    // True when lines were taken in.
    bool TakeWaiting() {
        if (Waiting.isEmpty()) return false;
        const int first = int(Shown.size());
        beginInsertRows(QModelIndex(), first, first + int(Waiting.size()) - 1);
        Shown += Waiting;
        Waiting.clear();
        endInsertRows();
        return true;
    }
};

TLogList::TLogList(QWidget* parent) : QListView(parent), model_(new TModel(this)) {
    setModel(model_);
    setUniformItemSizes(true);  // long logs stay quick
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::NoFocus);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TLogList::Clear() {
    model_->Clear();
}

void TLogList::AddLine(const QString& line) {
    model_->Waiting.append(line);
    if (flushPosted_) return;
    flushPosted_ = true;
    QTimer::singleShot(0, this, [this] { Flush(); });
}

void TLogList::Flush() {
    flushPosted_ = false;
    if (!model_->TakeWaiting()) return;
    const QModelIndex newest = model_->index(model_->rowCount(QModelIndex()) - 1);
    setCurrentIndex(newest);
    scrollTo(newest);
}

QStringList TLogList::Lines() const {
    return model_->Shown + model_->Waiting;
}

int TLogList::Count() const {
    return int(model_->Shown.size() + model_->Waiting.size());
}
