// A most-recently-used list that can show itself in menus, and the combo box whose drop-down
// list is such a history, kept in a section of a settings file.
#pragma once

#include <functional>

#include <QActionGroup>
#include <QComboBox>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace IniFiles {
class TIniFile;
}

class QAction;
class QFocusEvent;

namespace HListBox {

// Called with the history's menu (not the clicked entry) and the text of the clicked entry.
using TListMenuEvent = std::function<void(QObject* sender, const QString& menuText)>;
// Called with the history's menu and the index of the clicked entry.
using TListMenuEventIndex = std::function<void(QObject* sender, int index)>;

// Texts, most recent first, each with an optional attached object that the list does not
// own. Entries added with AddString or AddStringObject are distinct without regard to case,
// or exactly for a history of paths on a file system that tells case apart.
// The entries can be shown as numbered items at the end of a menu (mirrored into a second
// menu) and as extra lines at the end of an outside string list.
class THistoryList {
  public:
    THistoryList();
    // Takes its items out of the menus; StrList keeps its lines.
    virtual ~THistoryList();
    THistoryList(const THistoryList&) = delete;
    THistoryList& operator=(const THistoryList&) = delete;

    int Count() const { return static_cast<int>(FEntries.size()); }
    const QString& At(int index) const { return FEntries.at(index).Text; }
    QObject* Objects(int index) const { return FEntries.at(index).Object; }
    QStringList Texts() const;
    // The first entry equal to s (without regard to case unless set otherwise), or -1.
    int IndexOf(const QString& s) const;

    // How entries are compared; a history of paths uses Platform::kFileNameCase.
    Qt::CaseSensitivity CaseSensitivity() const { return FCaseSensitivity; }
    void SetCaseSensitivity(Qt::CaseSensitivity sensitivity) { FCaseSensitivity = sensitivity; }

    // Makes s the most recent entry in its new spelling; an equal entry (without regard to
    // case) is removed first, the oldest one drops out beyond MaxLen. An empty s is ignored.
    void AddString(const QString& s);
    void AddStringObject(const QString& s, QObject* object);
    void RemString(const QString& s);
    // Takes the entries out of the menus and StrList, then empties the list.
    void ClearAll();
    // Checks the menu item of the entry s; false when s is no entry.
    bool SelectMenuItem(const QString& s);

    // Writes "History0", "History1", ... ("?" for an entry of one blank); keys beyond the
    // count stay unless `erase` empties the section first. Raises IniFiles::EIniFileError
    // when the file cannot be written.
    void SaveToIni(const QString& iniName, const QString& iniSection, bool erase) const;
    // The same into a settings file that the caller saves (with its other sections at once).
    void SaveToIni(IniFiles::TIniFile& ini, const QString& iniSection, bool erase) const;
    // Replaces the entries by the non-empty keys "History0" … "History<MaxLen-1>" ("?" reads
    // as one blank); a missing file gives an empty list. Menus and StrList stay as they are.
    void LoadFromIni(const QString& iniName, const QString& iniSection);
    // The same from a settings file already read.
    void LoadFromIni(const IniFiles::TIniFile& ini, const QString& iniSection);
    // The first MaxLen lines of `list`, as they are; menus and StrList stay as they are.
    void AssignList(const QStringList& list);

    int MaxLen() const { return FMaxLen; }
    // 1 to 100; other values are ignored. Drops the oldest entries beyond the new length.
    void SetMaxLen(int maxLen);

    QMenu* Menu() const { return FMenu; }
    // The entries go after the menu's own items, behind a separator when it has some.
    // nullptr detaches the list from its menu.
    void SetMenu(QMenu* menu);
    QMenu* Menu2() const { return FMenu2; }
    // Receives the same items as Menu at the next rebuild; all its own items are dropped then.
    void SetMenu2(QMenu* menu) { FMenu2 = menu; }
    QStringList* StrList() const { return FList; }
    // The entries go after the list's own lines; nullptr detaches the list.
    void SetStrList(QStringList* list);

    const TListMenuEvent& OnAutoItemClick() const { return FOnAutoItemClick; }
    void SetOnAutoItemClick(TListMenuEvent handler) { FOnAutoItemClick = std::move(handler); }
    const TListMenuEventIndex& OnAutoItemClickIndex() const { return FOnAutoItemClickIndex; }
    void SetOnAutoItemClickIndex(TListMenuEventIndex handler) {
        FOnAutoItemClickIndex = std::move(handler);
    }
    bool RadioMenu() const { return FRadioMenu; }
    // Takes effect at the next rebuild of the menu.
    void SetRadioMenu(bool radioMenu) { FRadioMenu = radioMenu; }

  protected:
    // The click on one of the list's menu items.
    virtual void MenuClick(QAction* sender);

