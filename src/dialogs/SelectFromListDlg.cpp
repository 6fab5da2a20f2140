// The list editing dialog.
#include "SelectFromListDlg.h"

#include <algorithm>
#include <stdexcept>

#include <QCollator>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "Catalog.h"
#include "FormatSafe.h"
#include "InpText.h"
#include "TranslateComponent.h"

namespace SelectFromListDlg {

using Catalog::N_;

namespace {

constexpr int kWidth = 336;
constexpr int kHeight = 391;
constexpr int kPanelWidth = 113;
constexpr int kDist = 10;
constexpr QChar kDefaultDelimiter = u',';
constexpr QChar kQuote = u'"';
const QString kMultiSeparator = QStringLiteral("|");

TSelectFromListDialog* TheInstance = nullptr;

// Secondary windows opened by a button go below its left part.
QPoint BelowButton(const QWidget* button) {
    return WinUtils::BottomLeftPos(button, QPoint(-100, 10));
}

QPushButton* PanelButton(const QString& caption, const char* name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QToolButton* MoveButton(QStyle::StandardPixmap picture, const QString& tip, const char* name,
                        QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(parent->style()->standardIcon(picture));
    button->setToolTip(tip);
    button->setAutoRaise(false);
    return button;
}

}  // namespace

TSelectFromListDialog::TSelectFromListDialog(QWidget* parent) : TPlacedDialog(parent) {
    setObjectName(QStringLiteral("SelectFromListDialog"));
    setWindowTitle(N_("Select item from list"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    lbDesc = new QLabel(this);
    lbDesc->setObjectName(QStringLiteral("lbDesc"));
    lbDesc->setTextFormat(Qt::PlainText);
    lbDesc->setWordWrap(true);
    lbxStringList = new QListWidget(this);
    lbxStringList->setObjectName(QStringLiteral("lbxStringList"));
    lbDesc->setBuddy(lbxStringList);
    lbxStringList->viewport()->installEventFilter(this);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("pnRight"));
    gbxEdit = new QGroupBox(N_("Edit items"), panel);
    gbxEdit->setObjectName(QStringLiteral("gbxEdit"));
    btnInsert = PanelButton(N_("Add"), "btnInsert", gbxEdit);
    btnDelete = PanelButton(N_("Remove"), "btnDelete", gbxEdit);
    btnEdit = PanelButton(N_("Change"), "btnEdit", gbxEdit);
    btnDefault = PanelButton(N_("Default"), "btnDefault", gbxEdit);
    gbxMove = new QGroupBox(N_("Move item"), panel);
    gbxMove->setObjectName(QStringLiteral("gbxMove"));
    UpBtn = MoveButton(QStyle::SP_ArrowUp, N_("Move item up"), "UpBtn", gbxMove);
    DownBtn = MoveButton(QStyle::SP_ArrowDown, N_("Move item down"), "DownBtn", gbxMove);
    lbHint = new QLabel(panel);
    lbHint->setObjectName(QStringLiteral("lbHint"));
    lbHint->setTextFormat(Qt::PlainText);
    lbHint->setWordWrap(true);
    lbHint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    btnPrompt = PanelButton(N_("Prompt"), "btnPrompt", panel);
    OKBtn = PanelButton(N_("OK"), "OKBtn", panel);
    OKBtn->setDefault(true);
    CancelBtn = PanelButton(N_("Cancel"), "CancelBtn", panel);

    const int dpi = WinUtils::PixelsPerInch(this);
    dist = WinUtils::ScaledLength(kDist, dpi);

    auto* editButtons = new QVBoxLayout(gbxEdit);
    for (QPushButton* button : {btnInsert, btnDelete, btnEdit, btnDefault})
        editButtons->addWidget(button);
    auto* moveButtons = new QHBoxLayout(gbxMove);
    moveButtons->addWidget(UpBtn);
    moveButtons->addWidget(DownBtn);
    moveButtons->addStretch(1);

    // Hidden parts take no room, and the gap goes with them.
    auto* stack = new QVBoxLayout(panel);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(dist);
    stack->addWidget(gbxEdit);
    stack->addWidget(gbxMove);
    stack->addWidget(lbHint, 1);
    stack->addWidget(btnPrompt);
    stack->addWidget(OKBtn);
    stack->addWidget(CancelBtn);
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);

    auto* left = new QVBoxLayout;
    left->addWidget(lbDesc);
    left->addWidget(lbxStringList, 1);
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addWidget(panel);

    connect(btnInsert, &QPushButton::clicked, this, &TSelectFromListDialog::btnInsertClick);
    connect(btnDelete, &QPushButton::clicked, this, &TSelectFromListDialog::btnDeleteClick);
    connect(btnEdit, &QPushButton::clicked, this, &TSelectFromListDialog::btnEditClick);
    connect(btnDefault, &QPushButton::clicked, this, &TSelectFromListDialog::btnDefaultClick);
    connect(UpBtn, &QToolButton::clicked, this, &TSelectFromListDialog::UpBtnClick);
    connect(DownBtn, &QToolButton::clicked, this, &TSelectFromListDialog::DownBtnClick);
    connect(btnPrompt, &QPushButton::clicked, this, [this] { done(WinUtils::mrYes); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(WinUtils::mrOk); });
    connect(CancelBtn, &QPushButton::clicked, this, &TSelectFromListDialog::reject);
    connect(lbxStringList, &QListWidget::itemDoubleClicked, this,
            &TSelectFromListDialog::lbxStringListDblClick);

    Catalog::TranslateComponent(this, QStringLiteral("dialogs"));
    WinUtils::ScaleGlyphs(this, 96, dpi);
    // The panel is as wide as its widest part, titles of the groups included, and at least as
    // wide as designed; the hint wraps.
    int panelWidth = WinUtils::ScaledLength(kPanelWidth, dpi);
    for (const QWidget* part :
         std::initializer_list<const QWidget*>{gbxEdit, gbxMove, btnPrompt, OKBtn, CancelBtn}) {
        panelWidth =
            std::max({panelWidth, part->sizeHint().width(), part->minimumSizeHint().width()});
    }
    panel->setFixedWidth(panelWidth);
    // A panel widened for its texts does not narrow the list.
    resize(
        WinUtils::ScaledLength(kWidth, dpi) + panelWidth - WinUtils::ScaledLength(kPanelWidth, dpi),
        WinUtils::ScaledLength(kHeight, dpi));
}

TSelectFromListDialog::~TSelectFromListDialog() {
    if (TheInstance == this) TheInstance = nullptr;
}

std::unique_ptr<TSelectFromListDialog> TSelectFromListDialog::CreateInstance() {
    if (TheInstance != nullptr)
        throw std::logic_error("the program's list editing dialog exists already");
    auto dialog = std::make_unique<TSelectFromListDialog>();
    TheInstance = dialog.get();
    return dialog;
}

TSelectFromListDialog* TSelectFromListDialog::Instance() {
    return TheInstance;
}

int TSelectFromListDialog::Execute(QPoint APos, const QString& Titel, const QString& Desc,
                                   const QString& Hint, TSelectOptions Options, int ACols,
                                   StringUtils::TTextChange Convert, const QString& Default,
                                   QStringList& SList, QString& AText, bool ShowCancel,
                                   const TCheckEntry& CheckEntry) {
    SetPlacement(APos);
    setWindowTitle(Titel);
    CancelBtn->setVisible(ShowCancel);
    FCheckEntry = CheckEntry;
    lbDesc->setText(Desc);
    lbHint->setText(Hint);
    FEdit = Options.testFlag(soEdit);
    btnPrompt->setVisible(Options.testFlag(soPrompt));
    gbxEdit->setVisible(FEdit);
    gbxMove->setVisible(Options.testFlag(soOrder));
    btnDefault->setVisible(!Default.isEmpty());
    DefDelimitedText = Default;

    lbxStringList->clear();
    lbxStringList->addItems(SList);
    FColumns = std::max(ACols, 0);
    UpdateColumns();
    lbxStringList->setSelectionMode(Options.testFlag(soMulti) ? QAbstractItemView::ExtendedSelection
                                                              : QAbstractItemView::SingleSelection);
    int preselected = -1;
    for (int row = 0; row < lbxStringList->count() && preselected < 0; ++row) {
        if (QString::compare(lbxStringList->item(row)->text(), AText, Qt::CaseInsensitive) == 0)
            preselected = row;
    }
    lbxStringList->setCurrentRow(preselected);
    if (preselected >= 0) lbxStringList->scrollToItem(lbxStringList->item(preselected));
    lbxStringList->setFocus();

    // As high as the parts on the right need; the width stays as the user left it.
    layout()->activate();
    resize(std::max(width(), minimumSizeHint().width()), sizeHint().height());

    const int result = WinUtils::ExecModal(
        *this,
        WinUtils::TMessageRecord{
            .Title = Titel, .Message = Desc, .Pos = APos, .Kind = WinUtils::dkSelectFromList});
    if (result != WinUtils::mrOk && result != WinUtils::mrYes) return WinUtils::mrCancel;

    QStringList items;
    for (int row = 0; row < lbxStringList->count(); ++row) {
        QListWidgetItem* item = lbxStringList->item(row);
        item->setText(StringUtils::ChangeTextCase(item->text(), Convert));
        items << item->text();
    }
    if (FEdit) SList = items;
    if (Options.testFlag(soMulti)) {
        QStringList chosen;
        for (int row = 0; row < lbxStringList->count(); ++row) {
            if (lbxStringList->item(row)->isSelected()) chosen << items.at(row);
        }
        AText = chosen.join(kMultiSeparator);
    } else {
        const int current = CurrentRow();
        AText = current >= 0 ? items.at(current) : QString();
    }
    return result;
}

bool TSelectFromListDialog::Select(QPoint APos, const QString& Titel, const QString& Desc,
                                   const QString& Hint, TSelectOptions Options, int ACols,
                                   const QString& Default, QStringList& SList, QString& AText,
                                   bool ShowCancel, const TCheckEntry& CheckEntry) {
    return Execute(APos, Titel, Desc, Hint, Options, ACols, StringUtils::tcNone, Default, SList,
                   AText, ShowCancel, CheckEntry) != WinUtils::mrCancel;
}

bool TSelectFromListDialog::Select(QPoint APos, const QString& Titel, const QString& Desc,
                                   const QString& Hint, int ACols, const QString& Default,
                                   QString& ListText, QChar ADel, QChar AQuote) {
    QStringList items;
    for (const QString& item : StringUtils::ReadDelimitedText(ListText, ADel, AQuote)) {
        if (!items.contains(item, Qt::CaseInsensitive)) items << item;
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(items.begin(), items.end(), collator);
    QString chosen;
    const bool accepted =
        Select(APos, Titel, Desc, Hint, {}, ACols, Default, items, chosen, true, TCheckEntry());
    ListText = StringUtils::WriteDelimitedText(items, ADel, AQuote);
    return accepted;
}

int TSelectFromListDialog::Select(QPoint APos, const QString& Titel, const QString& Desc,
                                  const QString& Hint, bool Prompt, QStringList& SList,
                                  QString& AText) {
    return Execute(APos, Titel, Desc, Hint, Prompt ? TSelectOptions(soPrompt) : TSelectOptions(), 0,
                   StringUtils::tcNone, QString(), SList, AText, true, TCheckEntry());
}

void TSelectFromListDialog::Show(QPoint APos, const QString& Titel, const QString& Desc,
                                 const QString& Hint, int ACols, QStringList& SList) {
    QString chosen;
    Execute(APos, Titel, Desc, Hint, {}, ACols, StringUtils::tcNone, QString(), SList, chosen,
            false, TCheckEntry());
}

void TSelectFromListDialog::keyPressEvent(QKeyEvent* event) {
    // Without a cancel button Escape does nothing; the close button still cancels.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        CancelBtn->isHidden()) {
        event->accept();
        return;
    }
    TPlacedDialog::keyPressEvent(event);
}

bool TSelectFromListDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lbxStringList->viewport() && event->type() == QEvent::Resize) UpdateColumns();
    return TPlacedDialog::eventFilter(watched, event);
}

