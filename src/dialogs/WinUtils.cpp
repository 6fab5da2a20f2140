// Message boxes, window placement and measurements.
#include "WinUtils.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIcon>
#include <QMainWindow>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QTimer>

#include "Catalog.h"

namespace WinUtils {

namespace {

// Room for the close button and the window icon beside a title.
constexpr int kTitleBarButtonsWidth = 60;

TMessageAnswerer& Answerer() {
    static TMessageAnswerer answerer;
    return answerer;
}

struct TButtonInfo {
    const char* Label;  // a message id of the toolkit domain
    QMessageBox::ButtonRole Role;
    int Result;
};

// In the order the buttons appear.
const TButtonInfo kButtons[] = {
    {"&Yes", QMessageBox::YesRole, mrYes},
    {"&No", QMessageBox::NoRole, mrNo},
    {"OK", QMessageBox::AcceptRole, mrOk},
    {"Cancel", QMessageBox::RejectRole, mrCancel},
    {"&Abort", QMessageBox::RejectRole, mrAbort},
    {"&Retry", QMessageBox::AcceptRole, mrRetry},
    {"&Ignore", QMessageBox::AcceptRole, mrIgnore},
    {"&All", QMessageBox::YesRole, mrAll},
    {"N&o to All", QMessageBox::NoRole, mrNoToAll},
    {"Yes to &All", QMessageBox::YesRole, mrYesToAll},
    {"&Help", QMessageBox::HelpRole, mrHelp},
    {"&Close", QMessageBox::RejectRole, mrClose},
};

QString KindCaption(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return Catalog::dgettext("runtime10", "Warning");
        case mtError:
            return Catalog::dgettext("runtime10", "Error");
        case mtInformation:
            return Catalog::dgettext("runtime10", "Information");
        case mtConfirmation:
            return Catalog::dgettext("runtime10", "Confirm");
        case mtCustom:
            break;
    }
    return QApplication::applicationDisplayName();
}

QMessageBox::Icon KindIcon(TMsgDlgType type) {
    switch (type) {
        case mtWarning:
            return QMessageBox::Warning;
        case mtError:
            return QMessageBox::Critical;
        case mtInformation:
            return QMessageBox::Information;
        case mtConfirmation:
            return QMessageBox::Question;
        case mtCustom:
            break;
    }
    return QMessageBox::NoIcon;
}

QScreen* ScreenOf(const QWidget* widget) {
    return widget != nullptr && widget->screen() != nullptr ? widget->screen()
                                                            : QGuiApplication::primaryScreen();
}

QWidget* MainForm() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMainWindow*>(widget) != nullptr && widget->isVisible()) return widget;
    }
    return QApplication::activeWindow();
}

// The area in which a box centres itself.
QRect CentringArea(TDefaultMonitor monitor) {
    QScreen* primary = QGuiApplication::primaryScreen();
    switch (monitor) {
        case dmDesktop:
            return primary->availableVirtualGeometry();
        case dmPrimary:
            return primary->availableGeometry();
        case dmMainForm:
            return ScreenOf(MainForm())->availableGeometry();
        case dmActiveForm:
            break;
    }
    return ScreenOf(QApplication::activeWindow())->availableGeometry();
}

QScreen* NearestScreen(QPoint point) {
    if (QScreen* screen = QGuiApplication::screenAt(point)) return screen;
    QScreen* nearest = QGuiApplication::primaryScreen();
    qint64 best = -1;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        const qint64 dx = std::max({area.left() - point.x(), 0, point.x() - area.right()});
        const qint64 dy = std::max({area.top() - point.y(), 0, point.y() - area.bottom()});
        const qint64 distance = dx * dx + dy * dy;
        if (best < 0 || distance < best) {
            best = distance;
            nearest = screen;
        }
    }
    return nearest;
}

void Centre(QWidget* window, const QRect& area) {
    const QSize size = window->frameGeometry().size();
    window->move(area.x() + (area.width() - size.width()) / 2,
                 area.y() + (area.height() - size.height()) / 2);
}

