// The settings-file reader and writer: a line-preserving model of an INI file, the private-
// profile reading rules, and the atomic replay of one object's changes onto the file on disk.
#include "IniFiles.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <utility>
#include <vector>

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include "AtomicSave.h"
#include "FormatSafe.h"

namespace IniFiles {

EIniFileError EIniFileError::ForFile(const QString& fileName, int errorCode) {
    return EIniFileError(
        StringUtils::FormatSafe(Catalog::LoadResString(SIniFileWriteError), {fileName}), errorCode);
}

EIniFileError EIniFileError::ForSkippedValues(const QString& fileName,
                                              const std::vector<TSkippedValue>& values) {
    QString message =
        StringUtils::FormatSafe(Catalog::LoadResString(SIniValuesNotSaved), {fileName});
    for (const TSkippedValue& value : values) {
        QString shown = value.Value;
        shown.replace(QLatin1Char('\n'), QLatin1String("\\n"));
        shown.replace(QLatin1Char('\r'), QLatin1String("\\r"));
        message += QStringLiteral("\n[") + value.Section + QStringLiteral("] ") + value.Key +
                   QLatin1Char('=') + shown;
    }
    return EIniFileError(message, EINVAL);
}

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

// How a line ends: "\n", "\r\n", "\r", or not at all (the last line of a file without one).
enum class TEol : uint8_t { None, Lf, CrLf, Cr };

#ifdef _WIN32
constexpr TEol kNativeEol = TEol::CrLf;
#else
constexpr TEol kNativeEol = TEol::Lf;
#endif

const char* EolBytes(TEol eol) {
    switch (eol) {
        case TEol::Lf:
            return "\n";
        case TEol::CrLf:
            return "\r\n";
        case TEol::Cr:
            return "\r";
        case TEol::None:
            break;
    }
    return "";
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Blanks are spaces and tabs only, as for the private-profile functions; QString::trimmed
// would also take line breaks and other white space.
template <class Text>
Text TrimBlanks(const Text& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

// Section and key names are looked up by their case-folded form.
QString Folded(const QString& name) {
    return name.toCaseFolded();
}

bool HasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

}  // namespace

namespace Detail {

enum class TLineKind { Other, Blank, Comment, Section, Key };

// One line of the file. Text holds its bytes as they are on disk, so a line that is not
// changed is written back exactly, even when it is not valid UTF-8; a line read from the file
// only points into the file's content. Names and values are taken from Text when asked for, so
// that a large file costs little more memory than its size.
struct TLine {
    QByteArray Text;  // without the line end
    TLineKind Kind = TLineKind::Other;
    TEol Eol = TEol::None;
    qsizetype ValueStart = 0;  // key: where the value's bytes begin in Text

    static TLine Parse(QByteArray text, TEol eol);

    // Section or key: the name trimmed of blanks, and its case-folded form.
    QString Name() const;
    QString Fold() const { return Folded(Name()); }
    // Key: the value trimmed of blanks and of one pair of enclosing quotes.
    QString Value() const;
};

namespace {

qsizetype FirstNonBlank(const QByteArray& text) {
    qsizetype begin = 0;
    while (begin < text.size() && IsBlank(text[begin]))
        ++begin;
    return begin;
}

}  // namespace

TLine TLine::Parse(QByteArray text, TEol eol) {
    TLine line;
    line.Text = std::move(text);
    line.Eol = eol;
    const QByteArray& t = line.Text;
    const qsizetype begin = FirstNonBlank(t);
    if (begin == t.size()) {
        line.Kind = TLineKind::Blank;
        return line;
    }
    const char first = t[begin];
    if (first == ';' || first == '#') {
        line.Kind = TLineKind::Comment;
        return line;
    }
    if (first == '[') {
        // The name ends at the first "]"; what follows it on the line is ignored. A "[" line
        // without "]" is never a key.
        if (t.indexOf(']', begin + 1) >= 0) line.Kind = TLineKind::Section;
        return line;
    }
    // A key needs a name: something other than blanks before the "=".
    const qsizetype equals = t.indexOf('=', begin);
    if (equals <= begin) return line;
    line.Kind = TLineKind::Key;
    line.ValueStart = equals + 1;
    while (line.ValueStart < t.size() && IsBlank(t[line.ValueStart]))
        ++line.ValueStart;
    return line;
}

QString TLine::Name() const {
    const qsizetype begin = FirstNonBlank(Text);
    if (Kind == TLineKind::Section) {
        const qsizetype close = Text.indexOf(']', begin + 1);
        return QString::fromUtf8(TrimBlanks(Text.mid(begin + 1, close - begin - 1)));
    }
    if (Kind == TLineKind::Key) {
        return QString::fromUtf8(TrimBlanks(Text.mid(begin, Text.indexOf('=', begin) - begin)));
    }
    return QString();
}

QString TLine::Value() const {
    QByteArray value = TrimBlanks(Text.mid(ValueStart));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.mid(1, value.size() - 2);
    return QString::fromUtf8(value);
}

// A section with its lines, the header first. The file's lines before its first header form
// a section without header, which is never looked up. Its keys are indexed when first looked
// up, as most sections of a large file are never read; a section of a few keys is searched
// line by line, which costs less memory than a hash for each of many small sections.
struct TSection {
    std::vector<TLine> Lines;
    bool HasHeader = false;
    QString Fold;  // the folded name; empty for no name and erased sections

    // Drops the index; the next look-up builds it again.
    void Reindex() { indexed_ = false; }

    const TLine* FindKey(const QString& fold) const {
        const qsizetype at = KeyLine(fold);
        return at < 0 ? nullptr : &Lines[size_t(at)];
    }
    // The first line of that key, or -1.
    qsizetype KeyLine(const QString& fold) const {
        EnsureIndexed();
        return Lookup(fold);
    }
    // The last key line, -1 when there is none.
    qsizetype LastKey() const {
        EnsureIndexed();
        return lastKey_;
    }
    // Each key's first line, in file order.
    const std::vector<qsizetype>& FirstKeyLines() const {
        EnsureIndexed();
        return keyLines_;
    }
    // Records a key line just inserted at `at`, after every other key line.
    void KeyAppended(const QString& fold, qsizetype at) {
        EnsureIndexed();
        Add(fold, at);
        lastKey_ = at;
    }

  private:
    static constexpr size_t kHashFrom = 32;  // keys; fewer are compared one by one

    qsizetype Lookup(const QString& fold) const {
        if (!hash_.isEmpty()) return hash_.value(fold, -1);
        for (const qsizetype at : keyLines_) {
            if (QString::compare(Lines[size_t(at)].Name(), fold, Qt::CaseInsensitive) == 0)
                return at;
        }
        return -1;
    }
    void Add(const QString& fold, qsizetype at) const {
        keyLines_.push_back(at);
        if (!hash_.isEmpty()) {
            hash_.insert(fold, at);
        } else if (keyLines_.size() >= kHashFrom) {
            for (const qsizetype line : keyLines_)
                hash_.insert(Lines[size_t(line)].Fold(), line);
        }
    }
    void EnsureIndexed() const {
        if (indexed_) return;
        keyLines_.clear();
        hash_.clear();
        lastKey_ = -1;
        for (qsizetype i = 0; i < qsizetype(Lines.size()); ++i) {
            if (Lines[size_t(i)].Kind != TLineKind::Key) continue;
            const QString fold = Lines[size_t(i)].Fold();
            if (Lookup(fold) < 0) Add(fold, i);
            lastKey_ = i;
        }
        indexed_ = true;
    }

    mutable bool indexed_ = false;
    mutable std::vector<qsizetype> keyLines_;  // each key's first line, in file order
    mutable QHash<QString, qsizetype> hash_;   // folded name -> first line, for many keys
    mutable qsizetype lastKey_ = -1;
};

struct TIniDocument {
    bool Bom = false;
    TEol DefaultEol = kNativeEol;
    QByteArray Content;  // the file as read; the lines read from it point into it
    // [0]: the lines before the first header. An erased section stays in place without its
    // header and keys, holding only the lines that follow its content, so that no position
    // changes and erasing takes time in proportion to the section alone.
    std::vector<TSection> Sections;
    // Folded section name -> the positions of the sections of that name, in file order.
    QHash<QString, std::vector<qsizetype>> SectionIndex;

    TIniDocument() { Sections.emplace_back(); }

    void Parse(const QByteArray& content);
    QByteArray Serialize() const;
    void ReindexSections();

    const TSection* Find(const QString& fold) const {
        const auto it = SectionIndex.constFind(fold);
        return it == SectionIndex.constEnd() ? nullptr : &Sections[size_t(it->front())];
    }
    // The first section of a name, or -1.
    qsizetype FirstOf(const QString& fold) const {
        const auto it = SectionIndex.constFind(fold);
        return it == SectionIndex.constEnd() ? -1 : it->front();
    }

    // Names are trimmed and valid here.
    void Write(const QString& section, const QString& key, const QString& value);
    // The section of that name, appended at the end of the file when missing.
    TSection& Ensure(const QString& section);
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);
};

void TIniDocument::Parse(const QByteArray& content) {
    Content = content;
    Sections.clear();
    Sections.emplace_back();
    Bom = content.startsWith(kBom);
    bool eolSeen = false;
    qsizetype pos = Bom ? 3 : 0;
    while (pos < content.size()) {
        qsizetype end = content.indexOf('\n', pos);
        TEol eol = TEol::None;
        qsizetype next = 0;
        if (end < 0) {
            end = content.size();
            next = end;
            if (end > pos && content[end - 1] == '\r') {
                --end;
                eol = TEol::Cr;
            }
        } else {
            next = end + 1;
            eol = TEol::Lf;
            if (end > pos && content[end - 1] == '\r') {
                --end;
                eol = TEol::CrLf;
            }
        }
        if (!eolSeen && (eol == TEol::Lf || eol == TEol::CrLf)) {
            DefaultEol = eol;
            eolSeen = true;
        }
        TLine line =
            TLine::Parse(QByteArray::fromRawData(Content.constData() + pos, end - pos), eol);
        if (line.Kind == TLineKind::Section) {
            Sections.emplace_back();
            Sections.back().HasHeader = true;
            Sections.back().Fold = line.Fold();
        }
        Sections.back().Lines.push_back(std::move(line));
        pos = next;
    }
    ReindexSections();
}

QByteArray TIniDocument::Serialize() const {
    QByteArray out;
    out.reserve(Content.size() + Content.size() / 8 + 4096);
    if (Bom) out += kBom;
    const TLine* last = nullptr;
    for (const TSection& section : Sections) {
        for (const TLine& line : section.Lines) {
            // A line that was the file's last one, without a line end or with a lone CR, gets
            // a full one when something now follows it.
            if (last) {
                if (last->Eol == TEol::None)
                    out += EolBytes(DefaultEol);
                else if (last->Eol == TEol::Cr)
                    out += "\r\n";
                else
                    out += EolBytes(last->Eol);
            }
            out += line.Text;
            last = &line;
        }
    }
    if (last) out += EolBytes(last->Eol);
    return out;
}

void TIniDocument::ReindexSections() {
    SectionIndex.clear();
    for (qsizetype i = 1; i < qsizetype(Sections.size()); ++i) {
        const QString& fold = Sections[size_t(i)].Fold;
        if (!fold.isEmpty()) SectionIndex[fold].push_back(i);
    }
}

TSection& TIniDocument::Ensure(const QString& section) {
    const QString sectionFold = Folded(section);
    qsizetype found = FirstOf(sectionFold);
    if (found < 0) {
        TSection added;
        added.HasHeader = true;
        added.Lines.push_back(TLine::Parse('[' + section.toUtf8() + ']', DefaultEol));
        added.Fold = added.Lines.front().Fold();
        Sections.push_back(std::move(added));
        found = qsizetype(Sections.size()) - 1;
        SectionIndex[sectionFold].push_back(found);
    }
    return Sections[size_t(found)];
}

void TIniDocument::Write(const QString& section, const QString& key, const QString& value) {
    TSection& target = Ensure(section);
    const QString keyFold = Folded(key);
    const qsizetype existing = target.KeyLine(keyFold);
    if (existing >= 0) {
        // Keep the key's spelling and everything before the value.
        TLine& line = target.Lines[size_t(existing)];
        line = TLine::Parse(line.Text.left(line.ValueStart) + value.toUtf8(), line.Eol);
        return;
    }
    // After the last key; only blank, comment and other lines follow it, so no key moves.
    const qsizetype last = target.LastKey();
    const qsizetype at = last >= 0 ? last + 1 : 1;
    target.Lines.insert(target.Lines.begin() + at,
                        TLine::Parse(key.toUtf8() + '=' + value.toUtf8(), DefaultEol));
    target.KeyAppended(keyFold, at);
}

void TIniDocument::DeleteKey(const QString& section, const QString& key) {
    const auto found = SectionIndex.constFind(Folded(section));
    if (found == SectionIndex.constEnd()) return;
    const QString keyFold = Folded(key);
    for (const qsizetype i : *found) {
        TSection& s = Sections[size_t(i)];
        if (s.KeyLine(keyFold) < 0) continue;
        std::erase_if(s.Lines, [&keyFold](const TLine& line) {
            return line.Kind == TLineKind::Key && line.Fold() == keyFold;
        });
        s.Reindex();
    }
}

void TIniDocument::EraseSection(const QString& section) {
    const auto found = SectionIndex.find(Folded(section));
    if (found == SectionIndex.end()) return;
    for (const qsizetype i : *found) {
        TSection& s = Sections[size_t(i)];
        // Blank and comment lines after the section's last content line stay where they are:
        // they usually introduce the next section.
        qsizetype contentEnd = 0;
        for (qsizetype j = 1; j < qsizetype(s.Lines.size()); ++j) {
            const TLineKind kind = s.Lines[size_t(j)].Kind;
            if (kind != TLineKind::Blank && kind != TLineKind::Comment) contentEnd = j;
        }
        s.Lines.erase(s.Lines.begin(), s.Lines.begin() + contentEnd + 1);
        s.HasHeader = false;
        s.Fold.clear();
        s.Reindex();
    }
    SectionIndex.erase(found);
}

}  // namespace Detail

using Detail::TIniDocument;

struct TIniFile::TChange {
    enum class TKind { Write, AddSection, DeleteKey, EraseSection };
    TKind Kind;
    QString Section;
    QString Key;
    QString Value;

