// The folder context-menu entry: a stand-in file manager reads each registration file the way
// its file manager does and runs what it offers; registering never changes which program opens
// folders; removal takes away everything a registration of this or an earlier version wrote.
#include "ContextMenu.h"

#include <clocale>
#include <functional>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QStringList>

#include "Catalog.h"
#include "IniFiles.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

using namespace ContextMenu;
using TestSupport::Exists;
using TestSupport::ReadAll;

namespace {

// ---- a stand-in file manager ----

// A key-file value as readers see it: the escapes undone.
QString UnescapeValue(const QString& value) {
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        const QChar next = value[++i];
        result += next == 's'   ? QChar(' ')
                  : next == 'n' ? QChar('\n')
                  : next == 't' ? QChar('\t')
                  : next == 'r' ? QChar('\r')
                                : next;
    }
    return result;
}

// Group -> key -> value, unescaped; the first of a key counts.
using TKeyFile = QMap<QString, QMap<QString, QString>>;

TKeyFile ReadKeyFile(const QString& path) {
    TKeyFile file;
    QString group;
    for (const QString& line : QString::fromUtf8(ReadAll(path)).split('\n')) {
        if (line.startsWith('[') && line.endsWith(']')) {
            group = line.mid(1, line.size() - 2);
        } else if (const qsizetype equals = line.indexOf('='); equals > 0 && !group.isEmpty()) {
            const QString key = line.left(equals);
            if (!file[group].contains(key)) file[group][key] = UnescapeValue(line.mid(equals + 1));
        }
    }
    return file;
}

// A command line split as a shell does it: blanks separate, single quotes take everything
// literally, double quotes take all but \", \\, \$ and \`, a backslash outside quotes takes the
// next character. A desktop entry's Exec value is read the same way, then "%%" is "%".
QStringList SplitCommand(const QString& command) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command[i];
        if (c == ' ') {
            if (inArgument) arguments << current;
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == '\'') {
            while (++i < command.size() && command[i] != '\'')
                current += command[i];
        } else if (c == '"') {
            while (++i < command.size() && command[i] != '"') {
                if (command[i] == '\\' && i + 1 < command.size() &&
                    QString("\"\\$`").contains(command[i + 1])) {
                    ++i;
                }
                current += command[i];
            }
        } else if (c == '\\' && i + 1 < command.size()) {
            current += command[++i];
        } else {
            current += c;
        }
    }
    if (inArgument) arguments << current;
    return arguments;
}

QString ShellQuoted(const QString& text) {
    return "'" + QString(text).replace("'", "'\\''") + "'";
}

// Replaces one field code in each argument of a desktop entry's Exec value.
QStringList ExpandDesktopExec(const QString& exec, const QString& code, const QString& folder) {
    QStringList arguments;
    for (QString argument : SplitCommand(exec))
        arguments << (argument == code ? folder : argument.replace("%%", "%"));
    return arguments;
}

// How each file manager finds its entry for a folder, and what it runs for it; empty when the
// file does not offer itself for folders.
struct TMechanism {
    const char* Name;
    QString RelativePath;  // below the data folder, for the verb key "Pairwell"
    std::function<QStringList(const QString& path, const QString& folder)> Command;
};

const TMechanism kMechanisms[] = {
    {"Dolphin service menu", "kio/servicemenus/Pairwell.desktop",
     [](const QString& path, const QString& folder) -> QStringList {
         const TKeyFile file = ReadKeyFile(path);
         const auto& entry = file["Desktop Entry"];
         if (!QFileInfo(path).isExecutable() || entry["Type"] != "Service" ||
             !entry["MimeType"].split(';').contains("inode/directory")) {
             return {};
         }
         const QString action = entry["Actions"].split(';').first();
         return ExpandDesktopExec(file["Desktop Action " + action]["Exec"], "%f", folder);
     }},
    {"file-manager action", "file-manager/actions/Pairwell.desktop",
     [](const QString& path, const QString& folder) -> QStringList {
         TKeyFile file = ReadKeyFile(path);
         const auto& entry = file["Desktop Entry"];
         if (entry["Type"] != "Action") return {};
         const auto& profile = file["X-Action-Profile " + entry["Profiles"].split(';').first()];
         if (!profile["MimeTypes"].split(';').contains("inode/directory")) return {};
         // The parameters go into the command line shell-quoted.
         QString exec = profile["Exec"];
         exec.replace("%f", ShellQuoted(folder)).replace("%%", "%");
         return SplitCommand(exec);
     }},
    {"Nemo action", "nemo/actions/Pairwell.nemo_action",
     [](const QString& path, const QString& folder) -> QStringList {
         TKeyFile file = ReadKeyFile(path);
         const auto& action = file["Nemo Action"];
         if (!action["Extensions"].split(';').contains("dir") || action["Selection"] != "s" ||
             action["Quote"] != "single") {
             return {};
         }
         QString exec = action["Exec"];
         return SplitCommand(exec.replace("%F", QString(folder).replace("'", "'\\''")));
     }},
    {"Nautilus script", "nautilus/scripts/Pairwell",
     [](const QString& path, const QString& folder) -> QStringList {
         if (!QFileInfo(path).isExecutable()) return {};
         // Run in the current folder with the chosen name as its argument.
         return {"/bin/sh",
                 "-c",
                 "cd \"$1\" && exec \"$2\" \"$3\"",
                 "sh",
                 QFileInfo(folder).absolutePath(),
                 path,
                 QFileInfo(folder).fileName()};
     }},
};