// A message box that takes its place when it is shown, after it has found its own size.
class TPlacedMessageBox : public QMessageBox {
  public:
    TPlacedMessageBox(QPoint pos, TDefaultMonitor monitor) : pos_(pos), monitor_(monitor) {}

    void Place() {
        if (pos_.x() < 0 && pos_.y() < 0) {
            Centre(this, CentringArea(monitor_));
            return;
        }
        int x = pos_.x();
        int y = pos_.y();
        FitToWorkArea(x, y, frameGeometry().width(), frameGeometry().height());
        move(x, y);
    }

  protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        Place();
    }

  private:
    QPoint pos_;
    TDefaultMonitor monitor_;
};

// The captions of the push buttons the window shows, row by row from the top, each row from the
// left.
QStringList ShownButtons(const QDialog& dialog) {
    std::vector<std::pair<QPoint, QString>> shown;
    for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->isVisible())
            shown.emplace_back(button->mapTo(&dialog, QPoint()), button->text());
    }
    std::stable_sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) {
        return std::pair(a.first.y(), a.first.x()) < std::pair(b.first.y(), b.first.x());
    });
    QStringList captions;
    for (const auto& [place, caption] : shown)
        captions << caption;
    return captions;
}

}  // namespace

void SetMessageAnswerer(TMessageAnswerer answerer) {
    Answerer() = std::move(answerer);
}

int ExecModal(QDialog& dialog, TMessageRecord record) {
    // A copy: the answerer may set another one while it answers.
    const TMessageAnswerer answerer = Answerer();
    if (!answerer) return dialog.exec();
    dialog.show();
    // Laid out as the user sees it, before the answerer looks.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    record.Buttons = ShownButtons(dialog);
    const int answer = answerer(dialog, record);
    if (answer != kAnswerFromBox) {
        dialog.done(answer);
    } else if (dialog.isVisible()) {
        dialog.reject();
    }
    return dialog.result();
}

void CancelModalDialogs() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog != nullptr && dialog->isVisible() && dialog->isModal()) dialog->reject();
    }
}

TPlacedDialog::TPlacedDialog(QWidget* parent) : QDialog(parent) {}

void TPlacedDialog::reject() {
    done(mrCancel);
}

void TPlacedDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PlaceForm(this, FPlacement);
}

