// The real mirrowen program started as a user, a desktop or the file manager starts it, on
// temporary folders: what it answers and what it leaves in the settings file.
#include <gtest/gtest.h>

#include "ProgramTesting.h"

namespace {

class MirrowenTest : public TestSupport::ProgramTest {
  protected:
    MirrowenTest() : ProgramTest(MIRROWEN_EXECUTABLE, "mirrowen") {}
};

}  // namespace

TEST_F(MirrowenTest, HelpVersionAndUnknownOptionsAreAnswered) {
    EXPECT_EQ(Run({"--help"}), 0);
    EXPECT_TRUE(stdoutText.startsWith("Usage: mirrowen [FOLDER | FILE]"));
    EXPECT_EQ(Run({"--version"}), 0);
    EXPECT_TRUE(stdoutText.startsWith("mirrowen ")) << stdoutText.toStdString();
    // There is no unattended run: without a display nothing happens, and the user is told.
    EXPECT_EQ(Run({"-force"}), 1);
    EXPECT_TRUE(stderrText.contains("Unknown option -force (mirrowen --help lists the options)"))
        << stderrText.toStdString();
    EXPECT_TRUE(stderrText.contains("no display"));
}

// The file manager starts the program with the folder the user clicked: a folder with an entry
// shows it; for a folder without one the source dialog is open, and a logout then cancels it
// and keeps the settings whole.
TEST_F(MirrowenTest, AFolderFromTheFileManagerIsShownOrGetsItsSourceChosen) {
    const QString dst = temp.MakeFolder("dst"), other = temp.MakeFolder("other");
    const QString src = temp.MakeFolder("src"), clicked = temp.MakeFolder("Photos");
    for (const QString& argument : {dst, clicked}) {
        SCOPED_TRACE(argument.toStdString());
        WriteIni("[Config]\nLastDir=" + other + "\nDirCount=2\n[Dir00]\nName=" + dst +
                 "\nDirectory=" + src + "\n[Dir01]\nName=" + other + "\nDirectory=" + src +
                 "\nFilter=*.txt\n");
        EXPECT_TRUE(OpensWindow({argument}));
        const QString ini = IniText();
        EXPECT_TRUE(ini.contains("LastDir=" + dst + "\n")) << ini.toStdString();
        EXPECT_TRUE(ini.contains("DirCount=2\n"));
        EXPECT_FALSE(ini.contains("Name=" + clicked));
    }
}
