// The option selection dialog.
#include "SelectDlg.h"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "Catalog.h"
#include "TranslateComponent.h"

namespace SelectDlg {

using Catalog::N_;

namespace {

constexpr int kColumns = 3;
constexpr int kDefaultButtonWidth = 105;
constexpr int kIconSize = 32;
// Room around the dialog for the window frame and the edges of the screen.
constexpr int kScreenMargin = 60;

// The picture of a message kind; none for mtCustom.
QIcon KindIcon(const QStyle* style, WinUtils::TMsgDlgType type) {
    switch (type) {
        case WinUtils::mtWarning:
            return style->standardIcon(QStyle::SP_MessageBoxWarning);
        case WinUtils::mtError:
            return style->standardIcon(QStyle::SP_MessageBoxCritical);
        case WinUtils::mtInformation:
            return style->standardIcon(QStyle::SP_MessageBoxInformation);
        case WinUtils::mtConfirmation:
            return style->standardIcon(QStyle::SP_MessageBoxQuestion);
        case WinUtils::mtCustom:
            break;
    }
    return QIcon();
}

QFont StyledFont(QFont font, TFontStyles styles) {
    font.setBold(styles.testFlag(fsBold));
    font.setItalic(styles.testFlag(fsItalic));
    font.setUnderline(styles.testFlag(fsUnderline));
    font.setStrikeOut(styles.testFlag(fsStrikeOut));
    return font;
}

}  // namespace

TSelectDialog::TSelectDialog(QWidget* parent) : TPlacedDialog(parent) {
    setObjectName(QStringLiteral("SelectDialog"));
    setWindowTitle(N_("Dialog"));
    // A title and a close button, on top of all windows; no minimising or maximising.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    lbCaption = new QLabel(this);
    lbCaption->setObjectName(QStringLiteral("lbCaption"));
    lbCaption->setTextFormat(Qt::PlainText);  // texts carry file names, never markup
    lbCaption->setWordWrap(true);
    lbCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    cbOption = new QCheckBox(this);
    cbOption->setObjectName(QStringLiteral("cbOption"));
    Catalog::TranslateComponent(this, QStringLiteral("dialogs"));
}

int TSelectDialog::Execute(QPoint APos, const QString& ATitle, const QString& ACaption,
                           WinUtils::TMsgDlgType DlgType, TFontStyles ACaptionFormat,
                           const QStringList& AButtons, const QString& AOption, int ButtonWidth,
                           int PreSelection, const QString& DefaultButton) {
    ClearButtons();
    delete layout();
    SetPlacement(APos);
    setWindowTitle(ATitle);

    const int dpi = WinUtils::PixelsPerInch(this);
    const auto scaled = [dpi](int length) { return WinUtils::ScaledLength(length, dpi); };
    const int textLeft = scaled(50);
    const int gap = scaled(10);
    const int widest = screen()->availableGeometry().width() - kScreenMargin;

    // The caller's buttons, then the cancel button.
    const int n = int(AButtons.size());
    for (int index = 0; index <= n; ++index) {
        const bool cancel = index == n;
        const QString caption = !cancel                   ? AButtons.at(index)
                                : DefaultButton.isEmpty() ? Catalog::dgettext("dialogs", "Cancel")
                                                          : DefaultButton;
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QStringLiteral("Button%1").arg(index));
        const int tag = cancel ? kCancelled : index;
        connect(button, &QPushButton::clicked, this, [this, tag] { ButtonClick(tag); });
        FButtons.append(button);
    }

    // All buttons alike, wide enough for every caption.
    int buttonWidth = scaled(ButtonWidth > 0 ? ButtonWidth : kDefaultButtonWidth);
    int buttonHeight = 0;
    for (const QPushButton* button : FButtons) {
        buttonWidth = std::max(buttonWidth, button->sizeHint().width());
        buttonHeight = std::max(buttonHeight, button->sizeHint().height());
    }

    // The text: bold is measured at 5/4 of the plain width, so that it surely fits.
    const QFont textFont = StyledFont(font(), ACaptionFormat);
    lbCaption->setFont(textFont);
    int textWidth = WinUtils::MultiLineTextWidth(ACaption, QFontMetrics(font()));
    if (ACaptionFormat.testFlag(fsBold)) textWidth = int(std::lround(textWidth * 5.0 / 4.0));
    textWidth = std::max(textWidth, WinUtils::MultiLineTextWidth(ACaption, QFontMetrics(textFont)));
    const int fontHeight = QFontInfo(textFont).pixelSize();
    const int lineHeight =
        std::max(int(std::lround(fontHeight * 1.2)), QFontMetrics(textFont).lineSpacing());
    buttonHeight = std::max(buttonHeight, int(std::lround(fontHeight * 2.4)));
    const int rowPitch = int(std::lround(buttonHeight * 30.0 / 26.0));

