// The history list with its menu items and the history combo box.
#include "HListBox.h"

#include <exception>

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCompleter>
#include <QFocusEvent>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QStyleFactory>
#include <QStyleOption>
#include <QVariant>

#include "FileInfo.h"
#include "FormatSafe.h"
#include "IniFiles.h"

namespace HListBox {

namespace {

constexpr int kMinMaxLen = 1;
constexpr int kMaxMaxLen = 100;
// The first 15 captions are numbered with one hexadecimal digit, the following with two.
constexpr int kOneDigitEntries = 15;

// The settings file cannot keep blanks around a value, so a lone blank is stored as this.
const QString kBlankEntry = QStringLiteral(" ");
const QString kStoredBlank = QStringLiteral("?");

QString HistoryKey(int index) {
    return QStringLiteral("History") + QString::number(index);
}

// Draws a combo box as a plain edit field: no drop-down button, the edit field over the whole
// width. The box uses it while it is simple.
class TSimpleComboStyle : public QProxyStyle {
  public:
    explicit TSimpleComboStyle(QStyle* base) : QProxyStyle(base) {}

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        if (control != CC_ComboBox) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        QStyleOptionFrame frame;
        frame.QStyleOption::operator=(*option);
        frame.lineWidth = pixelMetric(PM_DefaultFrameWidth, option, widget);
        frame.midLineWidth = 0;
        frame.state |= State_Sunken;
        drawPrimitive(PE_PanelLineEdit, &frame, painter, widget);
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override {
        if (control == CC_ComboBox && sub == SC_ComboBoxArrow) return QRect();
        if (control == CC_ComboBox && sub == SC_ComboBoxEditField) {
            const int frame = pixelMetric(PM_DefaultFrameWidth, option, widget) + 1;
            return option->rect.adjusted(frame, frame, -frame, -frame);
        }
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }

    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     const QPoint& point, const QWidget* widget) const override {
        if (control == CC_ComboBox) return SC_ComboBoxEditField;
        return QProxyStyle::hitTestComplexControl(control, option, point, widget);
    }
};

}  // namespace

// ---- THistoryList ----

THistoryList::THistoryList() = default;

THistoryList::~THistoryList() {
    ClearMenu();
}

QStringList THistoryList::Texts() const {
    QStringList texts;
    texts.reserve(FEntries.size());
    for (const TEntry& entry : FEntries)
        texts.append(entry.Text);
    return texts;
}

int THistoryList::IndexOf(const QString& s) const {
    for (int i = 0; i < Count(); ++i) {
        if (QString::compare(FEntries[i].Text, s, FCaseSensitivity) == 0) return i;
    }
    return -1;
}

void THistoryList::AddString(const QString& s) {
    AddStringObject(s, nullptr);
}

void THistoryList::AddStringObject(const QString& s, QObject* object) {
    if (s.isEmpty()) return;
    InsertOnTop(s, object);
}

void THistoryList::InsertOnTop(const QString& s, QObject* object) {
    // Looked up before the menu goes: ClearMenu reads the entries to remember the checked one.
    const int found = IndexOf(s);
    ClearMenu();
    if (found >= 0) FEntries.removeAt(found);
    FEntries.prepend(TEntry{s, object});
    while (Count() > FMaxLen)
        FEntries.removeLast();
    UpdateMenu();
    ClearStrList();
    UpdateStrList();
}

void THistoryList::RemString(const QString& s) {
    const int found = IndexOf(s);
    ClearMenu();
    if (found >= 0) FEntries.removeAt(found);
    UpdateMenu();
    ClearStrList();
    UpdateStrList();
}

void THistoryList::ClearAll() {
    ClearMenu();
    ClearStrList();
    FEntries.clear();
}