    void ApplyTo(TIniDocument& document) const {
        switch (Kind) {
            case TKind::Write:
                document.Write(Section, Key, Value);
                break;
            case TKind::AddSection:
                document.Ensure(Section);
                break;
            case TKind::DeleteKey:
                document.DeleteKey(Section, Key);
                break;
            case TKind::EraseSection:
                document.EraseSection(Section);
                break;
        }
    }
};

namespace {

// The file's bytes; a missing file reads as empty with `exists` false. 0 or an error code.
int ReadFileBytes(const QString& fileName, QByteArray& content, bool& exists) {
    content.clear();
    const QFileInfo info(fileName);
    exists = info.exists();
    if (!exists) return 0;
    if (!info.isFile()) return info.isDir() ? EISDIR : EINVAL;  // never block on a FIFO
    QFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) return errno != 0 ? errno : EIO;
    content = file.readAll();
    if (file.error() != QFileDevice::NoError) return errno != 0 ? errno : EIO;
    return 0;
}

}  // namespace

TIniFile::TIniFile(const QString& fileName)
    : fileName_(fileName), document_(std::make_unique<TIniDocument>()) {
    QByteArray content;
    bool exists = false;
    if (ReadFileBytes(fileName_, content, exists) == 0) {
        document_->Parse(content);
        baseline_ = content;
    }
}

