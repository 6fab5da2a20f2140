// The one-way run on real folders, with the exact log lines a user reads.
#include "OneWaySync.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "FaultInjection.h"
#include "NativeName.h"
#include "RecordingHost.h"
#include "TempFolder.h"

using TestSupport::Entries;
using TestSupport::Exists;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

class OneWaySyncTest : public ::testing::Test {
  protected:
    void SetUp() override {
        inputs.Destination = temp.MakeFolder("dst");
        inputs.Source = temp.MakeFolder("src");
        inputs.Filter = "*.*";
    }

    QString Dst() const { return inputs.Destination + "/"; }
    QString Src() const { return inputs.Source + "/"; }

    void Run() {
        host.IsRunning = true;
        TOneWaySync run(host);
        run.DoSync(inputs);
        host.IsRunning = false;
        errorsLogged = run.ErrorsLogged();
        refused = run.Refused();
    }

    TempFolder temp;
    TOneWayInputs inputs;
    TestSupport::RecordingHost host;
    bool errorsLogged = false;
    bool refused = false;
};

}  // namespace

TEST_F(OneWaySyncTest, IdenticalFoldersCopyNothingButCountEveryFileFound) {
    for (const char* name : {"a.txt", "b.txt"}) {
        temp.WriteFile(QString("src/") + name, "x", 1600000000);
        temp.WriteFile(QString("dst/") + name, "x", 1600000000);
    }
    Run();
    EXPECT_EQ(host.Log, QStringList({"=> Scan directory:", "  2 files found",
                                     "=> Copy files:", "  0 files copied", ""}));
    EXPECT_EQ(host.Status, "Status: 0 files copied");
    EXPECT_FALSE(errorsLogged);
    EXPECT_FALSE(refused);
}

// A missing file is copied unless only existing files are to be replaced; a newer destination
// file is never replaced.
TEST_F(OneWaySyncTest, WhatIsCopiedDependsOnTheOption) {
    struct Case {
        bool replaceOnlyExisting;
        QStringList copied;
    };
    const Case cases[] = {
        {false, {"  Copy: missing.txt", "  Copy: older.txt"}},
        {true, {"  Copy: older.txt"}},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        inputs.Destination = folder.MakeFolder("dst");
        inputs.Source = folder.MakeFolder("src");
        inputs.ReplaceOnlyExisting = c.replaceOnlyExisting;
        folder.WriteFile("src/missing.txt", "new", 1600000000);
        folder.WriteFile("src/older.txt", "new", 1600000200);
        folder.WriteFile("dst/older.txt", "old", 1600000100);
        folder.WriteFile("src/newer.txt", "old", 1600000100);
        folder.WriteFile("dst/newer.txt", "new", 1600000200);
        Run();
        QStringList expected = {"=> Scan directory:", "  3 files found", "=> Copy files:"};
        expected << c.copied << QString("  %1 files copied").arg(c.copied.size()) << "";
        EXPECT_EQ(host.Log, expected) << c.replaceOnlyExisting;
        EXPECT_EQ(ReadAll(Dst() + "newer.txt"), "new");
        EXPECT_EQ(ReadAll(Dst() + "older.txt"), "new");
        EXPECT_EQ(Exists(Dst() + "missing.txt"), !c.replaceOnlyExisting);
    }
}

// A new source folder is created in the destination and named once; with "Replace only
// existing files" it is left out, and nothing is created.
TEST_F(OneWaySyncTest, NewSubfolderIsCreatedOnceOrLeftOutWithTheOption) {
    temp.WriteFile("src/new/deeper/one.txt", "1");
    temp.WriteFile("src/new/deeper/two.txt", "2");
    temp.WriteFile("src/new/three.txt", "3");
    Run();
    EXPECT_EQ(host.Log, QStringList({"=> Scan directory:", "  3 files found", "=> Copy files:",
                                     "  Create subdirectory: " + Dst() + "new/deeper/",
                                     "  Copy: new/deeper/one.txt", "  Copy: new/deeper/two.txt",
                                     "  Copy: new/three.txt", "  3 files copied", ""}));

    TempFolder other;
    inputs.Destination = other.MakeFolder("dst");
    inputs.ReplaceOnlyExisting = true;
    Run();
    EXPECT_EQ(host.Status, "Status: 0 files copied");
    EXPECT_TRUE(Entries(Dst()).isEmpty());
}

