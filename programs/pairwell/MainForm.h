// The main window of Pairwell: the shared pair window with the first and the second folder,
// "Only duplicate files", and the buttons that start, preview and stop two-way runs.
#pragma once

#include "PairWindow.h"

class TMainForm : public Window::TPairWindow {
    Q_OBJECT

  public:
    // Builds and translates the window, reads the settings and the first parameter.
    explicit TMainForm(QWidget* parent = nullptr);

  private:
    void ShowOptions(const Sync::TDirInfo& info) override;
    void ReadOptions(Sync::TDirInfo& info) const override;
    // Asks whether the folder from the file manager is to be given a second folder.
    bool WantsPartnerFor(const QString& folder) override;

    void bbSyncClick();
    void bbPreviewClick();
    void RunAndReport(bool preview);

    QCheckBox* cbDupl = nullptr;
    QPushButton* bbPreview = nullptr;
    QPushButton* bbSync = nullptr;
};
