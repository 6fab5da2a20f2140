// The folder list.
#include "FolderList.h"

#include <algorithm>

#include "FileSystemOps.h"
#include "FormatSafe.h"
#include "IniFiles.h"
#include "Paths.h"

namespace Sync {

namespace {

const QString kConfig = QStringLiteral("Config");
const QString kDirCount = QStringLiteral("DirCount");
const QString kName = QStringLiteral("Name");
const QString kDirectory = QStringLiteral("Directory");
const QString kFilter = QStringLiteral("Filter");
const QString kSubdirectories = QStringLiteral("Subdirectories");
const QString kDuplicates = QStringLiteral("Duplicates");

bool NameOrder(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

QString SectionName(const QString& prefix, int index) {
    return prefix + StringUtils::ZeroPaddedInt(2, index);
}

// The position of an entry section ("RefDir07" -> 7) below `count`, or -1 for any other
// section. Only the spelling the list writes counts: "RefDir7" and "RefDir007" are not entries.
int EntryIndex(const QString& section, const QString& prefix, int count) {
    if (!section.startsWith(prefix, Qt::CaseInsensitive)) return -1;
    const QString number = section.mid(prefix.size());
    if (number.isEmpty() || !number.at(0).isDigit()) return -1;
    bool ok = false;
    const int index = number.toInt(&ok, 10);
    if (!ok || index >= count || StringUtils::ZeroPaddedInt(2, index) != number) return -1;
    return index;
}

}  // namespace

TFolderList::TFolderList(TFolderListLayout layout) : layout_(std::move(layout)) {}

size_t TFolderList::UpperBound(const QString& name) const {
    return size_t(std::upper_bound(entries_.begin(), entries_.end(), name,
                                   [](const QString& wanted, const TEntry& entry) {
                                       return NameOrder(wanted, entry.Name);
                                   }) -
                  entries_.begin());
}

int TFolderList::FindExactly(const QString& name) const {
    // Names equal without regard to case stand together, just before the upper bound.
    for (size_t i = UpperBound(name); i > 0; --i) {
        const QString& candidate = entries_[i - 1].Name;
        if (QString::compare(candidate, name, Qt::CaseInsensitive) != 0) break;
        if (QString::compare(candidate, name, Platform::kFileNameCase) == 0) return int(i - 1);
    }
    return -1;
}

int TFolderList::Find(const QString& folder) const {
    if (folder.isEmpty()) return -1;
    const int plain = FindExactly(folder);
    if (plain >= 0) return plain;
    // The other spelling of the same folder, with or without its trailing delimiter.
    const QString other = FileUtils::IncludeTrailingDelimiter(folder) == folder
                              ? FileUtils::ExcludeTrailingDelimiter(folder)
                              : FileUtils::IncludeTrailingDelimiter(folder);
    return other.isEmpty() ? -1 : FindExactly(other);
}

int TFolderList::Add(const QString& name, const TDirInfo& info) {
    const int index = int(UpperBound(name));
    beginInsertRows(QModelIndex(), index, index);
    entries_.insert(entries_.begin() + index, TEntry{name, info});
    endInsertRows();
    return index;
}

void TFolderList::Remove(int index) {
    if (index < 0 || index >= Count()) return;
    beginRemoveRows(QModelIndex(), index, index);
    entries_.erase(entries_.begin() + index);
    endRemoveRows();
}

void TFolderList::Load(const IniFiles::TIniFile& ini) {
    const int count = ini.ReadInteger(kConfig, kDirCount, 0);
    // The file's sections once, instead of a look-up for every number below the count: a
    // count far beyond the entries (a damaged file) costs nothing.
    std::vector<std::pair<int, TEntry>> found;
    for (const QString& section : ini.ReadSections()) {
        const int index = EntryIndex(section, layout_.SectionPrefix, count);
        if (index < 0) continue;
        TEntry entry;
        entry.Name = ini.ReadString(section, kName, QString());
        if (entry.Name.isEmpty()) continue;  // an entry without a name
        entry.Info.DirName = ini.ReadString(section, kDirectory, QString());
        entry.Info.Filter = ini.ReadString(section, kFilter, QStringLiteral("*.*"));
        entry.Info.SubDir = ini.ReadBool(section, kSubdirectories, true);
        if (layout_.WithDuplicates) entry.Info.Dupl = ini.ReadBool(section, kDuplicates, false);
        found.emplace_back(index, std::move(entry));
    }
    // Equal names keep the order of their sections.
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return NameOrder(a.second.Name, b.second.Name);
    });
    beginResetModel();
    entries_.clear();
    entries_.reserve(found.size());
    for (auto& [index, entry] : found)
        entries_.push_back(std::move(entry));
    endResetModel();
}

void TFolderList::Save(IniFiles::TIniFile& ini) const {
    ini.WriteInteger(kConfig, kDirCount, Count());
    for (int i = 0; i < Count(); ++i) {
        const QString section = SectionName(layout_.SectionPrefix, i);
        const TEntry& entry = entries_[size_t(i)];
        ini.EraseSection(section);
        ini.WriteString(section, kName, entry.Name);
        ini.WriteString(section, kDirectory, entry.Info.DirName);
        ini.WriteString(section, kFilter, entry.Info.Filter);
        ini.WriteBool(section, kSubdirectories, entry.Info.SubDir);
        if (layout_.WithDuplicates) ini.WriteBool(section, kDuplicates, entry.Info.Dupl);
    }
}

int TFolderList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QVariant TFolderList::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= Count()) return QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole) return QVariant();
    return Name(index.row());
}

}  // namespace Sync
