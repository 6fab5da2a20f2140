// Placeholder expansion: both tables, letter case, final delimiters, unknown placeholders and
// the Program Files kinds with and without their environment variables.
#include "PlaceHolders.h"

#include <optional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ScopedEnvironment.h"

#include "ProgramInit.h"
#include "SpecialFolders.h"
#include "TempFolder.h"

using namespace PlaceHolders;
using Platform::GetSpecialFolderPath;
using TestSupport::TempFolder;

namespace {

// Sets or removes environment variables for one test and puts the old values back.
// A home folder of its own, the application-data folder named with a trailing delimiter, and
// none of the Windows variables set.
class PlaceHoldersTest : public ::testing::Test {
  protected:
    void SetUp() override {
        environment_.Set("HOME", home_.Path());
        environment_.Set("XDG_CONFIG_HOME", home_ / "cfg/");
        for (const char* name :
             {"XDG_DATA_HOME", "XDG_CONFIG_DIRS", "ProgramFiles(x86)", "CommonProgramFiles(x86)",
              "ProgramW6432", "CommonProgramW6432", "ALLUSERSPROFILE", "PUBLIC"})
            environment_.Unset(name);
    }

    QString Home() const { return home_.Path().chopped(1); }

    TempFolder home_;
    TestSupport::ScopedEnvironment environment_;
};

}  // namespace

TEST_F(PlaceHoldersTest, ReplacesFoldersIgnoringCaseWithOneDelimiter) {
    const QString config = Home() + "/cfg";
    const QString programFiles = GetSpecialFolderPath(Platform::kCsidlProgramFiles);
    ASSERT_FALSE(programFiles.isEmpty());
    const struct {
        const char* text;
        QString expected;
    } cases[] = {
        {"%AppData%/Cfg", config + "/Cfg"},
        {"%appdata%/Cfg", config + "/Cfg"},
        {"%APPPATH%/x.ini", config + "/x.ini"},
        {"%appdata%:%APPDATA%", config + ":" + config},
        {"%userprofile%/a", Home() + "/a"},
        {"%Profile%/a", Home() + "/a"},
        {"%localappdata%/a", Home() + "/.local/share/a"},
        {"%perspath%/a", Home() + "/Documents/a"},
        {"%desktop%/a", Home() + "/Desktop/a"},
        {"%favorites%/a", "/a"},
        {"%progfiles%/a", programFiles + "/a"},
        {"%programfiles(x86)%/a", programFiles + "/a"},
        {"%ProgramFiles%/a", programFiles + "/a"},
        {"%commonprogramfiles%/a", programFiles + "/share/a"},
        {"%programdata%/a", "/etc/xdg/a"},
        {"%public%/a", Home() + "/Public/a"},
        {"a%user%b", "ab"},
        {"a%Computer%b", "ab"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExpandPlaceholders(c.text), c.expected) << c.text;
    }
}

TEST_F(PlaceHoldersTest, LeavesUnknownPlaceholdersAndLonePercentSigns) {
    for (const char* text :
         {"", "%", "%%", "50% off", "%other%/x", "%appdata", "appdata%", "%user %", "%UserX%"}) {
        EXPECT_EQ(ExpandPlaceholders(text), text);
    }
}

TEST_F(PlaceHoldersTest, InsertsTheUserAndComputerNames) {
    const QString user = GetUserLoginName();
    ASSERT_FALSE(user.isEmpty());
    EXPECT_EQ(ExpandPlaceholders("/x/%username%.ini"), "/x/" + user + ".ini");
    EXPECT_EQ(ExpandPlaceholders("%UserName%-%user%"), user + "-");
    EXPECT_EQ(ExpandPlaceholders("%computername%"), GetLocalComputerName());
}

TEST_F(PlaceHoldersTest, InsertsTheProgramsFolderWithoutItsDelimiter) {
    ProgramInit::SetProcessForTesting("/opt/tools/bin/prog", {});
    EXPECT_EQ(ExpandPlaceholders("%progpath%/my.ini"), "/opt/tools/bin/my.ini");
    ProgramInit::SetProcessForTesting(QString(), {});
}

TEST_F(PlaceHoldersTest, ProgramFilesKindsReadTheirVariableFirst) {
    const QString programFiles = GetSpecialFolderPath(Platform::kCsidlProgramFiles);
    const QString common = GetSpecialFolderPath(Platform::kCsidlProgramFilesCommon);
    const struct {
        int kind;
        const char* variable;  // nullptr: none set
        const char* value;
        QString expected;
    } cases[] = {
        {4, "ProgramW6432", "/opt/w64", "/opt/w64"},
        {4, "ProgramW6432", "", programFiles},
        {4 | 0x80, "ProgramW6432", "/opt/w64", "/opt/w64"},  // only bits 0-6 count
        {2, "ProgramFiles(x86)", "/opt/x86", "/opt/x86"},
        {2, nullptr, nullptr, programFiles},
        {3, "CommonProgramFiles(x86)", "/opt/c86", "/opt/c86"},
        {3, nullptr, nullptr, common},
        {5, "CommonProgramW6432", "/opt/c64", "/opt/c64"},
        {5, "CommonProgramW6432", "", common},
        {0, "ProgramW6432", "/opt/w64", programFiles},
        {1, "ProgramFiles(x86)", "/opt/x86", programFiles},
    };
    for (const auto& c : cases) {
        TestSupport::ScopedEnvironment variable;
        if (c.variable) variable.Set(c.variable, c.value);
        EXPECT_EQ(GetProgramFilesFolder(c.kind), c.expected)
            << "kind " << c.kind << " " << (c.variable ? c.variable : "");
    }
}

TEST_F(PlaceHoldersTest, VariableValuesLoseTheirFinalDelimiterOnlyWhenInserted) {
    environment_.Set("ProgramW6432", "/opt/w64/");
    EXPECT_EQ(GetProgramFilesFolder(4), "/opt/w64/");
    EXPECT_EQ(ExpandPlaceholders("%programfiles%/x"), "/opt/w64/x");
}

TEST_F(PlaceHoldersTest, AllUsersAndPublicFolders) {
    EXPECT_EQ(GetAllUsersFolder(), "/etc/xdg");
    environment_.Set("XDG_CONFIG_DIRS", "relative/dir:/etc/site:/etc/other");
    EXPECT_EQ(GetAllUsersFolder(), "/etc/site");
    environment_.Set("ALLUSERSPROFILE", "/srv/all");
    EXPECT_EQ(GetAllUsersFolder(), "/srv/all");

    EXPECT_EQ(GetPublicFolder(), Home() + "/Public");
    environment_.Set("PUBLIC", "/srv/public");
    EXPECT_EQ(GetPublicFolder(), "/srv/public");
}

TEST_F(PlaceHoldersTest, LaterEntriesExpandValuesInsertedByEarlierOnes) {
    environment_.Set("ALLUSERSPROFILE", "%userprofile%/all");
    EXPECT_EQ(ExpandPlaceholders("%allusersprofile%/x"), Home() + "/all/x");
}
