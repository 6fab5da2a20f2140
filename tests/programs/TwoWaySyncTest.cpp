// The two-way run on real folders, with the exact log lines a user reads.
#include "TwoWaySync.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include <gtest/gtest.h>

#include "FaultInjection.h"
#include "FileCopy.h"
#include "NativeName.h"
#include "TempFolder.h"

using TestSupport::ModificationTime;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

// The window as the run sees it.
class FakeHost : public TTwoWayHost {
  public:
    QString First, Second, Filter = "*.*";
    bool SubDirs = true, Duplicates = false;
    QStringList Log;
    QString Status;
    QStringList Errors;
    int SavedEntries = 0;
    bool IsRunning = false;
    std::function<void()> OnProcessEvents;

    QString FirstFolderText() const override { return First; }
    QString SecondFolderText() const override { return Second; }
    QString FilterText() const override { return Filter; }
    void SetFilterText(const QString& filter) override { Filter = filter; }
    bool IncludeSubdirectories() const override { return SubDirs; }
    bool OnlyDuplicates() const override { return Duplicates; }
    void SaveDirInfo() override { ++SavedEntries; }
    void ClearLog() override { Log.clear(); }
    void AddLog(const QString& line) override { Log << line; }
    void SetStatus(const QString& text) override { Status = text; }
    void ShowError(const QString& message) override { Errors << message; }
    void ProcessEvents() override {
        if (OnProcessEvents) OnProcessEvents();
    }
    bool Running() const override { return IsRunning; }
    void SetRunning(bool running) override { IsRunning = running; }
};

class TwoWaySyncTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.First = temp.MakeFolder("A");
        host.Second = temp.MakeFolder("B");
    }

    QString A() const { return host.First + "/"; }
    QString B() const { return host.Second + "/"; }

    void Run(bool preview = false, bool interactive = true) {
        TTwoWaySync(host).DoSync(preview, interactive);
    }

    // The log of a run that found `first` files in A and `second` in B and copied nothing.
    QStringList ScanOnly(unsigned first, unsigned second) const {
        return {"=> Scan directory: " + A(), QString("  %1 files found").arg(first),
                "=> Scan directory: " + B(), QString("  %1 files found").arg(second), ""};
    }

    TempFolder temp;
    FakeHost host;
};

}  // namespace

TEST_F(TwoWaySyncTest, IdenticalFoldersGiveNothingToDo) {
    temp.WriteFile("A/same.txt", "x", 1600000000);
    temp.WriteFile("B/same.txt", "x", 1600000000);
    Run();
    EXPECT_EQ(host.Log, ScanOnly(0, 0));
    EXPECT_EQ(host.Status, "Nothing to do!");
    EXPECT_FALSE(host.IsRunning);
    EXPECT_EQ(host.SavedEntries, 1);
}

TEST_F(TwoWaySyncTest, NewerOrMissingFilesAreCopiedBothWaysWithTheirTime) {
    temp.WriteFile("A/only-in-a.txt", "a", 1600000000, 123456700);
    temp.WriteFile("A/newer-in-a.txt", "new a", 1600000200);
    temp.WriteFile("B/newer-in-a.txt", "old b", 1600000100);
    temp.WriteFile("A/newer-in-b.txt", "old a", 1600000100);
    temp.WriteFile("B/newer-in-b.txt", "new b", 1600000200);
    Run();
    EXPECT_EQ(
        host.Log,
        QStringList({"=> Scan directory: " + A(), "  2 files found", "=> Scan directory: " + B(),
                     "  1 files found", "=> Copy files to: " + B(), "  Copy: newer-in-a.txt",
                     "  Copy: only-in-a.txt", "  2 files copied", "=> Copy files to: " + A(),
                     "  Copy: newer-in-b.txt", "  1 files copied", ""}));
    EXPECT_EQ(host.Status, "Files have been copied: 1 <=> 2");
    EXPECT_EQ(ReadAll(B() + "newer-in-a.txt"), "new a");
    EXPECT_EQ(ReadAll(A() + "newer-in-b.txt"), "new b");
    EXPECT_EQ(ModificationTime(B() + "only-in-a.txt").tv_nsec, 123456700);

    Run();  // the copies carry the source's time: nothing left to do
    EXPECT_EQ(host.Log, ScanOnly(0, 0));
    EXPECT_EQ(host.Status, "Nothing to do!");
}

TEST_F(TwoWaySyncTest, OnlyDuplicatesCopiesOnlyFilesOnBothSides) {
    host.Duplicates = true;
    temp.WriteFile("A/lonely.txt", "a");
    temp.WriteFile("A/both.txt", "newer", 1600000200);
    temp.WriteFile("B/both.txt", "older", 1600000100);
    Run();
    EXPECT_EQ(host.Status, "Files have been copied: 0 <=> 1");
    EXPECT_FALSE(TestSupport::Exists(B() + "lonely.txt"));
    EXPECT_EQ(ReadAll(B() + "both.txt"), "newer");
}