TIniFile::~TIniFile() {
    if (pending_.empty()) return;
    try {
        UpdateFile();
    } catch (...) {  // a destructor never raises; the caller wanting errors calls UpdateFile
    }
}

bool TIniFile::Modified() const {
    return !pending_.empty();
}

QString TIniFile::ReadString(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    const Detail::TSection* s = document_->Find(Folded(TrimBlanks(section)));
    const Detail::TLine* line = s ? s->FindKey(Folded(TrimBlanks(key))) : nullptr;
    return line ? line->Value() : defaultValue;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const {
    const QString text = ReadString(section, key, QString());
    qsizetype digits = 0;
    if (text.startsWith(QLatin1Char('+')) || text.startsWith(QLatin1Char('-'))) digits = 1;
    if (digits == text.size()) return defaultValue;
    for (qsizetype i = digits; i < text.size(); ++i) {
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9')) return defaultValue;
    }
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const {
    const QString text = ReadString(section, key, QString());
    if (text.isEmpty()) return defaultValue;
    return text != QLatin1String("0");
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString s = TrimBlanks(section);
    const QString k = TrimBlanks(key);
    const bool valid = !s.isEmpty() && !HasLineBreak(s) && !s.contains(QLatin1Char(']')) &&
                       !k.isEmpty() && !HasLineBreak(k) && !k.contains(QLatin1Char('=')) &&
                       !k.startsWith(QLatin1Char('[')) && !k.startsWith(QLatin1Char(';')) &&
                       !k.startsWith(QLatin1Char('#'));
    if (!valid) throw EIniFileError::ForFile(fileName_, EINVAL);
    // One value the file cannot hold must not cost the others.
    if (HasLineBreak(value)) {
        skipped_.push_back({s, k, value});
        return;
    }
    TChange change{TChange::TKind::Write, s, k, value};
    change.ApplyTo(*document_);
    pending_.push_back(std::move(change));
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const QString& section) const {
    return document_->Find(Folded(TrimBlanks(section))) != nullptr;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    const Detail::TSection* s = document_->Find(Folded(TrimBlanks(section)));
    return s && s->FindKey(Folded(TrimBlanks(key)));
}

QStringList TIniFile::ReadSection(const QString& section) const {
    QStringList keys;
    const Detail::TSection* s = document_->Find(Folded(TrimBlanks(section)));
    if (!s) return keys;
    for (const qsizetype i : s->FirstKeyLines())
        keys.append(s->Lines[size_t(i)].Name());
    return keys;
}

QStringList TIniFile::ReadSections() const {
    QStringList names;
    const auto& sections = document_->Sections;
    for (qsizetype i = 1; i < qsizetype(sections.size()); ++i) {
        if (!sections[size_t(i)].HasHeader) continue;  // erased
        if (document_->FirstOf(sections[size_t(i)].Fold) == i)
            names.append(sections[size_t(i)].Lines.front().Name());
    }
    return names;
}

void TIniFile::AddSection(const QString& section) {
    const QString s = TrimBlanks(section);
    if (s.isEmpty() || HasLineBreak(s) || s.contains(QLatin1Char(']'))) {
        throw EIniFileError::ForFile(fileName_, EINVAL);
    }
    TChange change{TChange::TKind::AddSection, s, QString(), QString()};
    change.ApplyTo(*document_);
    pending_.push_back(std::move(change));
}

void TIniFile::EraseSection(const QString& section) {
    const QString s = TrimBlanks(section);
    if (s.isEmpty()) return;
    TChange change{TChange::TKind::EraseSection, s, QString(), QString()};
    change.ApplyTo(*document_);
    pending_.push_back(std::move(change));
}

void TIniFile::DeleteKey(const QString& section, const QString& key) {
    const QString s = TrimBlanks(section);
    const QString k = TrimBlanks(key);
    if (s.isEmpty() || k.isEmpty()) return;
    TChange change{TChange::TKind::DeleteKey, s, k, QString()};
    change.ApplyTo(*document_);
    pending_.push_back(std::move(change));
}

void TIniFile::UpdateFile() {
    WritePending();
    if (skipped_.empty()) return;
    std::vector<TSkippedValue> skipped;
    skipped.swap(skipped_);
    throw EIniFileError::ForSkippedValues(fileName_, skipped);
}

void TIniFile::WritePending() {
    if (pending_.empty()) return;
    // Another object (or program) may have written the file since we read it: start from
    // what is on disk now, so that its sections survive.
    QByteArray onDisk;
    bool exists = false;
    if (const int error = ReadFileBytes(fileName_, onDisk, exists); error != 0)
        throw EIniFileError::ForFile(fileName_, error);
    // When the file is as it was read, our document is what a replay would give.
    std::unique_ptr<TIniDocument> current;
    if (onDisk == baseline_) {
        onDisk = baseline_;  // one copy of the file in memory, not two
    } else {
        current = std::make_unique<TIniDocument>();
        current->Parse(onDisk);
        for (const TChange& change : pending_)
            change.ApplyTo(*current);
    }
    const QByteArray content = (current ? *current : *document_).Serialize();
    const bool unchanged = exists ? content == onDisk : content.isEmpty();
    if (!unchanged) {
        if (const int error = FileUtils::WriteFileAtomically(fileName_, content); error != 0)
            throw EIniFileError::ForFile(fileName_, error);
    }
    if (current) document_ = std::move(current);
    baseline_ = unchanged ? onDisk : content;
    pending_.clear();
}

}  // namespace IniFiles