int MessageDialogPos(const QString& title, const QString& message, TMsgDlgType type,
                     TMsgDlgButtons buttons, TMsgDlgBtn defaultButton, QPoint pos, int timeout,
                     TDefaultMonitor monitor) {
    TPlacedMessageBox box(pos, monitor);
    box.setIcon(KindIcon(type));
    box.setWindowTitle(title.isEmpty() ? KindCaption(type) : title);
    box.setTextFormat(Qt::PlainText);  // messages carry file names, never markup
    box.setText(QString(message).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    // A title and a close button, on top of all windows; no minimising or maximising.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                       Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);

    std::vector<std::pair<QAbstractButton*, int>> results;
    for (int b = mbYes; b <= mbClose; ++b) {
        if (!buttons.Contains(TMsgDlgBtn(b))) continue;
        const TButtonInfo& info = kButtons[b];
        QPushButton* button = box.addButton(Catalog::dgettext("runtime10", info.Label), info.Role);
        results.emplace_back(button, info.Result);
        if (b == defaultButton) box.setDefaultButton(button);
    }
    // Escape and the close button answer Cancel, else No, when the box offers one.
    for (TMsgDlgBtn escape : {mbCancel, mbNo}) {
        if (buttons.Contains(escape)) {
            for (const auto& [button, result] : results) {
                if (result == kButtons[escape].Result) box.setEscapeButton(button);
            }
            break;
        }
    }

    // A title wider than the box widens it: the whole title plus 50 pixels fits. Title bars
    // commonly set it in bold beside their buttons, so it is measured so and given their room.
    if (!title.isEmpty()) {
        box.ensurePolished();
        box.adjustSize();
        QFont titleFont = box.font();
        titleFont.setBold(true);
        const int wanted =
            QFontMetrics(titleFont).horizontalAdvance(title) + 50 + kTitleBarButtonsWidth;
        if (box.width() < wanted) {
            if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
                grid->addItem(
                    new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Expanding),
                    grid->rowCount(), 0, 1, grid->columnCount());
            }
        }
    }
    box.ensurePolished();
    box.adjustSize();

    const auto resultOf = [&results](const QAbstractButton* clicked) {
        for (const auto& [button, result] : results) {
            if (button == clicked) return result;
        }
        return mrCancel;  // closed without a button
    };

    // A copy: the answerer may set another one while it answers.
    if (const TMessageAnswerer answerer = Answerer()) {
        box.show();
        const int answer = answerer(box, TMessageRecord{title, message, type, defaultButton, pos,
                                                        timeout, dkMessageBox, ShownButtons(box)});
        box.hide();
        return answer == kAnswerFromBox ? resultOf(box.clickedButton()) : answer;
    }
    if (timeout <= 0) {
        box.exec();
        return resultOf(box.clickedButton());
    }

    // Wait for an answer while the program goes on processing its events; nobody answering
    // counts as OK.
    QEventLoop wait;
    QTimer expiry;
    expiry.setSingleShot(true);
    QObject::connect(&expiry, &QTimer::timeout, &wait, &QEventLoop::quit);
    QObject::connect(&box, &QMessageBox::finished, &wait, &QEventLoop::quit);
    box.setModal(false);
    box.show();
    expiry.start(timeout * 1000);
    wait.exec();
    const QAbstractButton* clicked = box.clickedButton();
    box.close();
    return clicked != nullptr ? resultOf(clicked) : mrOk;
}

int MessageDialog(const QString& title, const QString& message, TMsgDlgType type,
                  TMsgDlgButtons buttons, QPoint pos, int timeout, TDefaultMonitor monitor) {
    const TMsgDlgBtn defaultButton = buttons.Contains(mbOK)    ? mbOK
                                     : buttons.Contains(mbYes) ? mbYes
                                                               : mbRetry;
    return MessageDialogPos(title, message, type, buttons, defaultButton, pos, timeout, monitor);
}

bool ConfirmDialogPos(QPoint pos, const QString& title, const QString& message,
                      TMsgDlgBtn defaultButton, TDefaultMonitor monitor) {
    return MessageDialogPos(title, message, mtConfirmation, {mbYes, mbNo}, defaultButton, pos, 0,
                            monitor) == mrYes;
}

bool ConfirmDialog(const QString& message, TMsgDlgBtn defaultButton, TDefaultMonitor monitor) {
    return ConfirmDialogPos(DefaultMessagePos, QString(), message, defaultButton, monitor);
}

int InfoDialogPos(QPoint pos, const QString& title, const QString& message,
                  TDefaultMonitor monitor) {
    return MessageDialogPos(title, message, mtInformation, {mbOK}, mbOK, pos, 0, monitor);
}

int InfoDialog(const QString& title, const QString& message, TDefaultMonitor monitor) {
    return InfoDialogPos(DefaultMessagePos, title, message, monitor);
}

int InfoDialog(const QString& message, TDefaultMonitor monitor) {
    return InfoDialogPos(DefaultMessagePos, QString(), message, monitor);
}

int ErrorDialogPos(QPoint pos, const QString& title, const QString& message,
                   TDefaultMonitor monitor) {
    return MessageDialogPos(title, message, mtError, {mbOK}, mbOK, pos, 0, monitor);
}

int ErrorDialogPos(QPoint pos, const QString& message, TDefaultMonitor monitor) {
    return ErrorDialogPos(pos, QString(), message, monitor);
}