TEST_F(TwoWaySyncTest, FiltersSplitIntoMasksAsTheyStand) {
    temp.WriteFile("A/a1.txt", "x");
    temp.WriteFile("A/b.txt", "x");
    temp.WriteFile("A/a2.doc", "x");
    temp.WriteFile("A/sub/deep.TXT", "x");
    const struct {
        const char* filter;
        unsigned found;
    } cases[] = {
        {"*.txt;a*", 4},      // a1.txt matches both masks and is listed once
        {";*.txt", 3},        // the empty mask finds nothing, the rest still counts
        {"*.txt;", 3},        // nothing follows the final separator
        {"*.doc; *.txt", 1},  // blanks are part of a mask
        {"", 4},              // an empty filter means every file
    };
    for (const auto& c : cases) {
        host.Filter = c.filter;
        Run(/*preview=*/true);
        EXPECT_EQ(host.Log.at(1), QString("  %1 files found").arg(c.found)) << c.filter;
    }
    EXPECT_EQ(host.Filter, "*.*");  // the empty filter box was filled
}

TEST_F(TwoWaySyncTest, PreviewListsWhatWouldBeCopiedAndChangesNothing) {
    temp.WriteFile("A/sub/file.txt", "x");
    temp.WriteFile("B/other.txt", "y");
    Run(/*preview=*/true);
    EXPECT_EQ(host.Log,
              QStringList({"=> Scan directory: " + A(), "  1 files found",
                           "=> Scan directory: " + B(), "  1 files found",
                           "=> Copy files to: " + B(), "  Designated to copy: sub/file.txt",
                           "  1 files found", "=> Copy files to: " + A(),
                           "  Designated to copy: other.txt", "  1 files found", ""}));
    EXPECT_EQ(host.Status, "Files found: 1 <=> 1");
    EXPECT_EQ(TestSupport::Entries(B()), QStringList({"other.txt"}));
    EXPECT_EQ(TestSupport::Entries(A()), QStringList({"sub"}));
}

TEST_F(TwoWaySyncTest, MissingSubfolderIsCreatedOnTheOtherSide) {
    temp.WriteFile("A/new/deeper/file.txt", "x");
    Run();
    EXPECT_EQ(ReadAll(B() + "new/deeper/file.txt"), "x");
    EXPECT_EQ(host.Status, "Files have been copied: 0 <=> 1");
}

TEST_F(TwoWaySyncTest, WithoutSubfoldersOnlyTheBaseCounts) {
    host.SubDirs = false;
    temp.WriteFile("A/top.txt", "x");
    temp.WriteFile("A/sub/below.txt", "x");
    Run();
    EXPECT_EQ(TestSupport::Entries(B()), QStringList({"top.txt"}));
}

TEST_F(TwoWaySyncTest, StopDuringTheScansCopiesNothing) {
    temp.WriteFile("A/top.txt", "x");
    temp.WriteFile("A/sub/below.txt", "x");
    temp.WriteFile("B/other.txt", "x");
    int visits = 0;
    host.OnProcessEvents = [&] {
        if (++visits == 1) host.IsRunning = false;  // "Stop" at the first folder
    };
    Run();
    // The files of the folder being visited are still examined; nothing else is.
    EXPECT_EQ(host.Log, ScanOnly(1, 0));
    EXPECT_EQ(host.Status, "Nothing to do!");
    EXPECT_EQ(visits, 1);
    EXPECT_EQ(TestSupport::Entries(B()), QStringList({"other.txt"}));
}

TEST_F(TwoWaySyncTest, MissingFoldersAreReportedFirstFolderFirst) {
    host.First = temp / "missing-a";
    host.Second = temp / "missing-b";
    host.Log = {"earlier line"};
    Run();
    EXPECT_EQ(host.Errors, QStringList({"Directory not found: " + host.First + "/"}));
    EXPECT_EQ(host.Log, QStringList({"earlier line", ""}));  // not cleared
    EXPECT_EQ(host.Status, "Nothing to do!");

    host.Errors.clear();
    Run(/*preview=*/false, /*interactive=*/false);
    EXPECT_TRUE(host.Errors.isEmpty());
    EXPECT_EQ(host.Log.mid(2),
              QStringList({"Directory not found: " + host.First + "/", "Nothing to do!", ""}));
}

TEST_F(TwoWaySyncTest, UnattendedRunReportsToTheLogOnly) {
    temp.WriteFile("A/file.txt", "x");
    Run(/*preview=*/false, /*interactive=*/false);
    EXPECT_EQ(host.Log.mid(host.Log.size() - 2),
              QStringList({"Files have been copied: 0 <=> 1", ""}));
    EXPECT_TRUE(host.Status.isEmpty());
}

