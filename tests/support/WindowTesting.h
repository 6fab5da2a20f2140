// What the tests of both main windows share: a program started in a temporary home with its
// folder dialog and list editor, the window's controls by name, and ways to act on a window
// as a user does while it runs.
#pragma once

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include <QComboBox>
#include <QString>
#include <QStringList>

#include "DialogScript.h"
#include "FolderList.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

namespace SelectFromListDlg {
class TSelectFromListDialog;
}
namespace ShellDirDlg {
class TShellDirDialog;
}

namespace TestSupport {

// A program's window in a temporary home, its settings file named after the program.
class WindowTest : public ::testing::Test {
  protected:
    WindowTest(const QString& program, Sync::TFolderListLayout layout);
    ~WindowTest() override;
    void SetUp() override;
    void TearDown() override;

    // The program as started with these arguments; the window is made by the test.
    void Start(const QStringList& arguments);

    QString IniName() const;
    QString IniText() const;
    void WriteIni(const QString& text);
    // The stored entries as "folder -> partner", in list order.
    QStringList StoredEntries() const;
    // The stored entry of that folder.
    Sync::TDirInfo StoredEntry(const QString& folder) const;

    template <class T>
    static T* Control(QWidget& form, const char* name) {
        T* control = form.findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    TempFolder temp;
    ScopedEnvironment environment;

  private:
    const QString program_;
    const Sync::TFolderListLayout layout_;
    std::unique_ptr<ShellDirDlg::TShellDirDialog> folderDialog_;
    std::unique_ptr<SelectFromListDlg::TSelectFromListDialog> listEditor_;
};

// Answers the folder dialog: checks its title, types the folder into its path box and presses
// OK.
TDialogStep ChooseFolder(const QString& title, const QString& folder);

// Replaces what the box shows by `text`, typed as a user types it.
void TypeInto(QComboBox* box, const QString& text);

// A click on the button as the window system delivers it: queued, until the window next looks
// at its events.
void PostClick(QWidget* button);

// Calls `action` when the copy engine opens the `n`-th source file below `folder`.
class OnSourceOpened {
  public:
    OnSourceOpened(const QString& folder, int n, std::function<void()> action);
    ~OnSourceOpened();

  private:
    int opened_ = 0;
};

}  // namespace TestSupport
