// The direct settings writers, the numbered history lists and the list operations.
#include "SettingsHelpers.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "StringUtils.h"

namespace SettingsHelpers {

using IniFiles::TIniFile;

namespace {

// Applies one change and writes the file; false instead of any exception.
template <class Change>
bool WriteDirect(const QString& fileName, Change change) noexcept {
    try {
        TIniFile ini(fileName);
        change(ini);
        ini.UpdateFile();
        return true;
    } catch (...) {
        // The destructor retries pending changes and swallows a second failure; a change that
        // was refused at once was never pending.
        return false;
    }
}

QString HistoryPrefix(const QString& keyPrefix) {
    return keyPrefix.isEmpty() ? QStringLiteral("History") : keyPrefix;
}

}  // namespace

bool WriteIniString(const QString& fileName, const QString& section, const QString& key,
                    const QString& value) {
    return WriteDirect(fileName, [&](TIniFile& ini) { ini.WriteString(section, key, value); });
}

bool WriteIniInteger(const QString& fileName, const QString& section, const QString& key,
                     int value) {
    return WriteDirect(fileName, [&](TIniFile& ini) { ini.WriteInteger(section, key, value); });
}

bool WriteIniBool(const QString& fileName, const QString& section, const QString& key, bool value) {
    return WriteDirect(fileName, [&](TIniFile& ini) { ini.WriteBool(section, key, value); });
}

bool EraseIniSection(const QString& fileName, const QString& section) {
    return WriteDirect(fileName, [&](TIniFile& ini) { ini.EraseSection(section); });
}

bool FlushIniFile(const QString& fileName) {
    if (fileName.isEmpty()) return false;
    const QFileInfo info(fileName);
    if (info.exists() || info.isSymLink()) return info.isFile();
    return info.absoluteDir().exists();
}

void ReadHistory(const TIniFile& ini, const QString& section, const QString& keyPrefix,
                 QStringList& list, int count, bool replaceQuotes) {
    if (!ini.SectionExists(section)) return;
    const QString prefix = HistoryPrefix(keyPrefix);
    list.clear();
    for (int i = 0; i < count; ++i) {
        QString value = ini.ReadString(section, prefix + QString::number(i), QString());
        if (value.isEmpty()) continue;
        if (replaceQuotes)
            value = StringUtils::ReplaceChar(value, QLatin1Char('#'), QLatin1Char('"'));
        list.append(value);
    }
}

void ReadHistory(const QString& fileName, const QString& section, const QString& keyPrefix,
                 QStringList& list, int count, bool replaceQuotes) {
    const TIniFile ini(fileName);
    ReadHistory(ini, section, keyPrefix, list, count, replaceQuotes);
}

void WriteHistory(TIniFile& ini, const QString& section, const QString& keyPrefix, bool erase,
                  const QStringList& list, int count, bool replaceQuotes) {
    const QString prefix = HistoryPrefix(keyPrefix);
    if (erase) ini.EraseSection(section);
    const qsizetype n = std::min<qsizetype>(count, list.size());
    for (qsizetype i = 0; i < n; ++i) {
        QString value = list[i];
        if (replaceQuotes)
            value = StringUtils::ReplaceChar(value, QLatin1Char('"'), QLatin1Char('#'));
        ini.WriteString(section, prefix + QString::number(i), value);
    }
}

void WriteHistory(const QString& fileName, const QString& section, const QString& keyPrefix,
                  bool erase, const QStringList& list, int count, bool replaceQuotes) {
    TIniFile ini(fileName);
    WriteHistory(ini, section, keyPrefix, erase, list, count, replaceQuotes);
    ini.UpdateFile();
}

void AddToHistory(QStringList& list, const QString& text, int maxCount) {
    if (text.isEmpty()) return;
    qsizetype found = -1;
    for (qsizetype i = 0; i < list.size() && found < 0; ++i) {
        if (QString::compare(list[i], text, Qt::CaseInsensitive) == 0) found = i;
    }
    if (found == 0) return;
    if (found > 0) {
        list.move(found, 0);
        return;
    }
    if (!list.isEmpty() && list.size() >= maxCount) list.removeLast();
    list.prepend(text);
}

}  // namespace SettingsHelpers
