// The settings-file reader and writer: a line-preserving model of an INI file, the private-
// profile reading rules, and the atomic replay of one object's changes onto the file on disk.
#include "IniFiles.h"

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

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

#ifdef _WIN32
const QByteArray kNativeEol = QByteArrayLiteral("\r\n");
#else
const QByteArray kNativeEol = QByteArrayLiteral("\n");
#endif

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
// changed is written back exactly, even when it is not valid UTF-8.
struct TLine {
    QByteArray Text;  // without the line end
    QByteArray Eol;   // "\n", "\r\n", "\r" or empty (the last line of a file without one)
    TLineKind Kind = TLineKind::Other;
    QString Name;   // section or key: the name trimmed of blanks
    QString Fold;   // Name case-folded
    QString Value;  // key: the value trimmed of blanks and of one pair of enclosing quotes
    qsizetype ValueStart = 0;  // key: where the value's bytes begin in Text

    static TLine Parse(QByteArray text, QByteArray eol);
};

TLine TLine::Parse(QByteArray text, QByteArray eol) {
    TLine line;
    line.Text = std::move(text);
    line.Eol = std::move(eol);
    const QByteArray& t = line.Text;
    qsizetype begin = 0;
    while (begin < t.size() && IsBlank(t[begin]))
        ++begin;
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
        const qsizetype close = t.indexOf(']', begin + 1);
        if (close >= 0) {
            line.Kind = TLineKind::Section;
            line.Name = QString::fromUtf8(TrimBlanks(t.mid(begin + 1, close - begin - 1)));
            line.Fold = Folded(line.Name);
        }
        return line;
    }
    const qsizetype equals = t.indexOf('=', begin);
    if (equals < 0) return line;
    const QByteArray key = TrimBlanks(t.mid(begin, equals - begin));
    if (key.isEmpty()) return line;
    line.Kind = TLineKind::Key;
    line.Name = QString::fromUtf8(key);
    line.Fold = Folded(line.Name);
    line.ValueStart = equals + 1;
    while (line.ValueStart < t.size() && IsBlank(t[line.ValueStart]))
        ++line.ValueStart;
    QByteArray value = TrimBlanks(t.mid(line.ValueStart));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.mid(1, value.size() - 2);
    line.Value = QString::fromUtf8(value);
    return line;
}

// A section with its lines, the header first. The file's lines before its first header form
// a section without header, which is never looked up.
struct TSection {
    std::vector<TLine> Lines;
    bool HasHeader = false;
    QHash<QString, qsizetype> Keys;  // folded key name -> its first line
    qsizetype LastKey = -1;          // the last key line, -1 when there is none

    const QString& Fold() const { return Lines.front().Fold; }

    void Reindex() {
        Keys.clear();
        LastKey = -1;
        for (qsizetype i = 0; i < qsizetype(Lines.size()); ++i) {
            if (Lines[i].Kind != TLineKind::Key) continue;
            if (!Keys.contains(Lines[i].Fold)) Keys.insert(Lines[i].Fold, i);
            LastKey = i;
        }
    }

    const TLine* FindKey(const QString& fold) const {
        const auto it = Keys.constFind(fold);
        return it == Keys.constEnd() ? nullptr : &Lines[*it];
    }
};

struct TIniDocument {
    bool Bom = false;
    QByteArray DefaultEol = kNativeEol;
    std::vector<TSection> Sections;          // [0]: the lines before the first header
    QHash<QString, qsizetype> SectionIndex;  // folded section name -> its first section

    TIniDocument() { Sections.emplace_back(); }

    void Parse(const QByteArray& content);
    QByteArray Serialize() const;
    void ReindexSections();

    const TSection* Find(const QString& fold) const {
        const auto it = SectionIndex.constFind(fold);
        return it == SectionIndex.constEnd() ? nullptr : &Sections[*it];
    }

    // Names are trimmed and valid here.
    void Write(const QString& section, const QString& key, const QString& value);
    // The section of that name, appended at the end of the file when missing.
    TSection& Ensure(const QString& section);
    void DeleteKey(const QString& section, const QString& key);
    void EraseSection(const QString& section);
};

void TIniDocument::Parse(const QByteArray& content) {
    Sections.clear();
    Sections.emplace_back();
    Bom = content.startsWith(kBom);
    bool eolSeen = false;
    qsizetype pos = Bom ? 3 : 0;
    while (pos < content.size()) {
        qsizetype end = content.indexOf('\n', pos);
        QByteArray eol;
        qsizetype next = 0;
        if (end < 0) {
            end = content.size();
            next = end;
            if (end > pos && content[end - 1] == '\r') {
                --end;
                eol = QByteArrayLiteral("\r");
            }
        } else {
            next = end + 1;
            eol = QByteArrayLiteral("\n");
            if (end > pos && content[end - 1] == '\r') {
                --end;
                eol = QByteArrayLiteral("\r\n");
            }
        }
        if (!eolSeen && eol.endsWith('\n')) {
            DefaultEol = eol;
            eolSeen = true;
        }
        TLine line = TLine::Parse(content.mid(pos, end - pos), std::move(eol));
        if (line.Kind == TLineKind::Section) {
            Sections.emplace_back();
            Sections.back().HasHeader = true;
        }
        Sections.back().Lines.push_back(std::move(line));
        pos = next;
    }
    for (TSection& section : Sections)
        section.Reindex();
    ReindexSections();
}

