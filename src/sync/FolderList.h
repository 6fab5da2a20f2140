// The folder list of a program: its entries, each a first folder (the entry's name) with the
// values of its pair, kept in name order and read from and written to the settings file. The
// window shows it in its first-folder box, an unattended run reads it; it knows nothing of
// widgets.
#pragma once

#include <vector>

#include <QAbstractListModel>
#include <QString>

namespace IniFiles {
class TIniFile;
}

namespace Sync {

// The values of one entry.
struct TDirInfo {
    QString DirName;                         // the partner folder
    QString Filter = QStringLiteral("*.*");  // masks separated by ";"
    bool SubDir = true;                      // include subfolders
    bool Dupl = false;                       // only files on both sides (Pairwell)

    bool operator==(const TDirInfo&) const = default;
};

// Where a program keeps its list: "DirCount" in section "Config", and one section per entry,
// named by the prefix and the entry's position (two digits at least: RefDir00, RefDir100).
struct TFolderListLayout {
    QString SectionPrefix;        // "RefDir" for Pairwell, "Dir" for Mirrowen
    bool WithDuplicates = false;  // the key "Duplicates" is read and written
};

// Also a list model (one row per entry, its name as the text), so that a box can show it.
class TFolderList : public QAbstractListModel {
  public:
    explicit TFolderList(TFolderListLayout layout);

    int Count() const { return int(entries_.size()); }
    const QString& Name(int index) const { return entries_.at(size_t(index)).Name; }
    const TDirInfo& Info(int index) const { return entries_.at(size_t(index)).Info; }
    void SetInfo(int index, const TDirInfo& info) { entries_.at(size_t(index)).Info = info; }

    // The entry of that folder, or -1. Names compare as the file system compares them, and a
    // trailing delimiter makes no difference ("/data" and "/data/" are one folder).
    int Find(const QString& folder) const;
    // Adds an entry in name order (without regard to case, after equal names) and returns its
    // position.
    int Add(const QString& name, const TDirInfo& info);
    void Remove(int index);

    // Replaces the entries by those of the settings file: the sections below "DirCount" that
    // have a name; missing values take their defaults. Takes time in proportion to the file.
    void Load(const IniFiles::TIniFile& ini);
    // Writes "DirCount" and each entry's section, in list order. Sections numbered beyond the
    // list stay in the file (unread, since "DirCount" bounds the list).
    void Save(IniFiles::TIniFile& ini) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

  private:
    struct TEntry {
        QString Name;
        TDirInfo Info;
    };

    // Where `name` would go: after every entry that sorts before it or equal to it.
    size_t UpperBound(const QString& name) const;
    int FindExactly(const QString& name) const;

    TFolderListLayout layout_;
    std::vector<TEntry> entries_;
};

}  // namespace Sync
