// The text input dialog: one line of text under a description line, with an optional
// drop-down history of earlier entries and an optional character table.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

#include "WinUtils.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace InpText {

// The history keeps as many entries as its drop-down list shows.
constexpr int kHistoryCount = 15;

class TInputTextDialog : public WinUtils::TPlacedDialog {
    Q_OBJECT

  public:
    explicit TInputTextDialog(QWidget* parent = nullptr);
    // Writes the history to the section bound by LoadFromIni; a failure is only logged.
    ~TInputTextDialog() override;

    // Asks for a text at `APos` under the caption `Titel` (empty keeps "Edit text") and the
    // description `Desc`, starting with `AText`; `AFontName` sets the text's font (empty keeps
    // it). On OK `AText` becomes the entered text, which goes on top of the history, and the
    // answer is true; otherwise `AText` stays as it was.
    bool Execute(QPoint APos, const QString& Titel, const QString& Desc, bool ShowTable,
                 const QString& AFontName, QString& AText);

    // Binds the dialog to a settings section and loads the history from it ("History0", ...);
    // the history is written back there when the dialog is destroyed.
    void LoadFromIni(const QString& AIniName, const QString& AIniSection);

    // The history, most recent first, or in alphabetical order when it is shown sorted.
    QStringList History() const;
    void SetHistory(const QStringList& list, bool sorted);

  private:
    void CharTabBtnClick();
    void ShowHistory(QStringList list);

    QLabel* Descriptor = nullptr;
    QComboBox* TextFeld = nullptr;
    QPushButton* CharTabBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QString FIniName;
    QString FIniSection;
    bool FSorted = false;
};

// Asks once with a dialog of its own. With `AList` the drop-down list offers that history
// (sorted when `Sorted`), and on OK `AList` receives the updated history.
bool InputText(QPoint APos, const QString& Titel, const QString& Desc, bool ShowTable,
               const QString& AFontName, QStringList* AList, bool Sorted, QString& AText);

}  // namespace InpText