QByteArray TIniDocument::Serialize() const {
    QByteArray out;
    if (Bom) out += kBom;
    const TLine* last = nullptr;
    for (const TSection& section : Sections) {
        for (const TLine& line : section.Lines) {
            // A line that was the file's last one, without a line end or with a lone CR, gets
            // a full one when something now follows it.
            if (last) {
                if (last->Eol.isEmpty())
                    out += DefaultEol;
                else if (last->Eol == "\r")
                    out += "\r\n";
                else
                    out += last->Eol;
            }
            out += line.Text;
            last = &line;
        }
    }
    if (last) out += last->Eol;
    return out;
}

void TIniDocument::ReindexSections() {
    SectionIndex.clear();
    for (qsizetype i = 1; i < qsizetype(Sections.size()); ++i) {
        const QString& fold = Sections[i].Fold();
        if (!fold.isEmpty() && !SectionIndex.contains(fold)) SectionIndex.insert(fold, i);
    }
}

TSection& TIniDocument::Ensure(const QString& section) {
    const QString sectionFold = Folded(section);
    auto found = SectionIndex.constFind(sectionFold);
    if (found == SectionIndex.constEnd()) {
        TSection added;
        added.HasHeader = true;
        added.Lines.push_back(TLine::Parse('[' + section.toUtf8() + ']', DefaultEol));
        Sections.push_back(std::move(added));
        found = SectionIndex.insert(sectionFold, qsizetype(Sections.size()) - 1);
    }
    return Sections[*found];
}

void TIniDocument::Write(const QString& section, const QString& key, const QString& value) {
    TSection& target = Ensure(section);
    const QString keyFold = Folded(key);
    const auto existing = target.Keys.constFind(keyFold);
    if (existing != target.Keys.constEnd()) {
        // Keep the key's spelling and everything before the value.
        TLine& line = target.Lines[*existing];
        line = TLine::Parse(line.Text.left(line.ValueStart) + value.toUtf8(), line.Eol);
        return;
    }
    // After the last key; only blank, comment and other lines follow it, so no key moves.
    const qsizetype at = target.LastKey >= 0 ? target.LastKey + 1 : 1;
    target.Lines.insert(target.Lines.begin() + at,
                        TLine::Parse(key.toUtf8() + '=' + value.toUtf8(), DefaultEol));
    target.Keys.insert(keyFold, at);
    target.LastKey = at;
}

void TIniDocument::DeleteKey(const QString& section, const QString& key) {
    const QString sectionFold = Folded(section);
    const QString keyFold = Folded(key);
    for (qsizetype i = 1; i < qsizetype(Sections.size()); ++i) {
        TSection& s = Sections[i];
        if (s.Fold() != sectionFold || !s.Keys.contains(keyFold)) continue;
        std::erase_if(s.Lines, [&keyFold](const TLine& line) {
            return line.Kind == TLineKind::Key && line.Fold == keyFold;
        });
        s.Reindex();
    }
}

void TIniDocument::EraseSection(const QString& section) {
    const QString fold = Folded(section);
    if (!SectionIndex.contains(fold)) return;
    for (qsizetype i = qsizetype(Sections.size()) - 1; i >= 1; --i) {
        TSection& s = Sections[i];
        if (s.Fold() != fold) continue;
        // Blank and comment lines after the section's last content line stay, with the
        // section before it: they usually introduce the next section.
        qsizetype contentEnd = 0;
        for (qsizetype j = 1; j < qsizetype(s.Lines.size()); ++j) {
            const TLineKind kind = s.Lines[j].Kind;
            if (kind != TLineKind::Blank && kind != TLineKind::Comment) contentEnd = j;
        }
        std::vector<TLine>& before = Sections[i - 1].Lines;
        before.insert(before.end(), std::make_move_iterator(s.Lines.begin() + contentEnd + 1),
                      std::make_move_iterator(s.Lines.end()));
        Sections.erase(Sections.begin() + i);
    }
    ReindexSections();
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
    if (ReadFileBytes(fileName_, content, exists) == 0) document_->Parse(content);
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
    return line ? line->Value : defaultValue;
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
                       !k.startsWith(QLatin1Char('#')) && !HasLineBreak(value);
    if (!valid) throw EIniFileError::ForFile(fileName_, EINVAL);
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
    for (qsizetype i = 0; i < qsizetype(s->Lines.size()); ++i) {
        const Detail::TLine& line = s->Lines[i];
        if (line.Kind == Detail::TLineKind::Key && s->Keys.value(line.Fold) == i)
            keys.append(line.Name);
    }
    return keys;
}

QStringList TIniFile::ReadSections() const {
    QStringList names;
    const auto& sections = document_->Sections;
    for (qsizetype i = 1; i < qsizetype(sections.size()); ++i) {
        const auto it = document_->SectionIndex.constFind(sections[i].Fold());
        if (it != document_->SectionIndex.constEnd() && *it == i)
            names.append(sections[i].Lines.front().Name);
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
    if (pending_.empty()) return;
    // Another object (or program) may have written the file since we read it: start from
    // what is on disk now, so that its sections survive.
    QByteArray onDisk;
    bool exists = false;
    if (const int error = ReadFileBytes(fileName_, onDisk, exists); error != 0)
        throw EIniFileError::ForFile(fileName_, error);
    auto current = std::make_unique<TIniDocument>();
    current->Parse(onDisk);
    for (const TChange& change : pending_)
        change.ApplyTo(*current);
    const QByteArray content = current->Serialize();
    const bool unchanged = exists ? content == onDisk : content.isEmpty();
    if (!unchanged) {
        if (const int error = FileUtils::WriteFileAtomically(fileName_, content); error != 0)
            throw EIniFileError::ForFile(fileName_, error);
    }
    document_ = std::move(current);
    pending_.clear();
}

}  // namespace IniFiles
