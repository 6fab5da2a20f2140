// Program initialisation: where the language settings file lies, which language is chosen,
// and where settings live.
#include "ProgramInit.h"

#include <clocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include <QDir>

#include "Catalog.h"
#include "FaultInjection.h"
#include "TempFolder.h"

using namespace ProgramInit;

namespace {

const QString kProgram = QStringLiteral("/opt/sync/bin/pairwell");
const QStringList kDomains = {QStringLiteral("runtime10"), QStringLiteral("units")};

class ProgramInitTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("HOME", (temp / "home").toUtf8());
        qputenv("XDG_CONFIG_HOME", (temp / "config").toUtf8());
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG", "LANGUAGE"}) {
            unsetenv(variable);
        }
        temp.MakeFolder("cwd");
        previousFolder = QDir::currentPath();
        QDir::setCurrent(temp / "cwd");
    }
    void TearDown() override { QDir::setCurrent(previousFolder); }

    // Starts the program with these arguments and answers the language settings file.
    QString CfgNameFor(const QStringList& arguments) {
        SetProcessForTesting(kProgram, arguments);
        InitProgram(QStringLiteral("Quillonsoft"), QString(), kDomains);
        return CfgName();
    }

    TestSupport::TempFolder temp;
    QString previousFolder;
};

}  // namespace

TEST_F(ProgramInitTest, OptionsMoveTheLanguageSettingsFile) {
    const QString standard = temp / "config/Quillonsoft/pairwell.cfg";
    const QString cwd = QDir(temp / "cwd").absolutePath() + "/";
    const struct {
        QStringList arguments;
        QString cfgName;
    } cases[] = {
        {{}, standard},
        {{"-ini:/conf/"}, "/conf/pairwell.cfg"},
        {{"--ini=/conf/"}, "/conf/pairwell.cfg"},
        {{"-ini:/conf/my.ini"}, "/conf/pairwell.cfg"},
        {{"-ini:/conf/my.ini", "-portable"}, "/conf/my.cfg"},
        {{"-portable", "-ini:/conf/my.ini"}, "/conf/my.cfg"},
        {{"-ini:my.ini"}, standard},
        {{"-ini:my.ini", "-portable"}, "/opt/sync/bin/my.cfg"},
        {{"-portable"}, "/opt/sync/bin/pairwell.cfg"},
        {{"-p"}, "/opt/sync/bin/pairwell.cfg"},
        {{"--port"}, "/opt/sync/bin/pairwell.cfg"},
        {{"-"}, "/opt/sync/bin/pairwell.cfg"},
        {{"-portable", "-ini:sub/my.ini"}, "/opt/sync/bin/sub/my.cfg"},
        {{"-ini:sub/my.ini"}, cwd + "sub/pairwell.cfg"},
        {{"-ini:/a/", "-ini:/b/"}, "/b/pairwell.cfg"},
        {{"-ini:%appdata%/moved/"}, temp / "config/moved/pairwell.cfg"},
        {{"/portable"}, standard},        // a path on this platform, not an option
        {{"--", "-portable"}, standard},  // nothing after "--" is an option
        {{"-force", "-forced", "/home/me"}, standard},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CfgNameFor(c.arguments), c.cfgName) << c.arguments.join(' ').toStdString();
    }
}

TEST_F(ProgramInitTest, LanguageComesFromOptionThenFileThenSystem) {
    temp.WriteFile("config/Quillonsoft/pairwell.cfg", "[Language]\nLangID=German\n");
    qputenv("LANG", "fr_FR.UTF-8");
    const struct {
        QStringList arguments;
        const char* code;
    } cases[] = {
        {{"-lang:de"}, "de"},
        {{"-l:de"}, "de"},
        {{"-LANG:de"}, "de"},
        {{"--lang=de"}, "de"},
        {{"-lang:pt_BR"}, "pt"},
        {{"-:fr"}, "fr"},  // the empty name matches "lang"
        {{"-lang:de", "-lang:sv"}, "sv"},
        {{"-lang:"}, "Ge"},  // empty: the file's value, cut to two letters
        {{"-language:de"}, "Ge"},
        {{"-lang"}, "Ge"},
        {{}, "Ge"},
    };
    for (const auto& c : cases) {
        CfgNameFor(c.arguments);
        EXPECT_EQ(LanguageCode(), c.code) << c.arguments.join(' ').toStdString();
    }
    temp.WriteFile("config/Quillonsoft/pairwell.cfg", "[Language]\n");
    CfgNameFor({});
    EXPECT_EQ(LanguageCode(), "fr");  // no file value: the system's language
}

TEST_F(ProgramInitTest, SystemLanguageMapsOntoKnownCodes) {
    const struct {
        const char* variable;
        const char* value;
        const char* code;
    } cases[] = {
        {"LANG", "de_DE.UTF-8", "de"},   {"LANG", "ja_JP.UTF-8", ""}, {"LANG", "nb_NO.UTF-8", "no"},
        {"LC_MESSAGES", "sr_RS", "hr"},  {"LC_ALL", "is_IS", ""},     {"LC_ALL", "C", ""},
        {"LC_ALL", "pt_BR@latin", "pt"},
    };
    for (const auto& c : cases) {
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
            unsetenv(variable);
        setenv(c.variable, c.value, 1);
        EXPECT_EQ(GetSystemLanguageCode(), c.code) << c.variable << "=" << c.value;
    }
    setenv("LANG", "de_DE.UTF-8", 1);
    setenv("LC_ALL", "sv_SE.UTF-8", 1);  // LC_ALL decides over LANG
    EXPECT_EQ(GetSystemLanguageCode(), "sv");
}

TEST_F(ProgramInitTest, GermanThroughTheOptionOnAMachineWithOnlyTheCLocale) {
    setenv("LC_ALL", "C", 1);
    std::setlocale(LC_ALL, "");
    CfgNameFor({"-lang:de"});
    EXPECT_EQ(LanguageCode(), "de");
    EXPECT_EQ(Catalog::gettext("Synchronize folders"), "Ordner synchronisieren");
    EXPECT_EQ(Catalog::dgettext("runtime10", "&No"), "&Nein");
}

TEST_F(ProgramInitTest, SettingsFolderIsCreatedOrFallsBackToTheProgramFolder) {
    CfgNameFor({"-ini:/elsewhere/", "-portable"});
    QString appPath, userPath;
    InitPaths(appPath, userPath);
    EXPECT_EQ(appPath, temp / "config/Quillonsoft");  // options never move the settings
    EXPECT_TRUE(QDir(appPath).exists());
    EXPECT_TRUE(userPath.endsWith('/'));

    TestSupport::ScopedFault cannotCreate(Platform::FaultPoint::CreateFolder, EACCES);
    EXPECT_EQ(GetSettingsFolder("Elsewhere", true), "/opt/sync/bin/");
    EXPECT_EQ(GetSettingsFolder("Elsewhere", false), temp / "config/Elsewhere");
}
