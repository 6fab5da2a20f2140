// Message boxes placed where the user is looking, the placement of windows inside the work
// area of a monitor, and measurements of multi-line texts and button pictures.
#pragma once

#include <functional>
#include <initializer_list>

#include <QDialog>
#include <QPoint>
#include <QString>
#include <QStringList>

class QFontMetrics;
class QShowEvent;
class QWidget;

namespace WinUtils {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose,
};

// A set of message-box buttons.
class TMsgDlgButtons {
  public:
    TMsgDlgButtons(std::initializer_list<TMsgDlgBtn> buttons) {
        for (TMsgDlgBtn b : buttons)
            bits_ |= 1u << b;
    }
    bool Contains(TMsgDlgBtn button) const { return (bits_ & (1u << button)) != 0; }

  private:
    unsigned bits_ = 0;
};

// The monitor on which a centred box is shown.
enum TDefaultMonitor { dmDesktop, dmPrimary, dmMainForm, dmActiveForm };

// Results of a box: the button that ended it.
constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
              mrNo = 7, mrClose = 8, mrHelp = 9, mrAll = 12, mrNoToAll = 13, mrYesToAll = 14;

// A point with both coordinates negative asks for a box centred on the screen.
inline const QPoint DefaultMessagePos(-1, -1);

// Shows a box and returns the result of the pressed button; with a time-out (seconds) a box
// that nobody answers closes itself and answers mrOk. Line breaks may be written "\r\n".
int MessageDialogPos(const QString& title, const QString& message, TMsgDlgType type,
                     TMsgDlgButtons buttons, TMsgDlgBtn defaultButton, QPoint pos, int timeout = 0,
                     TDefaultMonitor monitor = dmActiveForm);
// The default button is OK when offered, else Yes when offered, else Retry.
int MessageDialog(const QString& title, const QString& message, TMsgDlgType type,
                  TMsgDlgButtons buttons, QPoint pos = DefaultMessagePos, int timeout = 0,
                  TDefaultMonitor monitor = dmActiveForm);

// Yes/No questions: true only when Yes was pressed.
bool ConfirmDialogPos(QPoint pos, const QString& title, const QString& message,
                      TMsgDlgBtn defaultButton = mbYes, TDefaultMonitor monitor = dmActiveForm);
bool ConfirmDialog(const QString& message, TMsgDlgBtn defaultButton = mbYes,
                   TDefaultMonitor monitor = dmActiveForm);

int InfoDialogPos(QPoint pos, const QString& title, const QString& message,
                  TDefaultMonitor monitor = dmActiveForm);
int InfoDialog(const QString& title, const QString& message,
               TDefaultMonitor monitor = dmActiveForm);
int InfoDialog(const QString& message, TDefaultMonitor monitor = dmActiveForm);

int ErrorDialogPos(QPoint pos, const QString& title, const QString& message,
                   TDefaultMonitor monitor = dmActiveForm);
int ErrorDialogPos(QPoint pos, const QString& message, TDefaultMonitor monitor = dmActiveForm);
int ErrorDialog(const QString& message, TDefaultMonitor monitor = dmActiveForm);

// Which window asks: one of the message boxes above or one of the dialogs of this layer.
enum TDialogKind {
    dkMessageBox,
    dkSelectDialog,
    dkInputText,
    dkCharTable,
    dkSelectFromList,
    dkShellDir,
};

// What a box or dialog asked, for tests.
struct TMessageRecord {
    QString Title{};
    QString Message{};  // a box's text; the text or description line of a dialog
    TMsgDlgType Type = mtCustom;
    TMsgDlgBtn DefaultButton = mbOK;  // boxes only
    QPoint Pos{};
    int Timeout = 0;
    TDialogKind Kind = dkMessageBox;
    QStringList Buttons{};  // the captions of the push buttons shown, row by row, left to right
};

// Tests answer boxes and dialogs through this seam instead of a person: the answerer sees the
// window shown and placed as the user would, may click and type in it, and returns either the
// result it closes the window with or kAnswerFromBox to take the window's own answer after its
// clicks and keys (a window still open then closes as by its close button). For a dialog of
// this layer a returned result closes it as a button with that modal result would, without
// touching its controls. Programs never set it.
constexpr int kAnswerFromBox = -1;
using TMessageAnswerer = std::function<int(QDialog& dialog, const TMessageRecord& record)>;
void SetMessageAnswerer(TMessageAnswerer answerer);  // an empty answerer removes it

// Shows a dialog of this layer modally and returns the modal result it closed with; through
// the answerer when one is set. `record` describes the dialog; its Buttons are filled in here.
int ExecModal(QDialog& dialog, TMessageRecord record);

// Cancels every modal dialog on the screen, as its close button would, so that a window
// waiting for an answer can be closed (a logout, a kill).
void CancelModalDialogs();

// A modal dialog of this layer: it takes its place (PlaceForm) each time it is shown, once it
// knows its size, and closing it by its close button or Escape answers mrCancel.
class TPlacedDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TPlacedDialog(QWidget* parent = nullptr);

    // Where the next show puts the top-left corner; DefaultMessagePos centres the dialog.
    void SetPlacement(QPoint pos) { FPlacement = pos; }
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QPoint FPlacement = DefaultMessagePos;
};

// Corrects a window's requested top-left corner so that it lies inside the work area of the
// monitor nearest to it, with a margin.
void FitToWorkArea(int& x, int& y, int width, int height);
void FitFormToWorkArea(QWidget* window);
// Moves the window to `pos` (its bottom edge there when `above`), kept inside the work area; a
// negative coordinate keeps the current one, both negative centre it on its screen.
void PlaceForm(QWidget* window, QPoint pos, bool above = false);

// Screen points for placements.
QPoint CursorPos(QPoint offset = QPoint());
QPoint BottomLeftPos(const QWidget* control, QPoint offset = QPoint());
QPoint TopRightPos(const QWidget* button, QPoint offset = QPoint());
QPoint BottomRightPos(const QWidget* button, QPoint offset = QPoint());

// The width of the widest line (lines end with "\r\n"); 0 for an empty text.
int MultiLineTextWidth(const QString& text, const QFontMetrics& metrics);
// The number of "\r\n" pairs plus 1.
int LineCount(const QString& text);

// The pixel density of the monitor that shows the window (96 on a plain monitor), and a length
// given for 96 dots per inch scaled to it.
int PixelsPerInch(const QWidget* window);
int ScaledLength(int length, int pixelsPerInch);

// Enlarges the pictures of buttons by dpi / baseDpi from 130 per cent on; ScaleGlyphs walks a
// window's controls from 120 per cent on.
void ScaleGlyph(QWidget* control, int baseDpi, int dpi);
void ScaleGlyphs(QWidget* window, int baseDpi, int dpi);

}  // namespace WinUtils
