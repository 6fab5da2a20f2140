// Shell links on Linux: symbolic links read as stored, missing files, files that are no link.
#include "ShellLinks.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include "NativeName.h"
#include "TempFolder.h"

using namespace ShellLinks;
using TestSupport::TempFolder;

namespace {

struct TLinkOutputs {
    QString target = "old";
    QString arguments = "old";
    bool runAsAdmin = true;
    QString description = "old";
    QString workingFolder = "old";

    int Read(const QString& fileName) {
        return ReadShellLink(fileName, target, arguments, runAsAdmin, description, workingFolder);
    }
    bool AllEmpty() const {
        return target.isEmpty() && arguments.isEmpty() && !runAsAdmin && description.isEmpty() &&
               workingFolder.isEmpty();
    }
};

void MakeLink(const char* target, const QString& link) {
    ASSERT_EQ(symlink(target, Platform::ToNativeName(link).constData()), 0);
}

}  // namespace

TEST(ShellLinks, ReadsTheTargetAsItIsStored) {
    TempFolder folder;
    folder.MakeFolder("dir");
    const char* targets[] = {"$HOME/docs", "%windir%/x", "../relative/dir", "dir",
                             "/no/such/target"};
    for (const char* stored : targets) {
        const QString link = folder / "target.lnk";
        unlink(Platform::ToNativeName(link).constData());
        MakeLink(stored, link);
        TLinkOutputs out;
        EXPECT_EQ(out.Read(link), kLinkRead) << stored;
        EXPECT_EQ(out.target, stored);
        EXPECT_EQ(out.arguments + out.description + out.workingFolder, "");
        EXPECT_FALSE(out.runAsAdmin);
    }
}

TEST(ShellLinks, MissingFilesGiveStatusTwoWithEmptyOutputs) {
    TempFolder folder;
    const QString file = folder.WriteFile("file", "x");
    for (const QString& name : {folder / "missing", file + "/below", QString()}) {
        TLinkOutputs out;
        EXPECT_EQ(out.Read(name), kLinkFileMissing) << name.toStdString();
        EXPECT_TRUE(out.AllEmpty());
        QString target = "old", arguments, description, workingFolder;
        EXPECT_TRUE(ReadShellLink(name, target, arguments, description, workingFolder));
        EXPECT_EQ(target, "");
    }
}

TEST(ShellLinks, ExistingEntriesThatAreNoLinkFail) {
    TempFolder folder;
    const QString file = folder.WriteFile("target.lnk", "not a link");
    for (const QString& name : {file, folder.Path()}) {
        TLinkOutputs out;
        EXPECT_LT(out.Read(name), 0) << name.toStdString();
        EXPECT_TRUE(out.AllEmpty());
        QString target = "old", arguments, description, workingFolder;
        EXPECT_FALSE(ReadShellLink(name, target, arguments, description, workingFolder));
        EXPECT_EQ(target, "");
    }
}

TEST(ShellLinks, TheBooleanFormReadsTheTarget) {
    TempFolder folder;
    const QString link = folder / "target.lnk";
    MakeLink("$HOME/docs", link);
    QString target, arguments, description, workingFolder;
    EXPECT_TRUE(ReadShellLink(link, target, arguments, description, workingFolder));
    EXPECT_EQ(target, "$HOME/docs");
}