int TSelectFromListDialog::CurrentRow() const {
    // The item the user sees chosen: a current item that is not selected shows only its frame.
    const QListWidgetItem* item = lbxStringList->currentItem();
    return item != nullptr && item->isSelected() ? lbxStringList->row(item) : -1;
}

void TSelectFromListDialog::btnInsertClick() {
    QString text;
    if (!InpText::InputText(BelowButton(btnInsert), Catalog::dgettext("dialogs", "Add item"),
                            lbDesc->text(), false, QString(), nullptr, false, text)) {
        return;
    }
    if (!Accepted(text)) return;
    lbxStringList->addItem(text);
    lbxStringList->setCurrentRow(lbxStringList->count() - 1);
}

void TSelectFromListDialog::btnEditClick() {
    EditCurrent(BelowButton(btnEdit));
}

void TSelectFromListDialog::lbxStringListDblClick() {
    if (!FEdit) {
        done(WinUtils::mrOk);
        return;
    }
    EditCurrent(WinUtils::CursorPos(QPoint(-20, 20)));
}

void TSelectFromListDialog::EditCurrent(QPoint pos) {
    const int current = CurrentRow();
    if (current < 0) return;
    QListWidgetItem* item = lbxStringList->item(current);
    QString text = item->text();
    if (!InpText::InputText(pos, Catalog::dgettext("dialogs", "Edit item"), lbDesc->text(), false,
                            QString(), nullptr, false, text)) {
        return;
    }
    if (Accepted(text)) item->setText(text);
}

