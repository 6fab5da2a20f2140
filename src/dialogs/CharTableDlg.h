// The character table: a grid of the 256 characters with the codes 00 to FF (U+0000 to U+00FF)
// in a chosen font, with hexadecimal headers, from which the user picks one.
#pragma once

#include <QPoint>
#include <QString>

#include "WinUtils.h"

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace CharTableDlg {

constexpr int kCharCount = 256;

// Control codes (00 to 1F, 7F to 9F) have no glyph of their own.
bool IsControlCode(int code);
// What the cell of a code shows: the character, or where the character shows nothing, its short
// name ("NUL", "LF", "DEL", "NEL", "SHY" for the soft hyphen AD), drawn small and dimmed. Such
// names need no glyphs that a font may lack.
QString CellText(int code);
bool IsStandIn(int code);

class TCharTableDialog : public WinUtils::TPlacedDialog {
    Q_OBJECT

  public:
    explicit TCharTableDialog(QWidget* parent = nullptr);

    // The font of the headers: the dialog's own.
    const QString& DefFontName() const { return FDefFontName; }
    // The font of the characters; an empty name keeps the dialog's own.
    const QString& GridFontName() const { return FGridFontName; }
    void SetGridFontName(const QString& name);

    // The code of the current cell: (row - 1) * 16 + (column - 1) in the grid with its headers.
    int CurrentCode() const;
    void SetCurrentCode(int code);

  private:
    void leValueChange(const QString& text);
    void CharGridCurrentChange();

    QTableWidget* CharGrid = nullptr;
    QLineEdit* leValue = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QString FDefFontName;
    QString FGridFontName;
    bool FTyping = false;  // the current cell follows the hexadecimal box
};

// Shows a character table at `APos` and returns the chosen code, or 0 when the user cancelled;
// so the character with code 0 cannot be told apart from cancelling.
int SelectCharacter(QPoint APos, const QString& AFontName);

}  // namespace CharTableDlg