  private:
    struct TEntry {
        QString Text;
        QObject* Object = nullptr;
    };

    void InsertOnTop(const QString& s, QObject* object);
    void ClearMenu();
    void UpdateMenu();
    void ClearStrList();
    void UpdateStrList();
    QString MenuCaption(int index) const;

    QList<TEntry> FEntries;
    QPointer<QMenu> FMenu;
    QPointer<QMenu> FMenu2;
    QStringList* FList = nullptr;
    int SeparatorCount = 0;
    int ListSizeBefore = 0;
    int MenuSizeBefore = 0;
    TListMenuEvent FOnAutoItemClick;
    TListMenuEventIndex FOnAutoItemClickIndex;
    bool FRadioMenu = false;
    QString FCheckedItem;
    int FMaxLen = 15;
    Qt::CaseSensitivity FCaseSensitivity = Qt::CaseInsensitive;
    QPointer<QActionGroup> FRadioGroup;
};

// An editable combo box whose drop-down list is its history. The text enters the history when
// the focus leaves the box; the history is read from and written to a settings-file section.
//
// Saving: the window that owns the box calls SaveHistory while it is being destroyed, so that
// a write error reaches it as IniFiles::EIniFileError and can be shown. When that did not
// happen, the destructor saves instead; a destructor must not raise, so it only logs a failure.
class THistoryCombo : public QComboBox {
    Q_OBJECT

  public:
    explicit THistoryCombo(QWidget* parent = nullptr);
    ~THistoryCombo() override;

    THistoryList& HistoryList() { return FHistoryList; }
    const THistoryList& HistoryList() const { return FHistoryList; }

    // Shows the box without drop-down list; the text stays editable.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool readOnly);
    // The text at the last focus loss differed (without regard to case) from the text it had
    // when the focus came.
    bool Modified() const { return FModified; }
    void SetModified(bool modified) { FModified = modified; }
    // Add the text to the history when the focus leaves; true by default.
    bool AutoUpdate() const { return FAutoUpdate; }
    void SetAutoUpdate(bool autoUpdate) { FAutoUpdate = autoUpdate; }
    const QString& IniFileName() const { return FIniFileName; }
    void SetIniFileName(const QString& iniFileName) { FIniFileName = iniFileName; }
    const QString& IniSection() const { return FIniSection; }
    void SetIniSection(const QString& iniSection) { FIniSection = iniSection; }
    // Empty the section before saving; false by default.
    bool EraseSection() const { return FEraseSection; }
    void SetEraseSection(bool eraseSection) { FEraseSection = eraseSection; }
    int MaxItems() const { return FHistoryList.MaxLen(); }
    void SetMaxItems(int maxItems) { FHistoryList.SetMaxLen(maxItems); }

    // Remembers the file and section for saving; loads the history from them when the file
    // exists (a missing file leaves the history as it is).
    void LoadFromIni(const QString& iniName, const QString& iniSection);
    // The same from a settings file already read (the window reads its file once).
    void LoadFromIni(const IniFiles::TIniFile& ini, const QString& iniSection);
    void AssignList(const QStringList& list);
    // Fills the drop-down list from the history, keeping the edit text, and picks the style:
    // simple (no drop-down list) when the history is empty or ReadOnly is set.
    void UpdateList();
    void AddItem(const QString& s);
    void AddItemObject(const QString& s, QObject* object);
    void DeleteItem(const QString& s);
    // The first entry that begins with `text` without regard to case, or -1.
    int FindItem(const QString& text) const;

    // Writes the history to IniFileName/IniSection when both are set; raises
    // IniFiles::EIniFileError when that fails. The destructor then does not save again.
    void SaveHistory();
    // The same into the settings file the window saves with everything else; the window
    // calls UpdateFile and sees the error.
    void SaveHistory(IniFiles::TIniFile& ini);

    bool IsSimpleStyle() const { return FSimpleStyle; }

    // A simple box has no list to drop down.
    void showPopup() override;
    void hidePopup() override;

  Q_SIGNALS:
    void ClosedUp();  // the drop-down list has closed

  protected:
    virtual void DoEnter();
    virtual void DoExit();

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void FocusEntered();
    void FocusLeft(const QFocusEvent* event);
    void SetSimpleStyle(bool simple);

    QString FSaveText;
    bool FReadOnly = false;
    bool FModified = false;
    bool FAutoUpdate = true;
    QString FIniFileName;
    QString FIniSection;
    THistoryList FHistoryList;
    bool FEraseSection = false;
    bool FSimpleStyle = false;
    bool FHasFocus = false;
    bool FHistorySaved = false;
};

// Shows an editable combo box as a plain edit field, without drop-down button, while `simple`
// is set; its list stays. Boxes whose list is empty look so.
void SetSimpleComboLook(QComboBox* box, bool simple);

}  // namespace HListBox
