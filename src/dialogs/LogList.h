// The log list of a main window: the lines a run reports, the newest selected and in view. A
// run adds lines as fast as it works; the list takes them in batches when the window handles
// its events, so that a long run does not spend its time on the list.
#pragma once

#include <QListView>
#include <QStringList>

class TLogList : public QListView {
  public:
    explicit TLogList(QWidget* parent = nullptr);

    void Clear();
    // Shown at the next Flush, or when the window next handles its events.
    void AddLine(const QString& line);
    // Shows the lines added since the last time, selects the newest and scrolls to it.
    void Flush();

    // Every line, including those not shown yet.
    QStringList Lines() const;
    int Count() const;

  private:
    class TModel;
    TModel* model_;
    bool flushPosted_ = false;
};
