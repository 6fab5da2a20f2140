// The shipped catalogs: every text the code shows has a translation in the right domain, and
// every translation keeps the placeholders and the surrounding blanks of its message id.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct PoEntry {
    QString context;
    QString id;
    QString translation;
    QStringList flags;
    QString comments;  // extracted comments ("#.")
};

QString Unescape(const QString& quoted) {
    QString text;
    for (qsizetype i = 1; i + 1 < quoted.size(); ++i) {
        QChar c = quoted.at(i);
        if (c == '\\' && i + 2 < quoted.size()) {
            const QChar next = quoted.at(++i);
            c = next == 'n'   ? QChar('\n')
                : next == 't' ? QChar('\t')
                : next == 'r' ? QChar('\r')
                              : next;
        }
        text += c;
    }
    return text;
}

// A reader for the subset of the PO format that catalogs and extracted templates use.
QList<PoEntry> ReadPo(const QByteArray& content) {
    QList<PoEntry> entries;
    PoEntry entry;
    QString* target = nullptr;
    bool inEntry = false;
    const auto finish = [&] {
        if (inEntry) entries << entry;
        entry = PoEntry();
        target = nullptr;
        inEntry = false;
    };
    for (const QString& rawLine : QString::fromUtf8(content).split('\n')) {
        const QString line = rawLine.trimmed();
        if (line.startsWith("msgctxt ") && inEntry && target != &entry.context) finish();
        if (line.isEmpty()) {
            finish();
        } else if (line.startsWith("#,")) {
            entry.flags += line.mid(2).split(',', Qt::SkipEmptyParts);
        } else if (line.startsWith("#.")) {
            entry.comments += line.mid(2).trimmed() + '\n';
        } else if (line.startsWith('#')) {
            continue;
        } else if (line.startsWith("msgctxt ")) {
            target = &entry.context;
            *target = Unescape(line.mid(8));
            inEntry = true;
        } else if (line.startsWith("msgid ")) {
            target = &entry.id;
            *target = Unescape(line.mid(6));
            inEntry = true;
        } else if (line.startsWith("msgstr ")) {
            target = &entry.translation;
            *target = Unescape(line.mid(7));
        } else if (line.startsWith('"') && target != nullptr) {
            *target += Unescape(line);
        }
    }
    finish();
    entries.removeIf([](const PoEntry& e) { return e.id.isEmpty(); });  // the header
    return entries;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kCatalogs = QStringLiteral(SOURCE_FOLDER "/locale/de/LC_MESSAGES/");

QMap<QString, QList<PoEntry>> GermanCatalogs() {
    QMap<QString, QList<PoEntry>> domains;
    for (const char* domain : {"default", "dialogs", "units", "runtime10"}) {
        domains[domain] = ReadPo(ReadFile(kCatalogs + domain + ".po"));
    }
    return domains;
}

QStringList Placeholders(const QString& text) {
    static const QRegularExpression directive(R"(%(\d+:)?-?\d*(\.\d+)?[a-zA-Z%])");
    QStringList found;
    for (const auto& match : directive.globalMatch(text))
        found << match.captured();
    return found;
}

qsizetype LeadingBlanks(const QString& text) {
    qsizetype n = 0;
    while (n < text.size() && text.at(n) == ' ')
        ++n;
    return n;
}

qsizetype TrailingBlanks(const QString& text) {
    qsizetype n = 0;
    while (n < text.size() && text.at(text.size() - 1 - n) == ' ')
        ++n;
    return n;
}

// The message ids of the code, extracted the way a translator's template would be made.
QList<PoEntry> ExtractFromCode(const QStringList& folders, const QStringList& keywords) {
    QStringList files;
    for (const QString& folder : folders) {
        QDirIterator it(QStringLiteral(SOURCE_FOLDER "/") + folder, {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
    }
    if (files.isEmpty()) return {};
    QStringList arguments = {"--language=C++", "--from-code=UTF-8", "-k", "--output=-"};
    for (const QString& keyword : keywords)
        arguments << "--keyword=" + keyword;
    QProcess xgettext;
    xgettext.start(QStringLiteral(XGETTEXT_EXECUTABLE), arguments + files);
    EXPECT_TRUE(xgettext.waitForFinished(60000));
    EXPECT_EQ(xgettext.exitCode(), 0) << xgettext.readAllStandardError().toStdString();
    return ReadPo(xgettext.readAllStandardOutput());
}

bool Translates(const QList<PoEntry>& catalog, const QString& id) {
    for (const PoEntry& entry : catalog) {
        if (entry.id == id) return !entry.translation.isEmpty();
    }
    return false;
}

}  // namespace

TEST(CatalogContent, TranslationsKeepPlaceholdersAndBlanks) {
    const auto domains = GermanCatalogs();
    for (auto it = domains.begin(); it != domains.end(); ++it) {
        EXPECT_FALSE(it.value().isEmpty()) << it.key().toStdString();
        for (const PoEntry& entry : it.value()) {
            const std::string where = (it.key() + ": \"" + entry.id + "\"").toStdString();
            EXPECT_FALSE(entry.translation.isEmpty()) << where;
            EXPECT_FALSE(entry.flags.contains("fuzzy") || entry.flags.contains(" fuzzy")) << where;
            EXPECT_EQ(Placeholders(entry.translation), Placeholders(entry.id)) << where;
            EXPECT_EQ(LeadingBlanks(entry.translation), LeadingBlanks(entry.id)) << where;
            EXPECT_EQ(TrailingBlanks(entry.translation), TrailingBlanks(entry.id)) << where;
        }
    }
}

TEST(CatalogContent, EveryTextOfTheCodeHasAGermanTranslation) {
    const auto domains = GermanCatalogs();
    const QStringList resourceDomains = {"default", "runtime10", "units"};
    const QString resource = "resource string\n";
    const QString common[] = {"dgettext:1c,2", "ResourceString:1,\"resource string\""};

    // Window texts marked with N_ are translated in the dialogs' domain inside src/dialogs and
    // in "default" everywhere else.
    const struct {
        QStringList folders;
        QString plainDomain;
    } groups[] = {
        {{"src/dialogs"}, "dialogs"},
        {{"src/platform", "src/fileutils", "src/env", "src/sync", "src/shell", "src/window",
          "programs"},
         "default"},
    };
    int checked = 0;
    for (const auto& group : groups) {
        const QStringList keywords = {common[0], common[1], "gettext", "N_", "TranslationIn:2"};
        for (const PoEntry& entry : ExtractFromCode(group.folders, keywords)) {
            ++checked;
            const std::string where = ("\"" + entry.id + "\"").toStdString();
            if (!entry.context.isEmpty()) {
                EXPECT_TRUE(Translates(domains.value(entry.context), entry.id))
                    << where << " in " << entry.context.toStdString();
            } else if (entry.comments.contains(resource)) {
                bool found = false;
                for (const QString& domain : resourceDomains) {
                    found = found || Translates(domains.value(domain), entry.id);
                }
                EXPECT_TRUE(found) << where << " as a resource string";
            } else {
                EXPECT_TRUE(Translates(domains.value(group.plainDomain), entry.id))
                    << where << " in " << group.plainDomain.toStdString();
            }
        }
    }
    EXPECT_GT(checked, 0) << "no message ids were extracted: the extraction is broken";
}
