// The two-way run on real folders, with the exact log lines a user reads.
#include "TwoWaySync.h"

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include <gtest/gtest.h>

#include "FaultInjection.h"
#include "FileCopy.h"
#include "NativeName.h"
#include "RecordingHost.h"
#include "TempFolder.h"

using TestSupport::ModificationTime;
using TestSupport::ReadAll;
using TestSupport::TempFolder;

namespace {

// What the window would report to, and the values its controls would hold.
class FakeHost : public TestSupport::RecordingHost {
  public:
    QString First, Second, Filter = "*.*";
    bool SubDirs = true, Duplicates = false;
    std::vector<Sync::TCopyProgress> Progress;
    std::function<void(const Sync::TCopyProgress&)> OnCopyProgress;

    void CopyProgress(const Sync::TCopyProgress& progress) override {
        Progress.push_back(progress);
        if (OnCopyProgress) OnCopyProgress(progress);
    }
};

class TwoWaySyncTest : public ::testing::Test {
  protected:
    void SetUp() override {
        host.First = temp.MakeFolder("A");
        host.Second = temp.MakeFolder("B");
    }

    QString A() const { return host.First + "/"; }
    QString B() const { return host.Second + "/"; }

    // A run as the window starts it; a stop request clears IsRunning.
    void Run(bool preview = false, bool interactive = true) {
        TTwoWayInputs inputs;
        inputs.FirstFolder = host.First;
        inputs.SecondFolder = host.Second;
        inputs.Filter = host.Filter;
        inputs.IncludeSubdirectories = host.SubDirs;
        inputs.OnlyDuplicates = host.Duplicates;
        inputs.Preview = preview;
        inputs.Interactive = interactive;
        host.IsRunning = true;
        TTwoWaySync run(host);
        run.DoSync(inputs);
        host.IsRunning = false;
        errorsLogged = run.ErrorsLogged();
    }

    // The log of a run that found `first` files in A and `second` in B and copied nothing.
    QStringList ScanOnly(unsigned first, unsigned second) const {
        return {"=> Scan directory: " + A(), QString("  %1 files found").arg(first),
                "=> Scan directory: " + B(), QString("  %1 files found").arg(second), ""};
    }

    TempFolder temp;
    FakeHost host;
    bool errorsLogged = false;
};

}  // namespace

TEST_F(TwoWaySyncTest, IdenticalFoldersGiveNothingToDo) {
    temp.WriteFile("A/same.txt", "x", 1600000000);
    temp.WriteFile("B/same.txt", "x", 1600000000);
    Run();
    EXPECT_EQ(host.Log, ScanOnly(0, 0));
    EXPECT_EQ(host.Status, "Nothing to do!");
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
    };
    for (const auto& c : cases) {
        host.Filter = c.filter;
        Run(/*preview=*/true);
        EXPECT_EQ(host.Log.at(1), QString("  %1 files found").arg(c.found)) << c.filter;
    }
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

TEST_F(TwoWaySyncTest, StopDuringACopyPassFinishesTheFileAndCopiesNoMore) {
    for (int i = 1; i <= 4; ++i)
        temp.WriteFile(QString("A/f%1.txt").arg(i), "a");
    temp.WriteFile("B/b.txt", "b");  // for the second pass, which never comes
    host.OnCopyProgress = [&](const Sync::TCopyProgress& progress) {
        if (progress.FilesDone == 2) host.IsRunning = false;  // "Stop" while the second is copied
    };
    Run();
    EXPECT_EQ(host.Log.mid(4), QStringList({"=> Copy files to: " + B(), "  Copy: f1.txt",
                                            "  Copy: f2.txt", "  2 files copied", ""}));
    EXPECT_EQ(host.Status, "Files have been copied: 0 <=> 2");
    EXPECT_EQ(TestSupport::Entries(B()), QStringList({"b.txt", "f1.txt", "f2.txt"}));
    EXPECT_EQ(TestSupport::Entries(A()).size(), 4);
}