bool THistoryList::SelectMenuItem(const QString& s) {
    const int found = IndexOf(s);
    if (found < 0) return false;
    if (FMenu) {
        const QList<QAction*> actions = FMenu->actions();
        const int item = found + MenuSizeBefore + SeparatorCount;
        // The menu lags behind the list after SetMaxLen, AssignList or LoadFromIni.
        if (item < actions.size()) {
            actions[item]->setCheckable(true);
            actions[item]->setChecked(true);
        }
    }
    return true;
}

void THistoryList::SaveToIni(const QString& iniName, const QString& iniSection, bool erase) const {
    IniFiles::TIniFile ini(iniName);
    SaveToIni(ini, iniSection, erase);
    ini.UpdateFile();
}

void THistoryList::SaveToIni(IniFiles::TIniFile& ini, const QString& iniSection, bool erase) const {
    if (erase) ini.EraseSection(iniSection);
    ini.AddSection(iniSection);  // an empty history still has its section
    // An entry with a line break is left out; the file's UpdateFile reports it.
    for (int i = 0; i < Count(); ++i) {
        const QString& text = FEntries[i].Text;
        ini.WriteString(iniSection, HistoryKey(i), text == kBlankEntry ? kStoredBlank : text);
    }
}

void THistoryList::LoadFromIni(const QString& iniName, const QString& iniSection) {
    LoadFromIni(IniFiles::TIniFile(iniName), iniSection);
}

void THistoryList::LoadFromIni(const IniFiles::TIniFile& ini, const QString& iniSection) {
    FEntries.clear();
    for (int i = 0; i < FMaxLen; ++i) {
        QString value = ini.ReadString(iniSection, HistoryKey(i), QString());
        if (value == kStoredBlank) value = kBlankEntry;
        if (!value.isEmpty()) FEntries.append(TEntry{value, nullptr});
    }
}

void THistoryList::AssignList(const QStringList& list) {
    FEntries.clear();
    for (const QString& line : list.mid(0, FMaxLen))
        FEntries.append(TEntry{line, nullptr});
}

void THistoryList::SetMaxLen(int maxLen) {
    if (maxLen < kMinMaxLen || maxLen > kMaxMaxLen) return;
    FMaxLen = maxLen;
    while (Count() > FMaxLen)
        FEntries.removeLast();
}

void THistoryList::SetMenu(QMenu* menu) {
    if (FMenu) ClearMenu();
    FMenu = menu;
    MenuSizeBefore = menu ? static_cast<int>(menu->actions().size()) : 0;
    SeparatorCount = 0;
    UpdateMenu();
}

void THistoryList::SetStrList(QStringList* list) {
    if (FList) ClearStrList();
    FList = list;
    ListSizeBefore = list ? static_cast<int>(list->size()) : 0;
    UpdateStrList();
}

QString THistoryList::MenuCaption(int index) const {
    // "&" would be taken for an accelerator marker; "&&" shows as itself.
    QString text = FEntries[index].Text;
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const QString pattern =
        index < kOneDigitEntries ? QStringLiteral("%1x %s") : QStringLiteral("%2x %s");
    QString caption = StringUtils::FormatSafe(pattern, {index + 1, text});
    // FormatSafe writes hexadecimal digits in lower case; the numbers are shown in upper case.
    const qsizetype blank = caption.indexOf(QLatin1Char(' '));
    return caption.left(blank).toUpper() + caption.mid(blank);
}

void THistoryList::ClearMenu() {
    FCheckedItem.clear();
    if (FMenu) {
        QList<QAction*> actions = FMenu->actions();
        while (actions.size() > MenuSizeBefore) {
            QAction* action = actions.takeLast();
            // Each item carries its entry's text: the list may have changed since the items
            // were made.
            if (action->isChecked()) FCheckedItem = action->data().toString();
            FMenu->removeAction(action);
            action->setActionGroup(nullptr);
            // Later: this may run inside the item's own click handler.
            action->deleteLater();
        }
    }
    if (FMenu2) FMenu2->clear();
}