TEST_F(OneWaySyncTest, RefusedRunsLeaveTheLogAndStatusAlone) {
    const QString inner = temp.MakeFolder("src/inner");
    const struct {
        QString destination, source, filter;
        QString error;
    } cases[] = {
        {temp / "missing", Src(), "*.*", "Directory not found: " + temp / "missing/"},
        {QString(), Src(), "*.*", "Directory not found: "},
        {Dst(), QString(), "*.*", "Directory not found: "},
        {inner, Src(), "*.*", "Folders must not contain each other: " + inner + "/ <=> " + Src()},
        {Src(), inner, "*.*",
         "Folders must not contain each other: " + Src() + " <=> " + inner + "/"},
        {Dst(), Src(), "sub/*.txt",
         "The filter must hold file name masks such as *.txt, separated by \";\": sub/*.txt"},
    };
    for (const auto& c : cases) {
        inputs.Destination = c.destination;
        inputs.Source = c.source;
        inputs.Filter = c.filter;
        host.Log = {"earlier line"};
        host.Status = "earlier status";
        host.Errors.clear();
        Run();
        EXPECT_EQ(host.Errors, QStringList({c.error}));
        EXPECT_EQ(host.Log, QStringList({"earlier line"}));
        EXPECT_EQ(host.Status, "earlier status");
        EXPECT_TRUE(refused);
    }
}

TEST_F(OneWaySyncTest, StopDuringTheScanSkipsTheCopyPass) {
    temp.WriteFile("src/top.txt", "x");
    temp.WriteFile("src/sub/below.txt", "x");
    host.OnProcessEvents = [&] { host.IsRunning = false; };
    Run();
    EXPECT_EQ(host.Log,
              QStringList({"=> Scan directory:", "  1 files found", "  0 files copied", ""}));
    EXPECT_EQ(host.Status, "Status: 0 files copied");
    EXPECT_TRUE(Entries(Dst()).isEmpty());
}

// The guards of the shared run layer hold here too: a destination file edited during the run
// is kept, a link in the source back into the destination is not entered, and a destination
// whose times are coarse settles after one run.
TEST_F(OneWaySyncTest, SharedGuardsHold) {
    temp.WriteFile("src/file.txt", "source", 1600000100, 123);
    const QString target = temp.WriteFile("dst/file.txt", "older", 1600000000);
    ASSERT_EQ(symlink(Platform::ToNativeName(inputs.Destination).constData(),
                      Platform::ToNativeName(Src() + "link").constData()),
              0);
    int looks = 0;
    Platform::SetFaultHook([&](Platform::FaultPoint point, const QString& path) {
        if (point == Platform::FaultPoint::QueryAttributes && path == "file.txt" && ++looks == 2) {
            TestSupport::SetModificationTime(target, 1700000000);
        }
        return 0;
    });
    Run();
    Platform::SetFaultHook({});
    EXPECT_EQ(ReadAll(target), "older");
    EXPECT_TRUE(
        host.Log.contains("* Not copied: file.txt (The target changed after it was compared)"));
    EXPECT_TRUE(errorsLogged);
    EXPECT_EQ(Entries(Dst()), QStringList({"file.txt"}));

    ASSERT_EQ(unlink(Platform::ToNativeName(Src() + "link").constData()), 0);
    TempFolder coarse;
    inputs.Destination = coarse.MakeFolder("dst");
    TestSupport::ScopedQuirks twoSeconds({.TimeGranularity = 2000000000});
    Run();
    EXPECT_EQ(host.Status, "Status: 1 files copied");
    Run();
    EXPECT_EQ(host.Status, "Status: 0 files copied");
}