// The name each key-file mechanism shows, by language ("" for the default).
QMap<QString, QString> Names(const QString& path) {
    QMap<QString, QString> names;
    for (const auto& group : ReadKeyFile(path)) {
        for (auto it = group.begin(); it != group.end(); ++it) {
            if (it.key() == "Name") names[""] = it.value();
            if (it.key().startsWith("Name[")) names[it.key().mid(5).chopped(1)] = it.value();
        }
    }
    return names;
}

// The earlier version's registration: a desktop entry for folders.
QByteArray EarlierFolderEntry(const QString& program) {
    return "[Desktop Entry]\nType=Application\nName=Synchronize with ..\nIcon=/i.png\nExec=\"" +
           program.toUtf8() + "\" %f\nMimeType=inode/directory;\nNoDisplay=true\nTerminal=false\n";
}

class ContextMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        environment_.Set("HOME", temp_.Path());
        environment_.Set("XDG_DATA_HOME", dataFolder_);
        // Nothing but what a test puts there: the desktop-database tool is missing unless a
        // test provides it.
        environment_.Set("PATH", temp_.MakeFolder("bin"));
        // Only the C locale, as on a bare machine; German still works through the catalogs.
        environment_.Set("LC_ALL", "C");
        environment_.Unset("LANGUAGE");
        std::setlocale(LC_ALL, "");
        Catalog::UseLanguage("C");
    }
    void TearDown() override { Catalog::UseLanguage("C"); }

    QString Data(const QString& relative) const { return dataFolder_ + "/" + relative; }

    // The program a file manager's desktop would open folders with: xdg-mime's answer, after
    // the desktop database was brought up to date as a session does it.
    QString FolderOpener() const {
        QProcessEnvironment environment;
        environment.insert("PATH", "/usr/bin:/bin");
        environment.insert("HOME", temp_.Path());
        environment.insert("XDG_DATA_HOME", dataFolder_);
        environment.insert("XDG_DATA_DIRS", temp_ / "system-data");  // no other programs
        environment.insert("XDG_CONFIG_HOME", temp_ / "config");
        environment.insert("XDG_CONFIG_DIRS", temp_ / "system-config");
        QProcess process;
        process.setProcessEnvironment(environment);
        if (QFileInfo(Data("applications")).isDir()) {
            process.start("/usr/bin/update-desktop-database", {Data("applications")});
            EXPECT_TRUE(process.waitForFinished(10000));
        }
        process.start("/usr/bin/xdg-mime", {"query", "default", "inode/directory"});
        EXPECT_TRUE(process.waitForFinished(10000)) << "xdg-mime (xdg-utils) is needed";
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    TestSupport::TempFolder temp_;
    TestSupport::ScopedEnvironment environment_;
    const QString dataFolder_ = temp_ / "home-data";  // created by the registration
    const TMenuEntry entry_{"Pairwell", "/opt/pw/bin/pairwell", "/opt/pw/bin/icons/pairwell.png"};
};

}  // namespace

TEST_F(ContextMenuTest, EveryFileManagerOffersTheActionAndStartsTheProgramWithTheFolder) {
    // A program and a folder whose names try every quoting rule.
    const QString odd = temp_.MakeFolder("My \"Sync\" $HOME `x` 100% back\\slash it's");
    const QString calls = temp_ / "calls";
    const QString program = temp_.WriteFile(
        "My \"Sync\" $HOME `x` 100% back\\slash it's/pair well",
        ("#!/bin/sh\nprintf '%s\\n' \"$@\" > " + ShellQuoted(calls) + "\n").toUtf8());
    ASSERT_TRUE(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
    const QString folder = temp_.MakeFolder("a 'quoted' \"folder\" $x %f %F");
    Register({"Pairwell", program, odd + "/icons/pair well.png"});
    EXPECT_TRUE(ContextMenuExists(entry_));

    for (const TMechanism& mechanism : kMechanisms) {
        SCOPED_TRACE(mechanism.Name);
        const QStringList command = mechanism.Command(Data(mechanism.RelativePath), folder);
        ASSERT_FALSE(command.isEmpty()) << "not offered for folders";
        QFile::remove(calls);
        QProcess::execute(command.first(), command.mid(1));
        EXPECT_EQ(ReadAll(calls), folder.toUtf8() + "\n") << command.join('|').toStdString();
    }
    for (const QString file :
         {"kio/servicemenus/Pairwell.desktop", "file-manager/actions/Pairwell.desktop",
          "nemo/actions/Pairwell.nemo_action"}) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(Names(Data(file)), (QMap<QString, QString>{{"", "Synchronize with .."},
                                                             {"de", "Synchronisieren mit .."}}));
    }
    EXPECT_EQ(Catalog::gettext("Synchronize with .."), "Synchronize with ..");  // still English
}

