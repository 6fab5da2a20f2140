// The character table.
#include "CharTableDlg.h"

#include <algorithm>

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "Catalog.h"
#include "TranslateComponent.h"

namespace CharTableDlg {

using Catalog::N_;

namespace {

constexpr int kColumns = 16;
constexpr int kCellSize = 20;
constexpr int kSoftHyphen = 0xAD;

// The short names of the control codes 00 to 1F, 7F to 9F, and of the soft hyphen.
constexpr const char* kC0Names[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                    "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                    "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                    "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
constexpr const char* kC1Names[] = {"DEL", "PAD", "HOP", "BPH", "NBH", "IND", "NEL", "SSA", "ESA",
                                    "HTS", "HTJ", "VTS", "PLD", "PLU", "RI",  "SS2", "SS3", "DCS",
                                    "PU1", "PU2", "STS", "CCH", "MW",  "SPA", "EPA", "SOS", "SGC",
                                    "SCI", "CSI", "ST",  "OSC", "PM",  "APC"};

QString Hex(int value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

// The code of a hexadecimal text of one or more digits, or -1.
int HexCode(const QString& text) {
    if (text.isEmpty() || text.size() > 8) return -1;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool digit =
            (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!digit) return -1;  // no blanks, signs or prefixes
    }
    bool ok = false;
    const uint value = text.toUInt(&ok, 16);
    return ok && value < uint(kCharCount) ? int(value) : -1;
}

}  // namespace

bool IsControlCode(int code) {
    return (code >= 0 && code < 0x20) || (code >= 0x7F && code < 0xA0);
}

bool IsStandIn(int code) {
    return IsControlCode(code) || code == kSoftHyphen;
}

QString CellText(int code) {
    if (code >= 0 && code < 0x20) return QString::fromLatin1(kC0Names[code]);
    if (code >= 0x7F && code < 0xA0) return QString::fromLatin1(kC1Names[code - 0x7F]);
    if (code == kSoftHyphen) return QStringLiteral("SHY");
    return QString(QChar(char16_t(code)));
}

TCharTableDialog::TCharTableDialog(QWidget* parent) : TPlacedDialog(parent) {
    setObjectName(QStringLiteral("CharTableDialog"));
    setWindowTitle(N_("Character table"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    FDefFontName = font().family();

    CharGrid = new QTableWidget(kColumns, kColumns, this);
    CharGrid->setObjectName(QStringLiteral("CharGrid"));
    CharGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CharGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    CharGrid->setTabKeyNavigation(false);
    CharGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    CharGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QStringList headers;
    for (int i = 0; i < kColumns; ++i)
        headers << Hex(i);
    CharGrid->setHorizontalHeaderLabels(headers);
    CharGrid->setVerticalHeaderLabels(headers);
    for (QHeaderView* header : {CharGrid->horizontalHeader(), CharGrid->verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setHighlightSections(false);
        header->setSectionResizeMode(QHeaderView::Stretch);
        header->setDefaultAlignment(Qt::AlignCenter);
    }
    const QBrush dimmed = palette().brush(QPalette::Disabled, QPalette::Text);
    for (int code = 0; code < kCharCount; ++code) {
        auto* item = new QTableWidgetItem(CellText(code));
        item->setTextAlignment(Qt::AlignCenter);
        item->setToolTip(QStringLiteral("U+00") + Hex(code));
        if (IsStandIn(code)) item->setForeground(dimmed);
        CharGrid->setItem(code / kColumns, code % kColumns, item);
    }

    auto* lbValue = new QLabel(N_("Hex value:"), this);
    lbValue->setObjectName(QStringLiteral("lbValue"));
    leValue = new QLineEdit(this);
    leValue->setObjectName(QStringLiteral("leValue"));
    lbValue->setBuddy(leValue);
    OKBtn = new QPushButton(N_("Select"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(N_("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));

    auto* rows = new QVBoxLayout(this);
    rows->addWidget(CharGrid, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lbValue);
    bottom->addWidget(leValue);
    bottom->addStretch(1);
    bottom->addWidget(OKBtn);
    bottom->addWidget(CancelBtn);
    rows->addLayout(bottom);

    connect(leValue, &QLineEdit::textChanged, this, &TCharTableDialog::leValueChange);
    connect(CharGrid, &QTableWidget::currentCellChanged, this,
            &TCharTableDialog::CharGridCurrentChange);
    connect(CharGrid, &QTableWidget::cellDoubleClicked, this, [this] { done(WinUtils::mrOk); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(WinUtils::mrOk); });
    connect(CancelBtn, &QPushButton::clicked, this, &TCharTableDialog::reject);

    Catalog::TranslateComponent(this, QStringLiteral("dialogs"));
    SetGridFontName(QString());
    SetCurrentCode(0);
    CharGrid->setFocus();
}

void TCharTableDialog::SetGridFontName(const QString& name) {
    FGridFontName = name.isEmpty() ? FDefFontName : name;
    QFont gridFont = font();
    gridFont.setFamily(FGridFontName);
    // Names of codes without a glyph are small, so that three letters fit a cell.
    QFont nameFont = font();
    nameFont.setPointSizeF(font().pointSizeF() * 0.6);
    for (int code = 0; code < kCharCount; ++code) {
        CharGrid->item(code / kColumns, code % kColumns)
            ->setFont(IsStandIn(code) ? nameFont : gridFont);
    }
    // Every cell at least 20 pixels and large enough for its character; the whole grid shows.
    const int dpi = WinUtils::PixelsPerInch(this);
    const QFontMetrics metrics(gridFont);
    const int cell = std::max(WinUtils::ScaledLength(kCellSize, dpi),
                              metrics.height() + WinUtils::ScaledLength(6, dpi));
    QHeaderView* top = CharGrid->horizontalHeader();
    QHeaderView* side = CharGrid->verticalHeader();
    top->setMinimumSectionSize(cell);
    side->setMinimumSectionSize(cell);
    const int frame = 2 * CharGrid->frameWidth();
    CharGrid->setMinimumSize(side->sizeHint().width() + kColumns * cell + frame,
                             top->sizeHint().height() + kColumns * cell + frame);
}

int TCharTableDialog::CurrentCode() const {
    const int row = std::max(CharGrid->currentRow(), 0);
    const int column = std::max(CharGrid->currentColumn(), 0);
    return row * kColumns + column;
}

void TCharTableDialog::SetCurrentCode(int code) {
    if (code < 0 || code >= kCharCount) return;
    CharGrid->setCurrentCell(code / kColumns, code % kColumns);
}

void TCharTableDialog::leValueChange(const QString& text) {
    const int code = HexCode(text);
    if (code < 0) return;  // anything else changes nothing
    FTyping = true;
    SetCurrentCode(code);
    FTyping = false;
}

void TCharTableDialog::CharGridCurrentChange() {
    // A cell chosen in the grid shows its code; while the user types, the text stays his.
    if (!FTyping) leValue->setText(Hex(CurrentCode()));
}

int SelectCharacter(QPoint APos, const QString& AFontName) {
    TCharTableDialog dialog(QApplication::activeWindow());
    dialog.SetPlacement(APos);
    dialog.SetGridFontName(AFontName);
    const int result = WinUtils::ExecModal(
        dialog, WinUtils::TMessageRecord{
                    .Title = dialog.windowTitle(), .Pos = APos, .Kind = WinUtils::dkCharTable});
    return result == WinUtils::mrOk ? dialog.CurrentCode() : 0;
}

}  // namespace CharTableDlg
