// The catalog layer: German whatever locales the machine has, and the lookup order of
// resource strings.
#include "Catalog.h"

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include "FormatSafe.h"

using namespace Catalog;

namespace {

// Behave like a machine that has only the C locale, whatever this one has.
void UseOnlyTheCLocale() {
    setenv("LC_ALL", "C", 1);
    unsetenv("LANGUAGE");
    std::setlocale(LC_ALL, "");
}

}  // namespace

TEST(Catalog, GermanOnAMachineWithOnlyTheCLocale) {
    UseOnlyTheCLocale();
    UseLanguage("de");
    AddResourceStringDomain("runtime10");
    AddResourceStringDomain("units");
    EXPECT_EQ(CurrentLanguage(), "de");
    EXPECT_EQ(LoadResString(StringUtils::SFormatError), "Format-Fehler: ");
    EXPECT_EQ(Catalog::dgettext("runtime10", "&Yes"), "&Ja");
    EXPECT_EQ(Catalog::gettext("Nothing to do!"), "Nichts zu tun!");
    EXPECT_EQ(Catalog::dgettext("dialogs", "Select directory"), "Verzeichnis auswählen");

    // The toolkit resets the locale from the environment when it starts; German stays.
    std::setlocale(LC_ALL, "");
    EXPECT_EQ(Catalog::gettext("  %u files copied"), "  %u Dateien kopiert");
}

TEST(Catalog, LanguageFromTheEnvironmentFallsBackToItsFirstTwoLetters) {
    UseOnlyTheCLocale();
    setenv("LANG", "de_AT.UTF-8", 1);  // no such locale is installed
    UseLanguage("");
    EXPECT_EQ(CurrentLanguage(), "de_AT");
    EXPECT_EQ(Catalog::gettext("Nothing to do!"), "Nichts zu tun!");
    unsetenv("LANG");
}

TEST(Catalog, LanguagesWithoutCatalogsStayEnglish) {
    UseOnlyTheCLocale();
    for (const char* code : {"en", "fr", "C"}) {
        UseLanguage(code);
        EXPECT_EQ(Catalog::gettext("Nothing to do!"), "Nothing to do!") << code;
        EXPECT_EQ(LoadResString(StringUtils::SFormatError), "Format error: ") << code;
    }
}

TEST(Catalog, ResourceStringsAskTheDefaultDomainFirst) {
    UseOnlyTheCLocale();
    SetCatalogFolder(QStringLiteral(TEST_CATALOG_FOLDER));
    UseLanguage("zz");
    AddResourceStringDomain("units");
    AddResourceStringDomain("units");  // entered once only
    EXPECT_EQ(LoadResString(ResourceString("Shared text")), "shared text from default");
    EXPECT_EQ(LoadResString(ResourceString("Units only")), "units only, translated");
    EXPECT_EQ(LoadResString(ResourceString("Nowhere")), "Nowhere");
    EXPECT_EQ(Catalog::dgettext("units", "Shared text"), "shared text from units");
    SetCatalogFolder(QString());  // back to the real catalogs
}