void THistoryList::UpdateMenu() {
    if (!FMenu) return;
    if (MenuSizeBefore > 0) {
        FMenu->addSeparator();
        SeparatorCount = 1;
    }
    // One exclusive group per menu, so that checking an entry unchecks the others.
    if (FRadioMenu && (!FRadioGroup || FRadioGroup->parent() != FMenu))
        FRadioGroup = new QActionGroup(FMenu);
    for (int i = 0; i < Count(); ++i) {
        auto* action = new QAction(MenuCaption(i), FMenu);
        action->setData(FEntries[i].Text);
        if (FRadioMenu) {
            action->setCheckable(true);
            action->setActionGroup(FRadioGroup);
            action->setChecked(FEntries[i].Text == FCheckedItem);
        }
        QObject::connect(action, &QAction::triggered, action,
                         [this, action] { MenuClick(action); });
        FMenu->addAction(action);
    }
    if (FMenu2) {
        // The mirror shows the same actions, so a click or a check mark in one menu is the
        // same in the other.
        FMenu2->clear();
        FMenu2->addActions(FMenu->actions().mid(MenuSizeBefore));
    }
}

void THistoryList::ClearStrList() {
    if (!FList) return;
    while (FList->size() > ListSizeBefore)
        FList->removeLast();
}

void THistoryList::UpdateStrList() {
    if (!FList) return;
    for (const TEntry& entry : FEntries)
        FList->append(entry.Text);
}

void THistoryList::MenuClick(QAction* sender) {
    QString number = sender->text().section(QLatin1Char(' '), 0, 0);
    // The menu system may have put an accelerator marker into the number.
    if (const qsizetype marker = number.indexOf(QLatin1Char('&')); marker >= 0)
        number.remove(marker, 1);
    bool ok = false;
    const int n = number.toInt(&ok, 16);
    sender->setCheckable(true);
    sender->setChecked(true);
    if (!ok || n <= 0) return;
    QObject* menu = FMenu.data();
    if (FOnAutoItemClick) {
        // The menu lags behind the list after SetMaxLen, AssignList or LoadFromIni.
        if (n <= Count()) FOnAutoItemClick(menu, At(n - 1));
    } else if (FOnAutoItemClickIndex) {
        FOnAutoItemClickIndex(menu, n - 1);
    }
}

// ---- THistoryCombo ----

THistoryCombo::THistoryCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    // The list is the history: Return must not add the text as an item of its own.
    setInsertPolicy(QComboBox::NoInsert);
    // With a case-insensitive completer the box replaces the text by an item spelt otherwise
    // when editing ends; the history keeps the spelling the user typed.
    completer()->setCaseSensitivity(Qt::CaseSensitive);
    // Completions are offered in a list; the text stays as typed until one is picked (inline
    // completion would make "*.txt" into "*.txt;*.doc" without a word).
    completer()->setCompletionMode(QCompleter::PopupCompletion);
}

THistoryCombo::~THistoryCombo() {
    if (FHistorySaved) return;
    try {
        SaveHistory();
    } catch (const std::exception& error) {
        qWarning("History not saved: %s", error.what());
    } catch (...) {
        qWarning("History not saved");
    }
}

void THistoryCombo::SetReadOnly(bool readOnly) {
    if (readOnly == FReadOnly) return;
    FReadOnly = readOnly;
    UpdateList();
}

void THistoryCombo::LoadFromIni(const QString& iniName, const QString& iniSection) {
    LoadFromIni(IniFiles::TIniFile(iniName), iniSection);
}

void THistoryCombo::LoadFromIni(const IniFiles::TIniFile& ini, const QString& iniSection) {
    FIniFileName = ini.FileName();
    FIniSection = iniSection;
    if (!FileUtils::FileExists(FIniFileName) || iniSection.isEmpty()) return;
    FHistoryList.LoadFromIni(ini, iniSection);
    UpdateList();
}

void THistoryCombo::AssignList(const QStringList& list) {
    FHistoryList.AssignList(list);
    UpdateList();
}

