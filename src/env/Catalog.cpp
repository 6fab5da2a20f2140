// The catalog layer over GNU gettext.
//
// glibc ignores the LANGUAGE variable while the messages locale is "C", and a chosen language
// must work on machines that have no other locale installed. So the layer sets the messages
// locale to "C.UTF-8" in that case (always present in glibc) and names the language through
// LANGUAGE; it checks this again before each lookup, since a toolkit may reset the locale.
#include "Catalog.h"

#include <libintl.h>

#include <clocale>
#include <cstring>

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include "NativeName.h"
#include "ProcessInfo.h"

extern "C" int _nl_msg_cat_cntr;  // glibc's catalog generation; raising it drops cached lookups

namespace Catalog {

namespace {

const char* const kKnownDomains[] = {"default", "dialogs", "units", "runtime10"};

struct State {
    QList<QByteArray> resourceDomains{QByteArrayLiteral("default")};
    QList<QByteArray> boundDomains;
    QString language = QStringLiteral("C");
    QString folder;
    bool languageChosen = false;
};

State& Current() {
    static State state;
    return state;
}

bool IsPlainCLocale(const char* name) {
    return name == nullptr || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0;
}

void EnsureMessagesLocale() {
    if (!Current().languageChosen) return;
    if (IsPlainCLocale(std::setlocale(LC_MESSAGES, nullptr))) {
        std::setlocale(LC_MESSAGES, "C.UTF-8");
        ++_nl_msg_cat_cntr;
    }
}

void Bind(const char* domain) {
    State& state = Current();
    for (const QByteArray& bound : state.boundDomains) {
        if (bound == domain) return;
    }
    const QByteArray folder = Platform::ToNativeName(CatalogFolder());
    bindtextdomain(domain, folder.constData());
    bind_textdomain_codeset(domain, "UTF-8");
    state.boundDomains << QByteArray(domain);
}

// The translation, or nullptr when the domain has none for this text.
const char* Lookup(const char* domain, const char* msgid) {
    Bind(domain);
    EnsureMessagesLocale();
    const char* text = ::dgettext(domain, msgid);
    return text == msgid ? nullptr : text;
}

QString DefaultCatalogFolder() {
    const QString executableFolder = QFileInfo(Platform::ExecutablePath()).absolutePath();
    const QString beside = executableFolder + QStringLiteral("/locale");
    if (QFileInfo(beside).isDir()) return beside;
    return QDir::cleanPath(executableFolder + QStringLiteral("/../share/pairwell-mirrowen/locale"));
}

}  // namespace

QString LoadResString(const TResourceString& resource) {
    for (const QByteArray& domain : Current().resourceDomains) {
        if (const char* text = Lookup(domain.constData(), resource.Text)) {
            return QString::fromUtf8(text);
        }
    }
    return QString::fromUtf8(resource.Text);
}

QString gettext(const char* msgid) {
    return dgettext("default", msgid);
}

QString dgettext(const char* domain, const char* msgid) {
    const char* text = Lookup(domain, msgid);
    return QString::fromUtf8(text != nullptr ? text : msgid);
}

void AddResourceStringDomain(const QString& domain) {
    QList<QByteArray>& domains = Current().resourceDomains;
    const QByteArray name = domain.toUtf8();
    if (!domains.contains(name)) domains << name;
}

void UseLanguage(const QString& code) {
    QString language = code;
    if (language.isEmpty()) language = qEnvironmentVariable("LANG");
    if (language.isEmpty()) {
        const QLocale system = QLocale::system();
        language = system.language() == QLocale::C ? QStringLiteral("C") : system.name();
    }
    const qsizetype dot = language.indexOf(QLatin1Char('.'));
    if (dot >= 0) language.truncate(dot);
    if (language.isEmpty()) language = QStringLiteral("C");

    State& state = Current();
    state.language = language;
    state.languageChosen = true;
    // The full code first, then its first two letters: "de_AT" finds the "de" catalogs.
    QString search = language;
    if (language.size() > 2 && language != QLatin1String("POSIX")) {
        search += QLatin1Char(':') + language.left(2);
    }
    qputenv("LANGUAGE", search.toUtf8());
    for (const char* domain : kKnownDomains)
        Bind(domain);
    EnsureMessagesLocale();
    ++_nl_msg_cat_cntr;
}

QString CurrentLanguage() {
    return Current().language;
}

QString CatalogFolder() {
    State& state = Current();
    if (state.folder.isEmpty()) state.folder = DefaultCatalogFolder();
    return state.folder;
}

void SetCatalogFolder(const QString& folder) {
    State& state = Current();
    state.folder = folder;
    state.boundDomains.clear();
    ++_nl_msg_cat_cntr;
}

QStringList CatalogLanguages() {
    QStringList languages;
    const QDir folder(CatalogFolder());
    for (const QString& language :
         folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (QFileInfo(folder.filePath(language + QStringLiteral("/LC_MESSAGES/default.mo")))
                .isFile()) {
            languages << language;
        }
    }
    return languages;
}

QString TranslationIn(const QString& language, const char* msgid) {
    State& state = Current();
    const QString language0 = state.language;
    const bool chosen0 = state.languageChosen;
    const bool variableSet = qEnvironmentVariableIsSet("LANGUAGE");
    const QByteArray variable = qgetenv("LANGUAGE");
    UseLanguage(language);
    const QString text = gettext(msgid);
    state.language = language0;
    state.languageChosen = chosen0;
    if (variableSet) {
        qputenv("LANGUAGE", variable);
    } else {
        qunsetenv("LANGUAGE");
    }
    ++_nl_msg_cat_cntr;
    return text;
}

}  // namespace Catalog
