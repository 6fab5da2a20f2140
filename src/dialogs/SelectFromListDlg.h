// The list editing dialog: a list of texts to pick one item or several from and, when the
// caller allows it, to add to, change, remove from, reorder and reset to a default list. The
// main windows edit their file filter with it. One instance serves the whole program; each
// call configures it anew, so nothing of one call carries into the next.
#pragma once

#include <functional>
#include <memory>

#include <QFlags>
#include <QPoint>
#include <QString>
#include <QStringList>

#include "StringUtils.h"
#include "WinUtils.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;
class QToolButton;

namespace SelectFromListDlg {

enum TSelectOption {
    soPrompt = 1,  // a "Prompt" button, closing with mrYes
    soEdit = 2,    // add, remove, change and default; the edited list goes back to the caller
    soOrder = 4,   // move items up and down
    soMulti = 8,   // several items can be chosen; the answer joins them with "|"
};
Q_DECLARE_FLAGS(TSelectOptions, TSelectOption)

// Tells whether a text the user entered is acceptable; an empty check accepts every text.
using TCheckEntry = std::function<bool(const QString& text)>;

class TSelectFromListDialog : public WinUtils::TPlacedDialog {
    Q_OBJECT

  public:
    explicit TSelectFromListDialog(QWidget* parent = nullptr);
    ~TSelectFromListDialog() override;

    // The program's one instance: the entry routine creates it after the main window and it
    // lives as long as the returned pointer; Instance() reaches it meanwhile (else nullptr).
    // A second one while it lives is a programming error (std::logic_error).
    static std::unique_ptr<TSelectFromListDialog> CreateInstance();
    static TSelectFromListDialog* Instance();

    // Shows `SList` at `APos` with the caption `Titel`, `Desc` above the list and `Hint`
    // beside it, `ACols` columns (0: one, scrolling down), preselecting the first item equal
    // to `AText` without regard to case. `Default` is the default list as delimited text
    // (items separated by commas or blanks, quoted with double quotes); empty means no
    // "Default" button. `CheckEntry` checks added and changed texts.
    // Answers mrOk, mrYes ("Prompt") or mrCancel. Unless cancelled, the items are converted by
    // `Convert`, `SList` receives them with soEdit, and `AText` the current item, or with
    // soMulti the chosen items joined with "|" (empty when none). Cancel leaves both alone.
    int Execute(QPoint APos, const QString& Titel, const QString& Desc, const QString& Hint,
                TSelectOptions Options, int ACols, StringUtils::TTextChange Convert,
                const QString& Default, QStringList& SList, QString& AText, bool ShowCancel,
                const TCheckEntry& CheckEntry);

    // Execute without conversion; true unless cancelled.
    bool Select(QPoint APos, const QString& Titel, const QString& Desc, const QString& Hint,
                TSelectOptions Options, int ACols, const QString& Default, QStringList& SList,
                QString& AText, bool ShowCancel, const TCheckEntry& CheckEntry);
    // Shows the items of `ListText`, delimited by `ADel` and quoted with `AQuote`, sorted and
    // without duplicates that differ only in case, and writes them back so; true unless
    // cancelled.
    bool Select(QPoint APos, const QString& Titel, const QString& Desc, const QString& Hint,
                int ACols, const QString& Default, QString& ListText, QChar ADel, QChar AQuote);
    // Picks one item, with a "Prompt" button when `Prompt` is set; answers as Execute.
    int Select(QPoint APos, const QString& Titel, const QString& Desc, const QString& Hint,
               bool Prompt, QStringList& SList, QString& AText);
    // Shows the items with an "OK" button only.
    void Show(QPoint APos, const QString& Titel, const QString& Desc, const QString& Hint,
              int ACols, QStringList& SList);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The columns of the list follow its width.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void btnInsertClick();
    void btnEditClick();
    void btnDeleteClick();
    void btnDefaultClick();
    void UpBtnClick();
    void DownBtnClick();
    void lbxStringListDblClick();
    // Asks for a changed text of the current item with the input dialog at `pos`.
    void EditCurrent(QPoint pos);
    // True when the check accepts `text`; else shows why at the mouse cursor.
    bool Accepted(const QString& text);
    void MoveCurrent(int by);
    // The row of the item the user sees chosen, or -1.
    int CurrentRow() const;
    void UpdateColumns();

    QLabel* lbDesc = nullptr;
    QListWidget* lbxStringList = nullptr;
    QGroupBox* gbxEdit = nullptr;
    QPushButton* btnInsert = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnEdit = nullptr;
    QPushButton* btnDefault = nullptr;
    QGroupBox* gbxMove = nullptr;
    QToolButton* UpBtn = nullptr;
    QToolButton* DownBtn = nullptr;
    QLabel* lbHint = nullptr;
    QPushButton* btnPrompt = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    bool FEdit = false;
    int dist = 10;
    int FColumns = 0;
    QString DefDelimitedText;
    TCheckEntry FCheckEntry;
};

}  // namespace SelectFromListDlg

Q_DECLARE_OPERATORS_FOR_FLAGS(SelectFromListDlg::TSelectOptions)