void THistoryCombo::UpdateList() {
    {
        // Refilling the list is no choice of the user's: nobody hears of it.
        const QSignalBlocker blocker(this);
        const QString text = currentText();
        clear();
        for (int i = 0; i < FHistoryList.Count(); ++i)
            addItem(FHistoryList.At(i), QVariant::fromValue(FHistoryList.Objects(i)));
        setCurrentIndex(findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
        setEditText(text);
    }
    SetSimpleStyle(FHistoryList.Count() == 0 || FReadOnly);
}

void THistoryCombo::AddItem(const QString& s) {
    FHistoryList.AddString(s);
    UpdateList();
}

void THistoryCombo::AddItemObject(const QString& s, QObject* object) {
    FHistoryList.AddStringObject(s, object);
    UpdateList();
}

void THistoryCombo::DeleteItem(const QString& s) {
    FHistoryList.RemString(s);
    UpdateList();
}

int THistoryCombo::FindItem(const QString& text) const {
    for (int i = 0; i < FHistoryList.Count(); ++i) {
        if (FHistoryList.At(i).startsWith(text, FHistoryList.CaseSensitivity())) return i;
    }
    return -1;
}

void THistoryCombo::SaveHistory() {
    FHistorySaved = true;
    if (FIniFileName.isEmpty() || FIniSection.isEmpty()) return;
    FHistoryList.SaveToIni(FIniFileName, FIniSection, FEraseSection);
}

void THistoryCombo::SaveHistory(IniFiles::TIniFile& ini) {
    FHistorySaved = true;
    if (FIniSection.isEmpty()) return;
    FHistoryList.SaveToIni(ini, FIniSection, FEraseSection);
}

void THistoryCombo::showPopup() {
    if (FSimpleStyle) return;
    QComboBox::showPopup();
}

void THistoryCombo::hidePopup() {
    QComboBox::hidePopup();
    Q_EMIT ClosedUp();
}

void THistoryCombo::SetSimpleStyle(bool simple) {
    if (simple == FSimpleStyle) return;
    FSimpleStyle = simple;
    SetSimpleComboLook(this, simple);
}

void THistoryCombo::DoEnter() {
    if (!FModified) FSaveText = currentText();
}

void THistoryCombo::DoExit() {
    const QString text = currentText();
    FModified = QString::compare(text, FSaveText, FHistoryList.CaseSensitivity()) != 0;
    if (FAutoUpdate) {
        FHistoryList.AddString(text);
        UpdateList();
    }
}

// The edit field passes its focus on to the box, so the box's own focus events cover both.
void THistoryCombo::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    FocusEntered();
}

void THistoryCombo::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    FocusLeft(event);
}

void THistoryCombo::FocusEntered() {
    if (FHasFocus) return;
    FHasFocus = true;
    DoEnter();
}

void THistoryCombo::FocusLeft(const QFocusEvent* event) {
    if (!FHasFocus) return;
    // The drop-down list and another program's window take the focus only for a while.
    if (event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason)
        return;
    // Our own drop-down list is a window of its own.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == this || isAncestorOf(focus) || focus->window() == view()->window()))
        return;
    FHasFocus = false;
    DoExit();
}

void SetSimpleComboLook(QComboBox* box, bool simple) {
    static const QString kLookName = QStringLiteral("simpleComboLook");
    // Owned by the box, made the first time it is needed.
    auto* look = box->findChild<QStyle*>(kLookName, Qt::FindDirectChildrenOnly);
    if (simple && look == nullptr) {
        look = new TSimpleComboStyle(QStyleFactory::create(QApplication::style()->name()));
        look->setObjectName(kLookName);
        look->setParent(box);
    }
    if (simple) {
        box->setStyle(look);
    } else if (look != nullptr && box->style() == look) {
        box->setStyle(QApplication::style());
    }
}

}  // namespace HListBox
