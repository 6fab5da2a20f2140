// Special folders: the XDG folders, the program's installation folders, unknown numbers.
#include "SpecialFolders.h"

#include <optional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ScopedEnvironment.h"

#include <QDir>
#include <QFileInfo>

#include "ProcessInfo.h"
#include "TempFolder.h"

using namespace Platform;
using TestSupport::TempFolder;

namespace {

// Sets or removes environment variables for one test and puts the old values back.
// A fresh home folder without any XDG settings.
class SpecialFolders : public ::testing::Test {
  protected:
    void SetUp() override {
        environment_.Set("HOME", home_.Path());
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"})
            environment_.Unset(name);
    }

    QString Home() const { return home_.Path().chopped(1); }

    TempFolder home_;
    TestSupport::ScopedEnvironment environment_;
};

}  // namespace

TEST_F(SpecialFolders, UserFoldersFollowTheXdgDefaultsWithoutTrailingDelimiter) {
    const struct {
        int csidl;
        const char* relative;
    } cases[] = {
        {kCsidlDesktop, "/Desktop"}, {kCsidlPersonal, "/Documents"},
        {kCsidlAppData, "/.config"}, {kCsidlLocalAppData, "/.local/share"},
        {kCsidlProfile, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(GetSpecialFolderPath(c.csidl), Home() + c.relative) << "CSIDL " << c.csidl;
    }
}

TEST_F(SpecialFolders, AskingCreatesNoFolder) {
    for (int csidl : {0, 5, 6, 26, 28, 38, 40, 43})
        GetSpecialFolderPath(csidl);
    EXPECT_TRUE(TestSupport::Entries(home_.Path()).isEmpty());
}

TEST_F(SpecialFolders, XdgVariablesNameTheDataFolders) {
    TempFolder config;
    TempFolder data;
    environment_.Set("XDG_CONFIG_HOME", config.Path());
    environment_.Set("XDG_DATA_HOME", data.Path());
    EXPECT_EQ(GetSpecialFolderPath(kCsidlAppData), config.Path().chopped(1));
    EXPECT_EQ(GetSpecialFolderPath(kCsidlLocalAppData), data.Path().chopped(1));
}

TEST_F(SpecialFolders, DocumentsAndDesktopComeFromTheUserDirsFile) {
    home_.WriteFile(".config/user-dirs.dirs",
                    "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\nXDG_DESKTOP_DIR=\"$HOME/Top\"\n");
    EXPECT_EQ(GetSpecialFolderPath(kCsidlPersonal), Home() + "/Papers");
    EXPECT_EQ(GetSpecialFolderPath(kCsidlDesktop), Home() + "/Top");
}

TEST_F(SpecialFolders, ProgramFilesIsTheFolderAboveTheProgramsFolder) {
    const QString programFolder = QFileInfo(ExecutablePath()).absolutePath();
    const QString expected = QFileInfo(programFolder).absolutePath();
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(GetSpecialFolderPath(kCsidlProgramFiles), expected);
    EXPECT_EQ(GetSpecialFolderPath(kCsidlProgramFilesCommon), expected + "/share");
}

TEST_F(SpecialFolders, FavoritesAndUnknownNumbersAreEmpty) {
    for (int csidl : {kCsidlFavorites, 7, 27, -1, 1000})
        EXPECT_EQ(GetSpecialFolderPath(csidl), QString()) << "CSIDL " << csidl;
}