TEST_F(TwoWaySyncTest, EmptyFolderBoxIsRefusedAndNeverMeansTheRoot) {
    for (QString* box : {&host.First, &host.Second}) {
        const QString kept = *box;
        *box = QString();
        host.Errors.clear();
        Run();
        EXPECT_EQ(host.Errors, QStringList({"Directory not found: "}));
        *box = kept;
    }
}

TEST_F(TwoWaySyncTest, FoldersInsideEachOtherAreRefused) {
    const QString inner = temp.MakeFolder("A/inner");
    ASSERT_EQ(symlink(Platform::ToNativeName(host.First).constData(),
                      Platform::ToNativeName(temp / "alias").constData()),
              0);
    temp.WriteFile("A/file.txt", "x");
    const struct {
        QString first, second;
        bool subDirs;
        bool refused;
    } cases[] = {
        {host.First, inner, true, true},           {inner, host.First, true, true},
        {host.First, temp / "alias", false, true},  // the same folder through a link
        {host.First, inner, false, false},          // without subfolders the inner one is apart
        {temp / "A", temp / "AB", true, false},     // a common beginning is no containment
    };
    temp.MakeFolder("AB");
    for (const auto& c : cases) {
        host.First = c.first;
        host.Second = c.second;
        host.SubDirs = c.subDirs;
        host.Errors.clear();
        Run(/*preview=*/true);
        if (c.refused) {
            EXPECT_EQ(host.Errors, QStringList({"Folders must not contain each other: " + c.first +
                                                "/ <=> " + c.second + "/"}));
        } else {
            EXPECT_TRUE(host.Errors.isEmpty()) << c.first.toStdString();
        }
    }
}

TEST_F(TwoWaySyncTest, LinkLoopsAreNotFollowedButOtherLinkedFoldersAre) {
    temp.WriteFile("A/sub/file.txt", "x");
    temp.WriteFile("outside/linked.txt", "y");
    ASSERT_EQ(symlink("..", Platform::ToNativeName(A() + "sub/up").constData()), 0);
    ASSERT_EQ(symlink(Platform::ToNativeName(temp / "outside").constData(),
                      Platform::ToNativeName(A() + "out").constData()),
              0);
    Run(/*preview=*/true);
    EXPECT_EQ(host.Log.mid(0, 2), QStringList({"=> Scan directory: " + A(), "  2 files found"}));
    EXPECT_TRUE(host.Log.contains("  Designated to copy: out/linked.txt"));
    EXPECT_TRUE(host.Log.contains("  Designated to copy: sub/file.txt"));
}

TEST_F(TwoWaySyncTest, FolderThatCannotBeReadIsReportedOnce) {
    temp.WriteFile("A/locked/file.txt", "x");
    temp.WriteFile("A/open.txt", "x");
    host.Filter = "*.txt;*.doc";  // two masks visit the folder twice
    Platform::SetFaultHook([](Platform::FaultPoint point, const QString& path) {
        return point == Platform::FaultPoint::ListFolder && path.contains("locked") ? EACCES : 0;
    });
    Run();
    Platform::SetFaultHook({});
    EXPECT_EQ(host.Log.count("* Could not read directory: " + A() + "locked/"), 1);
    EXPECT_EQ(host.Status, "Files have been copied: 0 <=> 1");
}

TEST_F(TwoWaySyncTest, FailedCopiesAndFoldersAreLoggedAndNotCounted) {
    temp.WriteFile("A/fails.txt", "x");
    temp.WriteFile("A/sub/noroom.txt", "x");
    Platform::SetFaultHook([](Platform::FaultPoint point, const QString& path) {
        if (point == Platform::FaultPoint::CreateFolder && path.endsWith("sub/")) return EACCES;
        if (point == Platform::FaultPoint::Rename && path.endsWith("fails.txt")) return ENOSPC;
        return 0;
    });
    Run();
    Platform::SetFaultHook({});
    EXPECT_TRUE(host.Log.contains("* Error copying: fails.txt"));
    EXPECT_TRUE(host.Log.contains("* Could not create directory: " + B() + "sub/"));
    EXPECT_TRUE(host.Log.contains("  0 files copied"));
    EXPECT_EQ(host.Status, "Nothing to do!");
}

TEST_F(TwoWaySyncTest, OnlyRealFilesAreListedAndCaseTellsNamesApart) {
    temp.WriteFile("A/name.txt", "lower");
    temp.WriteFile("A/NAME.txt", "upper");
    temp.WriteFile("A/.hidden", "h");
    temp.WriteFile("A/.~copy-0a1b2c3d.tmp", "left by a killed copy");
    ASSERT_EQ(mkfifo(Platform::ToNativeName(A() + "pipe").constData(), 0644), 0);
    Run();
    EXPECT_EQ(TestSupport::Entries(B()), QStringList({".hidden", "NAME.txt", "name.txt"}));
    EXPECT_EQ(ReadAll(B() + "NAME.txt"), "upper");
}
