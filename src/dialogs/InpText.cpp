// The text input dialog.
#include "InpText.h"

#include <algorithm>
#include <exception>

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QVBoxLayout>

#include "Catalog.h"
#include "CharTableDlg.h"
#include "ComboHistory.h"
#include "HListBox.h"
#include "SettingsHelpers.h"
#include "TranslateComponent.h"

namespace InpText {

using Catalog::N_;

namespace {

constexpr int kClientWidth = 311;
constexpr int kMargin = 10;
// Room around the dialog for the window frame and the edges of the screen.
constexpr int kScreenMargin = 60;

// The text field: a plain edit field while its list is empty, a drop-down box otherwise.
class TTextField : public QComboBox {
  public:
    explicit TTextField(QWidget* parent) : QComboBox(parent) {}

    void showPopup() override {
        if (count() > 0) QComboBox::showPopup();
    }
};

QStringList Sorted(QStringList list) {
    std::stable_sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
        return a.localeAwareCompare(b) < 0;
    });
    return list;
}

}  // namespace

TInputTextDialog::TInputTextDialog(QWidget* parent) : TPlacedDialog(parent) {
    setObjectName(QStringLiteral("InputTextDialog"));
    setWindowTitle(N_("Edit text"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    Descriptor = new QLabel(N_("Descriptor"), this);
    Descriptor->setObjectName(QStringLiteral("Descriptor"));
    Descriptor->setTextFormat(Qt::PlainText);
    Descriptor->setWordWrap(true);
    TextFeld = new TTextField(this);
    TextFeld->setObjectName(QStringLiteral("TextFeld"));
    TextFeld->setEditable(true);
    TextFeld->setMaxVisibleItems(kHistoryCount);
    // The list is the history: Return must not add the text as an item of its own, and the
    // text keeps the spelling the user typed.
    TextFeld->setInsertPolicy(QComboBox::NoInsert);
    TextFeld->completer()->setCaseSensitivity(Qt::CaseSensitive);
    // Completions are offered in a list: the text stays as typed until one is picked.
    TextFeld->completer()->setCompletionMode(QCompleter::PopupCompletion);
    TextFeld->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    TextFeld->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    Descriptor->setBuddy(TextFeld);

    CharTabBtn = new QPushButton(N_("Character table"), this);
    CharTabBtn->setObjectName(QStringLiteral("CharTabBtn"));
    CharTabBtn->setAutoDefault(false);
    OKBtn = new QPushButton(N_("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(N_("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);

    const int margin = WinUtils::ScaledLength(kMargin, WinUtils::PixelsPerInch(this));
    auto* rows = new QVBoxLayout(this);
    rows->setSizeConstraint(QLayout::SetFixedSize);
    rows->setContentsMargins(margin, margin, margin, margin);
    rows->addWidget(Descriptor);
    rows->addWidget(TextFeld);
    rows->addSpacing(margin / 2);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CharTabBtn);
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    rows->addLayout(buttons);

    connect(CharTabBtn, &QPushButton::clicked, this, &TInputTextDialog::CharTabBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, [this] { done(WinUtils::mrOk); });
    connect(CancelBtn, &QPushButton::clicked, this, &TInputTextDialog::reject);

    Catalog::TranslateComponent(this, QStringLiteral("dialogs"));
    ShowHistory({});
}

TInputTextDialog::~TInputTextDialog() {
    if (FIniName.isEmpty() || FIniSection.isEmpty()) return;
    try {
        SettingsHelpers::SaveComboHistory(FIniName, FIniSection, true, TextFeld, kHistoryCount,
                                          false);
    } catch (const std::exception& error) {
        qWarning("History not saved: %s", error.what());
    } catch (...) {
        qWarning("History not saved");
    }
}

bool TInputTextDialog::Execute(QPoint APos, const QString& Titel, const QString& Desc,
                               bool ShowTable, const QString& AFontName, QString& AText) {
    SetPlacement(APos);
    if (!Titel.isEmpty()) setWindowTitle(Titel);
    Descriptor->setText(Desc);
    CharTabBtn->setVisible(ShowTable);
    TextFeld->setFocus();
    if (!AFontName.isEmpty()) {
        QFont textFont = TextFeld->font();
        textFont.setFamily(AFontName);
        TextFeld->setFont(textFont);
    }
    ShowHistory(History());
    TextFeld->setCurrentIndex(-1);
    TextFeld->setEditText(AText);
    TextFeld->lineEdit()->selectAll();

    // Wide enough for the whole text, up to the width of the screen.
    const int dpi = WinUtils::PixelsPerInch(this);
    const int margin = WinUtils::ScaledLength(kMargin, dpi);
    QStyleOptionComboBox option;
    option.initFrom(TextFeld);
    option.editable = true;
    const int textWidth = QFontMetrics(TextFeld->font()).horizontalAdvance(AText + u' ');
    const QSize field = TextFeld->style()->sizeFromContents(
        QStyle::CT_ComboBox, &option, QSize(textWidth, TextFeld->sizeHint().height()), TextFeld);
    const int widest = screen()->availableGeometry().width() - kScreenMargin;
    const int clientWidth = std::min(
        std::max(WinUtils::ScaledLength(kClientWidth, dpi), field.width() + 2 * margin), widest);
    TextFeld->setMinimumWidth(clientWidth - 2 * margin);

    const int result = WinUtils::ExecModal(
        *this,
        WinUtils::TMessageRecord{
            .Title = windowTitle(), .Message = Desc, .Pos = APos, .Kind = WinUtils::dkInputText});
    if (result != WinUtils::mrOk) return false;
    AText = TextFeld->currentText();
    QStringList history = History();
    SettingsHelpers::AddToHistory(history, AText, kHistoryCount);
    ShowHistory(history);
    return true;
}

void TInputTextDialog::LoadFromIni(const QString& AIniName, const QString& AIniSection) {
    FIniName = AIniName;
    FIniSection = AIniSection;
    if (AIniName.isEmpty() || AIniSection.isEmpty()) return;
    SettingsHelpers::LoadComboHistory(AIniName, AIniSection, TextFeld, kHistoryCount, false);
    ShowHistory(History());
}

QStringList TInputTextDialog::History() const {
    QStringList list;
    for (int i = 0; i < TextFeld->count(); ++i)
        list << TextFeld->itemText(i);
    return list;
}

void TInputTextDialog::SetHistory(const QStringList& list, bool sorted) {
    FSorted = sorted;
    ShowHistory(list.mid(0, kHistoryCount));
}

void TInputTextDialog::ShowHistory(QStringList list) {
    if (FSorted) list = Sorted(list);
    if (list != History()) {
        const QSignalBlocker blocker(TextFeld);
        const QString text = TextFeld->currentText();
        TextFeld->clear();
        TextFeld->addItems(list);
        TextFeld->setCurrentIndex(-1);
        TextFeld->setEditText(text);
    }
    HListBox::SetSimpleComboLook(TextFeld, list.isEmpty());
}

void TInputTextDialog::CharTabBtnClick() {
    const int code =
        CharTableDlg::SelectCharacter(WinUtils::TopRightPos(CharTabBtn), TextFeld->font().family());
    // A one-line text has no place for control codes such as a tab or a line break.
    if (code != 0 && !CharTableDlg::IsControlCode(code)) {
        TextFeld->setEditText(TextFeld->currentText() + QChar(char16_t(code)));
    }
    TextFeld->setFocus();
    TextFeld->lineEdit()->deselect();
    TextFeld->lineEdit()->end(false);
}

bool InputText(QPoint APos, const QString& Titel, const QString& Desc, bool ShowTable,
               const QString& AFontName, QStringList* AList, bool Sorted, QString& AText) {
    TInputTextDialog dialog(QApplication::activeWindow());
    if (AList != nullptr) dialog.SetHistory(*AList, Sorted);
    const bool accepted = dialog.Execute(APos, Titel, Desc, ShowTable, AFontName, AText);
    if (accepted && AList != nullptr) *AList = dialog.History();
    return accepted;
}

}  // namespace InpText
