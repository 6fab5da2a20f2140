// The catalog layer over GNU gettext: every user-visible text is looked up by its English
// message id in the interface language.
//
// Domains: "default" (the programs' texts), "dialogs" (the shared dialogs), "units" (the
// shared modules' resource strings) and "runtime10" (toolkit texts: message-box captions and
// buttons). Catalogs are found as <catalog folder>/<language>/LC_MESSAGES/<domain>.mo.
#pragma once

#include <QString>
#include <QStringList>

namespace Catalog {

// A translatable text of a shared module, declared once with ResourceString (the marker the
// message extraction looks for) and fetched with LoadResString at the moment it is shown.
struct TResourceString {
    const char* Text;  // the English message id, UTF-8
};

consteval TResourceString ResourceString(const char* text) {
    return TResourceString{text};
}

// The text of a resource string: the first domain of the resource-string list ("default",
// then the domains added with AddResourceStringDomain) that translates it, else the English.
QString LoadResString(const TResourceString& resource);

// Translation in the domain "default".
QString gettext(const char* msgid);
// Translation in the named domain.
QString dgettext(const char* domain, const char* msgid);

// Appends a domain to the resource-string domain list; a name is never entered twice.
void AddResourceStringDomain(const QString& domain);

// Selects the language of every domain: "de", "de_AT", ...; empty means the LANG environment
// variable, then the system's language. Works whatever locales the machine has installed.
void UseLanguage(const QString& code);

// The language selected by UseLanguage, without an encoding suffix ("C" when none).
QString CurrentLanguage();

// The languages that have catalogs ("de", ...), as named by their folders.
QStringList CatalogLanguages();
// The translation of `msgid` in the domain "default" into `language`; the language in use
// stays as it was.
QString TranslationIn(const QString& language, const char* msgid);

// The folder that holds <language>/LC_MESSAGES/<domain>.mo. By default the "locale" folder
// beside the executable, else the installed share folder; tests point it elsewhere.
QString CatalogFolder();
void SetCatalogFolder(const QString& folder);

// Marks a text for extraction that is translated later (a window text that the window's
// translation pass looks up when the window is created).
inline QString N_(const char* msgid) {
    return QString::fromUtf8(msgid);
}

}  // namespace Catalog