    // The client width: room for three buttons, widened for the text and the check box up to
    // the width of the screen, where the text wraps instead.
    const int gridWidth = scaled(70) + kColumns * buttonWidth;
    int clientWidth = std::max(gridWidth, textLeft + textWidth + gap);
    cbOption->setChecked(false);
    cbOption->setVisible(!AOption.isEmpty());
    if (!AOption.isEmpty()) {
        cbOption->setText(AOption);
        clientWidth = std::max(clientWidth, textLeft + cbOption->sizeHint().width() + gap);
        if (PreSelection > 0) cbOption->setChecked((PreSelection & kOptionChecked) != 0);
    }
    clientWidth = std::max(gridWidth, std::min(clientWidth, widest));
    const int labelWidth = clientWidth - textLeft - gap;
    lbCaption->setText(QString(ACaption).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    lbCaption->setFixedSize(labelWidth, std::max(lineHeight * WinUtils::LineCount(ACaption),
                                                 lbCaption->heightForWidth(labelWidth)));
    cbOption->setFixedWidth(clientWidth - textLeft - gap);

    const QIcon icon = KindIcon(style(), DlgType);
    imgIcon->setVisible(!icon.isNull());
    imgIcon->setFixedSize(scaled(kIconSize), scaled(kIconSize));
    imgIcon->setPixmap(icon.pixmap(imgIcon->size(), devicePixelRatioF()));

    auto* rows = new QVBoxLayout(this);
    rows->setSizeConstraint(QLayout::SetFixedSize);
    rows->setSpacing(0);
    rows->setContentsMargins(scaled(5), scaled(10), gap, scaled(5) + rowPitch - buttonHeight);

    auto* top = new QHBoxLayout;
    top->setSpacing(0);
    if (imgIcon->isVisibleTo(this)) {
        auto* iconColumn = new QVBoxLayout;
        iconColumn->setContentsMargins(0, scaled(5), 0, 0);
        iconColumn->addWidget(imgIcon);
        iconColumn->addStretch();
        top->addLayout(iconColumn);
        top->addSpacing(textLeft - scaled(5) - imgIcon->width());
    } else {
        top->addSpacing(textLeft - scaled(5));
    }
    top->addWidget(lbCaption, 0, Qt::AlignTop);
    rows->addLayout(top);

    if (cbOption->isVisibleTo(this)) {
        rows->addSpacing(scaled(10));
        auto* option = new QHBoxLayout;
        option->setSpacing(0);
        option->addSpacing(textLeft - scaled(5));
        option->addWidget(cbOption);
        rows->addLayout(option);
        rows->addSpacing(scaled(5));
    } else {
        rows->addSpacing(scaled(15));
    }

    // Three buttons to a row; the last row is aligned to the right column.
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(scaled(5));
    grid->setVerticalSpacing(rowPitch - buttonHeight);
    for (int column = 0; column < kColumns; ++column)
        grid->setColumnMinimumWidth(column, buttonWidth);
    const int total = n + 1;
    const int fullRows = n / kColumns;
    const int lastRow = total - kColumns * fullRows;
    for (int index = 0; index < total; ++index) {
        const int row = index / kColumns;
        const int column =
            row < fullRows ? index % kColumns : kColumns - lastRow + (index - kColumns * fullRows);
        FButtons[index]->setFixedSize(buttonWidth, buttonHeight);
        grid->addWidget(FButtons[index], row, column);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addLayout(grid);
    rows->addLayout(buttons);

    // Tab order by index, then the check box.
    for (int index = 0; index + 1 < total; ++index)
        setTabOrder(FButtons[index], FButtons[index + 1]);
    setTabOrder(FButtons.last(), cbOption);

    // The preselected button has the focus, and Enter presses it.
    int focused = PreSelection > 0 ? PreSelection & 0xFF : PreSelection;
    if (focused < 0 || focused > n) focused = n;
    FButtons[focused]->setDefault(true);
    FButtons[focused]->setFocus();

    FSelection = kCancelled;
    WinUtils::ExecModal(*this, WinUtils::TMessageRecord{.Title = ATitle,
                                                        .Message = ACaption,
                                                        .Type = DlgType,
                                                        .Pos = APos,
                                                        .Kind = WinUtils::dkSelectDialog});
    int result = FSelection;
    if (result >= 0 && cbOption->isVisibleTo(this) && cbOption->isChecked())
        result += kOptionChecked;
    ClearButtons();
    return result;
}

void TSelectDialog::ClearButtons() {
    qDeleteAll(FButtons);
    FButtons.clear();
}

void TSelectDialog::ButtonClick(int tag) {
    FSelection = tag;
    done(WinUtils::mrOk);
}

int ChooseOption(const QString& ATitle, const QString& ACaption, WinUtils::TMsgDlgType DlgType,
                 TFontStyles ACaptionFormat, const QStringList& AButtons, const QString& AOption,
                 int ButtonWidth, int PreSelection, const QString& DefaultButton) {
    TSelectDialog dialog(QApplication::activeWindow());
    return dialog.Execute(WinUtils::DefaultMessagePos, ATitle, ACaption, DlgType, ACaptionFormat,
                          AButtons, AOption, ButtonWidth, PreSelection, DefaultButton);
}

}  // namespace SelectDlg