TEST_F(ContextMenuTest, RegisteringNeverChangesWhichProgramOpensFolders) {
    const QString before = FolderOpener();
    Register(entry_);
    EXPECT_EQ(FolderOpener(), before);
    Unregister(entry_);
    EXPECT_EQ(FolderOpener(), before);

    // An earlier version's registration did change it; registering anew or removing it
    // puts it back.
    for (const auto& mend : {std::function<void()>([this] { Register(entry_); }),
                             std::function<void()>([this] { Unregister(entry_); })}) {
        temp_.WriteFile("home-data/applications/Pairwell.desktop",
                        EarlierFolderEntry(entry_.ProgramPath));
        ASSERT_EQ(FolderOpener(), "Pairwell.desktop");
        EXPECT_TRUE(ContextMenuExists(entry_));  // so that the button offers its removal
        mend();
        EXPECT_EQ(FolderOpener(), before);
        EXPECT_FALSE(Exists(Data("applications/Pairwell.desktop")));
        Unregister(entry_);
    }
}

TEST_F(ContextMenuTest, RemovalDeletesEverythingARegistrationWroteAndNothingElse) {
    const QStringList own = {"applications/own.desktop", "kio/servicemenus/own.desktop",
                             "file-manager/actions/own.desktop", "nemo/actions/own.nemo_action",
                             "nautilus/scripts/own",
                             // not our format: an entry of the user's own by our name
                             "applications/Pairwell.desktop"};
    for (const QString& file : own)
        temp_.WriteFile("home-data/" + file, "own");
    const QString outside = temp_.WriteFile("outside.txt", "keep");
    const TMenuEntry mirrowen{"Tidewell", "/opt/pw/bin/mirrowen", "/opt/pw/bin/icons/m.png"};
    Register(entry_);
    Register(mirrowen);
    // A damaged record may name anything; only what lies in the data folder is ours.
    QFile record(Data("pairwell-mirrowen/context-menu/Pairwell.list"));
    ASSERT_TRUE(record.open(QIODevice::Append));
    record.write((outside + "\n" + dataFolder_ + "/../outside.txt\n").toUtf8());
    record.close();

    Unregister(entry_);
    EXPECT_FALSE(ContextMenuExists(entry_));
    for (const TMechanism& mechanism : kMechanisms)
        EXPECT_FALSE(Exists(Data(mechanism.RelativePath))) << mechanism.Name;
    EXPECT_FALSE(Exists(Data("pairwell-mirrowen/context-menu/Pairwell.list")));
    for (const QString& file : own)
        EXPECT_EQ(ReadAll(Data(file)), "own") << file.toStdString();
    EXPECT_EQ(ReadAll(outside), "keep");
    EXPECT_TRUE(ContextMenuExists(mirrowen));
    EXPECT_TRUE(Exists(Data("nautilus/scripts/Tidewell")));

    Unregister(entry_);  // nothing left to remove is fine
}

TEST_F(ContextMenuTest, ButtonAsksItsPurposeAndToggles) {
    EXPECT_EQ(ContextButtonHint(false), "Add program to folder context menu");
    EXPECT_EQ(ContextButtonHint(true), "Remove program from folder context menu");

    bool oldContext = false;
    QStringList questions;
    const TConfirmation yes = [&](const QString& question) {
        questions << question;
        return true;
    };
    ToggleContextMenu(entry_, oldContext, yes);
    EXPECT_TRUE(oldContext);
    EXPECT_TRUE(ContextMenuExists(entry_));
    ToggleContextMenu(entry_, oldContext, yes);
    EXPECT_FALSE(oldContext);
    EXPECT_FALSE(ContextMenuExists(entry_));
    EXPECT_EQ(questions, QStringList({"Add program to folder context menu",
                                      "Remove program from folder context menu"}));
}