bool TSelectFromListDialog::Accepted(const QString& text) {
    if (!FCheckEntry || FCheckEntry(text)) return true;
    WinUtils::ErrorDialogPos(
        WinUtils::CursorPos(),
        StringUtils::FormatSafe(Catalog::dgettext("dialogs", "Invalid entry: \"%s\""), {text}));
    return false;
}

void TSelectFromListDialog::btnDeleteClick() {
    const QPoint pos = BelowButton(btnDelete);
    if (lbxStringList->selectionMode() == QAbstractItemView::ExtendedSelection) {
        if (!WinUtils::ConfirmDialogPos(pos, windowTitle(),
                                        Catalog::dgettext("dialogs", "Remove all selected items?")))
            return;
        for (int row = lbxStringList->count() - 1; row >= 0; --row) {
            if (lbxStringList->item(row)->isSelected()) delete lbxStringList->takeItem(row);
        }
        return;
    }
    const int current = CurrentRow();
    if (current < 0) return;
    const QString question =
        StringUtils::FormatSafe(Catalog::dgettext("dialogs", "Remove item: \"%s\"?"),
                                {lbxStringList->item(current)->text()});
    if (!WinUtils::ConfirmDialogPos(pos, windowTitle(), question)) return;
    delete lbxStringList->takeItem(current);
    // The item now at the same place, or the new last one.
    lbxStringList->setCurrentRow(std::min(current, lbxStringList->count() - 1));
}

