// The main window of Mirrowen: the shared pair window with the folder to be synchronized (the
// destination) and the folder it is synchronized with (the source), "Replace only existing
// files", and the one button that starts and stops one-way runs.
#pragma once

#include "PairWindow.h"

class TMainForm : public Window::TPairWindow {
    Q_OBJECT

  public:
    // Mirrowen's option and its one button on the shared window; then the settings and the
    // first parameter are read.
    explicit TMainForm(QWidget* parent = nullptr);

  private:
    // A folder from the file manager gets its source chosen at once, without a question.
    bool WantsPartnerFor(const QString& folder) override;

    void bbCopyClick();

    QCheckBox* cbRepl = nullptr;  // never stored: clear at every start
    QPushButton* bbCopy = nullptr;
};