TEST_F(TwoWaySyncTest, CopyProgressCountsTheFilesAndBytesOfBothPasses) {
    temp.WriteFile("A/one.txt", QByteArray(10, 'a'));
    temp.WriteFile("A/two.txt", QByteArray(20, 'a'));
    temp.WriteFile("B/three.txt", QByteArray(30, 'b'));
    Run();
    EXPECT_EQ(host.Progress, (std::vector<Sync::TCopyProgress>{
                                 {0, 3, 0, 60}, {1, 3, 10, 60}, {2, 3, 30, 60}, {3, 3, 60, 60}}));

    host.Progress.clear();
    temp.WriteFile("A/four.txt", "a");
    Run(/*preview=*/true);  // copies nothing, so it has no progress to show
    EXPECT_TRUE(host.Progress.empty());
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
    EXPECT_EQ(host.Log.count("* Could not read directory: " + A() + "locked/ (Permission denied)"),
              1);
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
    EXPECT_TRUE(host.Log.contains("* Error copying: fails.txt (Error creating \"" + B() +
                                  "fails.txt\": No space left on device)"));
    EXPECT_TRUE(
        host.Log.contains("* Could not create directory: " + B() + "sub/ (Permission denied)"));
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

// A file the user edits on the target while the run copies is kept: just before the copy
// replaces it, the target is looked at again and the source must still be newer.
TEST_F(TwoWaySyncTest, TargetEditedDuringTheRunIsKept) {
    for (const time_t edited : {time_t(1700000000), time_t(1600000050)}) {
        TempFolder folder;
        host.First = folder.MakeFolder("A");
        host.Second = folder.MakeFolder("B");
        folder.WriteFile("A/file.txt", "source", 1600000100);
        const QString target = folder.WriteFile("B/file.txt", "older", 1600000000);
        int looks = 0;
        Platform::SetFaultHook([&](Platform::FaultPoint point, const QString& path) {
            // The second look at the name is the one just before the target is replaced.
            if (point == Platform::FaultPoint::QueryAttributes && path == "file.txt" &&
                ++looks == 2) {
                TestSupport::AppendFile(target, " edited");
                TestSupport::SetModificationTime(target, edited);
            }
            return 0;
        });
        Run();
        Platform::SetFaultHook({});
        const bool newerEdit = edited > 1600000100;
        EXPECT_EQ(ReadAll(target), newerEdit ? "older edited" : "source") << edited;
        EXPECT_EQ(host.Log.contains("* Not copied: file.txt (The target changed after it was "
                                    "compared)"),
                  newerEdit);
        EXPECT_EQ(errorsLogged, newerEdit);
    }
}

// Only "no such file" means missing: a counterpart that cannot be read is neither copied over
// nor copied back.
TEST_F(TwoWaySyncTest, CounterpartThatCannotBeReadIsNotMissing) {
    temp.WriteFile("A/file.txt", "2020", 1600000000);
    temp.WriteFile("B/file.txt", "today", 1700000000);
    Platform::SetFaultHook([&](Platform::FaultPoint point, const QString& path) {
        return point == Platform::FaultPoint::QueryAttributes && path == B() + "file.txt" ? EIO : 0;
    });
    Run();
    Platform::SetFaultHook({});
    EXPECT_EQ(
        host.Log,
        QStringList({"=> Scan directory: " + A(), "  0 files found", "=> Scan directory: " + B(),
                     "* Could not read file: " + B() + "file.txt (Input/output error)",
                     "  0 files found", ""}));
    EXPECT_EQ(ReadAll(A() + "file.txt"), "2020");
    EXPECT_EQ(ReadAll(B() + "file.txt"), "today");
    EXPECT_TRUE(errorsLogged);
}

// A link that leads into the partner folder is never entered, so the pair does not nest one
// level deeper on every run.
TEST_F(TwoWaySyncTest, LinksIntoThePartnerDoNotNestIt) {
    for (const bool linkInSecond : {true, false}) {
        TempFolder folder;
        host.First = folder.MakeFolder("A");
        host.Second = folder.MakeFolder("B");
        folder.WriteFile("A/a.txt", "a", 1600000000);
        folder.WriteFile("B/b.txt", "b", 1600000000);
        const QString link = (linkInSecond ? B() : A()) + "link";
        const QString partner = linkInSecond ? host.First : host.Second;
        ASSERT_EQ(symlink(Platform::ToNativeName(partner).constData(),
                          Platform::ToNativeName(link).constData()),
                  0);
        Run();
        Run();
        EXPECT_EQ(host.Status, "Nothing to do!") << linkInSecond;
        EXPECT_EQ(TestSupport::Entries(A()), linkInSecond
                                                 ? QStringList({"a.txt", "b.txt"})
                                                 : QStringList({"a.txt", "b.txt", "link"}));
        EXPECT_EQ(TestSupport::Entries(B()), linkInSecond ? QStringList({"a.txt", "b.txt", "link"})
                                                          : QStringList({"a.txt", "b.txt"}));
    }
}

// A folder that holds the other through a mount is found by identity, as through a link.
TEST_F(TwoWaySyncTest, PairThatContainsItselfThroughAMountIsRefused) {
    const QString parent = temp.MakeFolder("home");
    host.First = temp.MakeFolder("home/A");
    host.Second = temp.MakeFolder("mounted");
    if (mount(Platform::ToNativeName(parent).constData(),
              Platform::ToNativeName(host.Second).constData(), nullptr, MS_BIND, nullptr) != 0) {
        GTEST_SKIP() << "no bind mounts here";
    }
    Run();
    umount(Platform::ToNativeName(host.Second).constData());
    EXPECT_EQ(host.Errors,
              QStringList({"Folders must not contain each other: " + A() + " <=> " + B()}));
}

// On a target that ignores case (FAT, exFAT), names that differ only in case are one file:
// the copy that would replace another file's content is refused.
TEST_F(TwoWaySyncTest, NamesThatDifferInCaseNeverOverwriteEachOther) {
    struct Case {
        QStringList onTarget;
        QStringList expectedOnTarget;
        QString refused;
    };
    const Case cases[] = {
        {{}, {"NOTES.txt"}, "Notes.txt"},             // both new: the second is refused
        {{"NOTES.txt"}, {"NOTES.txt"}, "Notes.txt"},  // the stick's only copy stays
    };
    for (const Case& c : cases) {
        TempFolder folder;
        host.First = folder.MakeFolder("A");
        host.Second = folder.MakeFolder("B");
        folder.WriteFile("A/Notes.txt", "edited", 1700000000);
        if (c.onTarget.isEmpty()) folder.WriteFile("A/NOTES.txt", "other", 1600000000);
        for (const QString& name : c.onTarget)
            folder.WriteFile("B/" + name, "stick", 1600000000);
        TestSupport::ScopedQuirks caseInsensitive({.CaseInsensitiveFolder = host.Second});
        Run();
        EXPECT_EQ(TestSupport::Entries(B()), c.expectedOnTarget);
        EXPECT_TRUE(host.Log.contains("* Not copied: " + c.refused +
                                      " (The target name is taken, perhaps by a name that "
                                      "differs only in case)"))
            << host.Log.join('\n').toStdString();
        if (!c.onTarget.isEmpty()) {
            EXPECT_EQ(ReadAll(B() + "NOTES.txt"), "stick");
        }
    }
}

// A stick that keeps two seconds stores every copy's time cut down: the pair still settles
// after one run. Where both sides keep fine times, a file newer by less than a millisecond is
// copied.
TEST_F(TwoWaySyncTest, CoarseTimesSettleInOneRunAndFineTimesStillCount) {
    temp.WriteFile("A/one.txt", "1", 1600000001, 300000000);
    temp.WriteFile("A/two.txt", "2", 1600000003, 999999999);
    {
        TestSupport::ScopedQuirks twoSeconds({.TimeGranularity = 2000000000});
        Run();
        EXPECT_EQ(host.Status, "Files have been copied: 0 <=> 2");
        EXPECT_EQ(ModificationTime(B() + "one.txt").tv_sec, 1600000000);
        Run();
        EXPECT_EQ(host.Status, "Nothing to do!");
    }

    TempFolder fine;
    host.First = fine.MakeFolder("A");
    host.Second = fine.MakeFolder("B");
    fine.WriteFile("A/f.txt", "newer by 0.8 ms", 1600000000, 923456);
    fine.WriteFile("B/f.txt", "older", 1600000000, 123456);
    Run();
    EXPECT_EQ(host.Status, "Files have been copied: 0 <=> 1");
    EXPECT_EQ(ReadAll(B() + "f.txt"), "newer by 0.8 ms");
}

// A folder that can be listed but not entered (read but no search permission) is reported as
// one that cannot be read.
TEST_F(TwoWaySyncTest, FolderThatCannotBeEnteredIsReported) {
    temp.WriteFile("A/locked/file.txt", "x");
    Platform::SetFaultHook([&](Platform::FaultPoint point, const QString& path) {
        return point == Platform::FaultPoint::QueryAttributes && path.startsWith(A() + "locked/")
                   ? EACCES
                   : 0;
    });
    Run();
    Platform::SetFaultHook({});
    EXPECT_TRUE(
        host.Log.contains("* Could not read directory: " + A() + "locked/ (Permission denied)"));
    EXPECT_TRUE(errorsLogged);
}

// Masks are names: a mask with a path would reach files elsewhere, and a filter without any
// mask would find nothing. Both are refused before anything is scanned.
TEST_F(TwoWaySyncTest, FiltersThatAreNotNamesAreRefused) {
    temp.WriteFile("A/docs/readme.txt", "x");
    for (const char* filter : {"docs/*.txt", "/etc/host*", ";", "   ", "*.txt;sub/*"}) {
        host.Filter = filter;
        host.Errors.clear();
        host.Log = {"earlier line"};
        Run();
        EXPECT_EQ(host.Errors,
                  QStringList({QString("The filter must hold file name masks such as *.txt, "
                                       "separated by \";\": ") +
                               filter}));
        EXPECT_EQ(host.Log, QStringList({"earlier line", ""}));
    }
    EXPECT_EQ(TestSupport::Entries(B()), QStringList());
}

// A link at the target is replaced by the copy; what it leads to, outside the pair, stays.
TEST_F(TwoWaySyncTest, LinkAtTheTargetIsReplacedNotWrittenThrough) {
    temp.WriteFile("A/file.txt", "new", 1700000000);
    const QString outside = temp.WriteFile("outside/real.txt", "keep", 1600000000);
    ASSERT_EQ(symlink(Platform::ToNativeName(outside).constData(),
                      Platform::ToNativeName(B() + "file.txt").constData()),
              0);
    Run();
    EXPECT_EQ(ReadAll(outside), "keep");
    EXPECT_EQ(ReadAll(B() + "file.txt"), "new");
    struct stat st;
    ASSERT_EQ(lstat(Platform::ToNativeName(B() + "file.txt").constData(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
}

// A line break in a name would split a log line.
TEST_F(TwoWaySyncTest, ControlCharactersInNamesAreShownEscaped) {
    temp.WriteFile("A/two\nlines.txt", "x");
    Run();
    EXPECT_TRUE(host.Log.contains("  Copy: two\\x0alines.txt"));
    EXPECT_EQ(ReadAll(B() + "two\nlines.txt"), "x");
}