void TSelectFromListDialog::btnDefaultClick() {
    if (!WinUtils::ConfirmDialogPos(BelowButton(btnDefault), windowTitle(),
                                    Catalog::dgettext("dialogs", "Reset to default values?"))) {
        return;
    }
    lbxStringList->clear();
    lbxStringList->addItems(
        StringUtils::ReadDelimitedText(DefDelimitedText, kDefaultDelimiter, kQuote));
}

void TSelectFromListDialog::UpBtnClick() {
    MoveCurrent(-1);
}

void TSelectFromListDialog::DownBtnClick() {
    MoveCurrent(1);
}

void TSelectFromListDialog::MoveCurrent(int by) {
    const int current = CurrentRow();
    const int target = current + by;
    if (current < 0 || target < 0 || target >= lbxStringList->count()) return;
    lbxStringList->insertItem(target, lbxStringList->takeItem(current));
    lbxStringList->setCurrentRow(target);
}

void TSelectFromListDialog::UpdateColumns() {
    if (FColumns == 0) {
        lbxStringList->setWrapping(false);
        lbxStringList->setFlow(QListView::TopToBottom);
        lbxStringList->setGridSize(QSize());
        return;
    }
    // Items run down the first column, then the next; the columns share the width.
    lbxStringList->setFlow(QListView::TopToBottom);
    lbxStringList->setWrapping(true);
    lbxStringList->setResizeMode(QListView::Adjust);
    const int rowHeight = lbxStringList->fontMetrics().height() + 2;
    lbxStringList->setGridSize(
        QSize(std::max(lbxStringList->viewport()->width() / FColumns, 1), rowHeight));
}

}  // namespace SelectFromListDlg
