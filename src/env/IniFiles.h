// The settings-file reader and writer: INI files with the Windows private-profile rules, kept
// line by line so that everything we do not change stays as it was, and written atomically.
//
// Reading rules (those of GetPrivateProfileString):
// - section and key names compare without regard to case and are trimmed of blanks (spaces
//   and tabs), also inside the brackets: "[ Config ]" is the section "Config";
// - the first section of a name is the section, the first key of a name in it is the key;
//   later duplicates stay in the file but are never read or written;
// - a value is trimmed of blanks, then of one pair of double quotes enclosing all of it;
// - a line whose first non-blank character is ";" or "#" is a comment; a line that is neither
//   "[section]" nor "key=value" is kept in place and otherwise ignored, as are keys before the
//   first section;
// - the file is UTF-8, with or without a byte-order mark; LF and CR LF line ends are read.
//
// Writing keeps every line it does not change byte for byte (its line end included). A
// changed key keeps its spelling and the text before its value ("Top = 5" becomes "Top = 7");
// a new key goes after the last key of its section, a new section at the end of the file. New
// lines end as the file's first line does (LF when there is none; CR LF on Windows).
#pragma once

#include <memory>
#include <vector>

#include <QString>
#include <QStringList>

#include "Catalog.h"
#include "ExtFileStream.h"

namespace IniFiles {

// "Unable to write to %s": the settings file's name as it was given.
inline constexpr Catalog::TResourceString SIniFileWriteError =
    Catalog::ResourceString("Unable to write to %s");

// "... not saved in %s ...": the values a settings file could not hold follow, one a line.
inline constexpr Catalog::TResourceString SIniValuesNotSaved = Catalog::ResourceString(
    "These values were not saved in %s, since a settings file cannot hold a line break:");

// A value left out of a settings file: where it belonged and what it was.
struct TSkippedValue {
    QString Section;
    QString Key;
    QString Value;
};

// A settings file could not be written, or a value could never be written to it. The message
// is the translated SIniFileWriteError, or SIniValuesNotSaved with the values; ErrorCode is the
// system's code of the failed call when known (ENOENT for a missing folder, ENOSPC for a full
// disk, ...), else EIO, and EINVAL for a name or value the file cannot hold. An EInOutError like
// the file stream's errors.
class EIniFileError : public FileUtils::EInOutError {
  public:
    using EInOutError::EInOutError;
    static EIniFileError ForFile(const QString& fileName, int errorCode);
    // Line breaks in the values are shown as \n and \r.
    static EIniFileError ForSkippedValues(const QString& fileName,
                                          const std::vector<TSkippedValue>& values);
};

namespace Detail {
struct TIniDocument;
}

// One settings file. Reading sees the file as it was when the object was created plus this
// object's own changes. Changes are kept in memory and written by UpdateFile, or by the
// destructor when some are still pending (which then swallows a failure). UpdateFile reads the
// file again as it is on disk at that moment and replays this object's changes in order on it,
// so several objects may be open on one file, each writing its own sections. Not for use from
// several threads.
class TIniFile {
  public:
    // Reads the file; a missing or unreadable file reads as empty. Never raises.
    explicit TIniFile(const QString& fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& FileName() const { return fileName_; }

    // The value, or `defaultValue` when the key is missing (an empty value is read as such).
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // The value as a decimal integer with an optional sign; `defaultValue` when the key is
    // missing or its value is not such a number or does not fit.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    // "0" is false, any other value true; `defaultValue` when the value is missing or empty.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;

    // Store a value; the section is created when missing. A value holding a line break (CR or
    // LF) could not be read back: it is left out, the key keeps what it had, and UpdateFile
    // reports it after writing everything else. Raises EIniFileError at once, and changes
    // nothing, for a name the file cannot hold: one holding a line break, an empty section or
    // key name (after trimming), a section name holding "]", or a key holding "=" or beginning
    // with "[", ";" or "#".
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);  // decimal
    void WriteBool(const QString& section, const QString& key, bool value);    // "1" or "0"

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // The key names of the section in file order, each name once, as spelt in the file.
    QStringList ReadSection(const QString& section) const;
    // The section names in file order, each name once, as first spelt in the file.
    QStringList ReadSections() const;

    // Creates the section, empty, at the end of the file when it is missing.
    void AddSection(const QString& section);

    // Removes every section of that name with its keys and the lines among them; the comment
    // and blank lines after its last key (or other content) line stay, with the section before
    // it: they usually introduce the next section.
    void EraseSection(const QString& section);
    // Removes every line of that key from every section of that name.
    void DeleteKey(const QString& section, const QString& key);

    // True while changes wait for UpdateFile.
    bool Modified() const;
    // The values left out since the last UpdateFile.
    const std::vector<TSkippedValue>& Skipped() const { return skipped_; }

    // Writes the pending changes: reads the file as it is now (missing = empty), replays the
    // changes on it and replaces it atomically (temporary file in the same folder, then a
    // rename), so the file on disk is always either the old or the new one. Nothing is written
    // when nothing changes. Raises EIniFileError when the file cannot be read or written (the
    // folder is missing, the disk is full, ...); the changes then stay pending. The folder of
    // the file is never created. When values were left out, everything else is written first,
    // then EIniFileError names them (ForSkippedValues); they are forgotten then.
    void UpdateFile();

  private:
    struct TChange;

    void WritePending();

    QString fileName_;
    std::unique_ptr<Detail::TIniDocument> document_;
    QByteArray baseline_;  // the file as it was when document_ was read or written, unchanged
    std::vector<TChange> pending_;
    std::vector<TSkippedValue> skipped_;
};

}  // namespace IniFiles
