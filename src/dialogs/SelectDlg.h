// A question with any number of answer buttons instead of a message box's fixed sets: a text,
// an optional icon and check box, the caller's buttons three to a row and always a final
// cancel button. The answer is the index of the pressed button, plus 256 when the box was
// checked, or -1 for cancel.
#pragma once

#include <QFlags>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "WinUtils.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace SelectDlg {

// Styles of the text.
enum TFontStyle { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
Q_DECLARE_FLAGS(TFontStyles, TFontStyle)

// Added to the answer, and to the preselection, when the check box is checked.
constexpr int kOptionChecked = 256;
// The answer for the cancel button, Escape and the close button.
constexpr int kCancelled = -1;

class TSelectDialog : public WinUtils::TPlacedDialog {
    Q_OBJECT

  public:
    explicit TSelectDialog(QWidget* parent = nullptr);

    // Asks with `AButtons` (may be empty) and a cancel button captioned `DefaultButton` or
    // "Cancel". Lines of `ACaption` end with "\r\n"; `ButtonWidth` is for 96 dots per inch (0
    // means 105). `PreSelection` focuses the button with the index in its low 8 bits and checks
    // the box when it holds 256; -1, or an index beyond the buttons, focuses cancel.
    int Execute(QPoint APos, const QString& ATitle, const QString& ACaption,
                WinUtils::TMsgDlgType DlgType, TFontStyles ACaptionFormat,
                const QStringList& AButtons, const QString& AOption, int ButtonWidth,
                int PreSelection, const QString& DefaultButton);

    // The buttons of the current call in index order, the cancel button last.
    const QList<QPushButton*>& Buttons() const { return FButtons; }
    // The index of the pressed button; -1 before a press and for cancel.
    int Selection() const { return FSelection; }

  private:
    void ClearButtons();
    void ButtonClick(int tag);

    QLabel* imgIcon = nullptr;
    QLabel* lbCaption = nullptr;
    QCheckBox* cbOption = nullptr;
    QList<QPushButton*> FButtons;
    int FSelection = kCancelled;
};

// Asks once with a dialog of its own, centred on the screen.
int ChooseOption(const QString& ATitle, const QString& ACaption, WinUtils::TMsgDlgType DlgType,
                 TFontStyles ACaptionFormat, const QStringList& AButtons, const QString& AOption,
                 int ButtonWidth = 0, int PreSelection = kCancelled,
                 const QString& DefaultButton = QString());

}  // namespace SelectDlg

Q_DECLARE_OPERATORS_FOR_FLAGS(SelectDlg::TFontStyles)