TEST_F(ContextMenuTest, AnsweringNoChangesNothing) {
    for (const bool registered : {false, true}) {
        SCOPED_TRACE(registered);
        if (registered) Register(entry_);
        const QStringList before = TestSupport::Entries(dataFolder_);
        bool oldContext = registered;
        QString asked;
        ToggleContextMenu(entry_, oldContext, [&](const QString& question) {
            asked = question;
            return false;
        });
        EXPECT_EQ(asked, ContextButtonHint(registered));
        EXPECT_EQ(oldContext, registered);
        EXPECT_EQ(ContextMenuExists(entry_), registered);
        EXPECT_EQ(TestSupport::Entries(dataFolder_), before);
    }
}

TEST_F(ContextMenuTest, AFileThatCannotBeWrittenLeavesNoHalfRegistration) {
    const struct {
        const char* name;
        const char* blocked;  // a file where a folder of the registration goes, or the reverse
        bool asFolder;
        const char* failingFile;
    } failures[] = {
        {"actions folder blocked by a file", "file-manager/actions", false,
         "/file-manager/actions/Pairwell.desktop"},
        // Written last, after all the others, which must go again.
        {"a folder where the record goes", "pairwell-mirrowen/context-menu/Pairwell.list/x", true,
         "/pairwell-mirrowen/context-menu/Pairwell.list"},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        QDir(dataFolder_).removeRecursively();
        temp_.WriteFile("home-data/kio/servicemenus/keep.desktop", "keep");
        if (failure.asFolder) {
            temp_.MakeFolder(QString("home-data/") + failure.blocked);
        } else {
            temp_.WriteFile(QString("home-data/") + failure.blocked, "");
        }

        bool oldContext = false;
        try {
            ToggleContextMenu(entry_, oldContext, [](const QString&) { return true; });
            ADD_FAILURE() << "no error";
        } catch (const IniFiles::EIniFileError& error) {
            EXPECT_EQ(error.Message(), "Unable to write to " + dataFolder_ + failure.failingFile);
            EXPECT_NE(error.ErrorCode, 0);
        }
        EXPECT_FALSE(oldContext);
        EXPECT_FALSE(ContextMenuExists(entry_));
        for (const TMechanism& mechanism : kMechanisms)
            EXPECT_FALSE(QFileInfo(Data(mechanism.RelativePath)).isFile()) << mechanism.Name;
        EXPECT_EQ(ReadAll(Data("kio/servicemenus/keep.desktop")), "keep");
    }
}

TEST_F(ContextMenuTest, NothingIsWrittenOutsideAnAbsoluteDataFolder) {
    // A relative data folder would put the files wherever the program runs.
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp_.MakeFolder("work")));
    environment_.Set("XDG_DATA_HOME", "relative/data");
    EXPECT_THROW(Register(entry_), IniFiles::EIniFileError);
    EXPECT_FALSE(ContextMenuExists(entry_));
    EXPECT_EQ(TestSupport::Entries(temp_ / "work"), QStringList());
    QDir::setCurrent(workingFolder);

    // Nor an entry that could not start the program.
    environment_.Set("XDG_DATA_HOME", dataFolder_);
    EXPECT_THROW(Register({"Pairwell", "", "/icon.png"}), IniFiles::EIniFileError);
    EXPECT_FALSE(Exists(dataFolder_));
}

TEST_F(ContextMenuTest, DesktopDatabaseIsRefreshedWhenAnEarlierFolderEntryGoes) {
    const QString calls = temp_ / "calls";
    const QString tool = temp_.WriteFile("bin/update-desktop-database",
                                         "#!/bin/sh\necho \"$@\" >> '" + calls.toUtf8() +
                                             "'\nexit 1\n");  // a failing tool is no failure
    ASSERT_TRUE(
        QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    Register(entry_);
    Unregister(entry_);
    EXPECT_FALSE(Exists(calls));  // nothing of ours is in the database

    temp_.WriteFile("home-data/applications/Pairwell.desktop",
                    EarlierFolderEntry(entry_.ProgramPath));
    Register(entry_);
    EXPECT_EQ(ReadAll(calls), (Data("applications") + "\n").toUtf8());
}

TEST_F(ContextMenuTest, IconBesideTheProgramElseTheInstalledOne) {
    const QString bin = temp_.MakeFolder("prefix/bin");
    EXPECT_EQ(MenuEntryFor("Tidewell", bin + "/mirrowen").IconPath,
              temp_ / "prefix/share/pairwell-mirrowen/icons/mirrowen.png");

    const QString beside = temp_.WriteFile("prefix/bin/icons/mirrowen.png", "png");
    const TMenuEntry entry = MenuEntryFor("Tidewell", bin + "/mirrowen");
    EXPECT_EQ(entry.IconPath, beside);
    EXPECT_EQ(entry.VerbKey, "Tidewell");
    EXPECT_EQ(entry.ProgramPath, bin + "/mirrowen");
}