int ErrorDialog(const QString& message, TDefaultMonitor monitor) {
    return ErrorDialogPos(DefaultMessagePos, QString(), message, monitor);
}

void FitToWorkArea(int& x, int& y, int width, int height) {
    const QRect area = NearestScreen(QPoint(x, y))->availableGeometry();
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    if (x + width > right) x = right - width - 20;
    if (x < area.left()) x = area.left() + 20;
    if (y + height > bottom) y = bottom - height - 30;
    if (y < area.top()) y = area.top() + 20;
}

void FitFormToWorkArea(QWidget* window) {
    const QRect frame = window->frameGeometry();
    int x = frame.x();
    int y = frame.y();
    FitToWorkArea(x, y, frame.width(), frame.height());
    window->move(x, y);
}

void PlaceForm(QWidget* window, QPoint pos, bool above) {
    const QRect frame = window->frameGeometry();
    if (pos.x() < 0 && pos.y() < 0) {
        Centre(window, ScreenOf(QApplication::activeWindow())->availableGeometry());
        return;
    }
    int x = pos.x() < 0 ? frame.x() : pos.x();
    int y = pos.y() < 0 ? frame.y() : pos.y();
    if (above) y -= frame.height();
    FitToWorkArea(x, y, frame.width(), frame.height());
    window->move(x, y);
}

QPoint CursorPos(QPoint offset) {
    return QCursor::pos() + offset;
}

namespace {

// A point given in the control's parent's coordinates, on the screen.
QPoint OnScreen(const QWidget* control, QPoint point) {
    const QWidget* parent = control->parentWidget();
    return parent != nullptr ? parent->mapToGlobal(point) : point;
}

}  // namespace

QPoint BottomLeftPos(const QWidget* control, QPoint offset) {
    const QRect r = control->geometry();
    return OnScreen(control, QPoint(r.x(), r.y() + r.height())) + offset;
}

QPoint TopRightPos(const QWidget* button, QPoint offset) {
    const QRect r = button->geometry();
    return OnScreen(button, QPoint(r.x() + r.width(), r.y())) + offset;
}

QPoint BottomRightPos(const QWidget* button, QPoint offset) {
    const QRect r = button->geometry();
    return OnScreen(button, QPoint(r.x() + r.width(), r.y() + r.height())) + offset;
}

int PixelsPerInch(const QWidget* window) {
    return int(std::lround(ScreenOf(window)->logicalDotsPerInch()));
}

int ScaledLength(int length, int pixelsPerInch) {
    return int(std::lround(double(length) * pixelsPerInch / 96.0));
}

int MultiLineTextWidth(const QString& text, const QFontMetrics& metrics) {
    int widest = 0;
    for (const QString& line : text.split(QLatin1String("\r\n"))) {
        widest = std::max(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

int LineCount(const QString& text) {
    return int(text.count(QLatin1String("\r\n"))) + 1;
}

namespace {

int Percentage(int baseDpi, int dpi) {
    return baseDpi > 0 ? int(std::lround(100.0 * dpi / baseDpi)) : 100;
}

}  // namespace

void ScaleGlyph(QWidget* control, int baseDpi, int dpi) {
    if (Percentage(baseDpi, dpi) < 130) return;
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button == nullptr || button->icon().isNull()) return;
    // Stretch a copy of the picture over a bitmap enlarged by the same factor.
    const QSize size = button->iconSize();
    const QSize enlarged(size.width() * dpi / baseDpi, size.height() * dpi / baseDpi);
    const QPixmap picture = button->icon().pixmap(size);
    button->setIcon(
        QIcon(picture.scaled(enlarged, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    button->setIconSize(enlarged);
}

void ScaleGlyphs(QWidget* window, int baseDpi, int dpi) {
    if (Percentage(baseDpi, dpi) < 120) return;
    for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        ScaleGlyph(control, baseDpi, dpi);
        if (!control->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty()) {
            ScaleGlyphs(control, baseDpi, dpi);
        }
    }
}

}  // namespace WinUtils
