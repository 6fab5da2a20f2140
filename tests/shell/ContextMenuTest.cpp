// The folder context-menu entry: the two files in the user's data folder, their round trip
// through a desktop-entry reader, the button's question, and failures that leave no half
// registration.
#include "ContextMenu.h"

#include <clocale>
#include <functional>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include "Catalog.h"
#include "IniFiles.h"
#include "ScopedEnvironment.h"
#include "TempFolder.h"

using namespace ContextMenu;
using TestSupport::Exists;
using TestSupport::ReadAll;

namespace {

// A desktop-entry string value as readers see it: the escapes undone.
QString UnescapeValue(const QString& value) {
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            result += value[i];
            continue;
        }
        const QChar next = value[++i];
        if (next == 's') {
            result += ' ';
        } else if (next == 'n') {
            result += '\n';
        } else if (next == 't') {
            result += '\t';
        } else if (next == 'r') {
            result += '\r';
        } else {
            result += next;
        }
    }
    return result;
}

// An unescaped Exec value split into its arguments the way a launcher does it: blanks
// separate, double quotes group, a backslash inside quotes takes the next character
// literally; then "%%" stands for "%".
QStringList SplitExecArguments(const QString& exec) {
    QStringList arguments;
    QString current;
    bool inQuotes = false;
    bool inArgument = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes) {
            if (c == '\\' && i + 1 < exec.size()) {
                current += exec[++i];
            } else if (c == '"') {
                inQuotes = false;
            } else {
                current += c;
            }
        } else if (c == ' ') {
            if (inArgument) arguments << current;
            current.clear();
            inArgument = false;
        } else {
            if (c == '"') {
                inQuotes = true;
            } else {
                current += c;
            }
            inArgument = true;
        }
    }
    if (inArgument) arguments << current;
    for (QString& argument : arguments)
        argument.replace("%%", "%");
    return arguments;
}

// The value of the first line "key=..." of a file, unescaped.
QString ValueOf(const QString& fileName, const QString& key) {
    for (const QString& line : QString::fromUtf8(ReadAll(fileName)).split('\n')) {
        if (line.startsWith(key + '=')) return UnescapeValue(line.mid(key.size() + 1));
    }
    return "<missing " + key + ">";
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

    QString DesktopEntryOf(const QString& verbKey) const {
        return dataFolder_ + "/applications/" + verbKey + ".desktop";
    }
    QString ServiceMenuOf(const QString& verbKey) const {
        return dataFolder_ + "/kio/servicemenus/" + verbKey + ".desktop";
    }

    TestSupport::TempFolder temp_;
    TestSupport::ScopedEnvironment environment_;
    const QString dataFolder_ = temp_ / "home-data";  // created by the registration
    const TMenuEntry entry_{"Pairwell", "/opt/pw/bin/pairwell", "/opt/pw/bin/icons/pairwell.png"};
};

TEST_F(ContextMenuTest, RegisterWritesBothFilesAndUnregisterRemovesThem) {
    ASSERT_FALSE(ContextMenuExists(entry_));
    Register(entry_, "Synchronize with ..");

    EXPECT_TRUE(ContextMenuExists(entry_));
    EXPECT_EQ(ReadAll(DesktopEntryOf("Pairwell")),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Synchronize with ..\n"
              "Icon=/opt/pw/bin/icons/pairwell.png\n"
              "Exec=\"/opt/pw/bin/pairwell\" %f\n"
              "MimeType=inode/directory;\n"
              "NoDisplay=true\n"
              "Terminal=false\n");
    EXPECT_EQ(ReadAll(ServiceMenuOf("Pairwell")),
              "[Desktop Entry]\n"
              "Type=Service\n"
              "MimeType=inode/directory;\n"
              "Actions=synchronize;\n"
              "X-KDE-Priority=TopLevel\n"
              "\n"
              "[Desktop Action synchronize]\n"
              "Name=Synchronize with ..\n"
              "Icon=/opt/pw/bin/icons/pairwell.png\n"
              "Exec=\"/opt/pw/bin/pairwell\" %f\n");
    EXPECT_EQ(TestSupport::Permissions(ServiceMenuOf("Pairwell")) & 07777, 0755u);

    Unregister(entry_);
    EXPECT_FALSE(ContextMenuExists(entry_));
    EXPECT_FALSE(Exists(DesktopEntryOf("Pairwell")));
    EXPECT_FALSE(Exists(ServiceMenuOf("Pairwell")));
}

TEST_F(ContextMenuTest, AnOddProgramPathSurvivesTheReader) {
    const QString folder = temp_ / "My \"Sync\" $HOME `x` 100% back\\slash";
    const TMenuEntry entry{"Pairwell", folder + "/pair well", folder + "/icons/pair well.png"};
    Register(entry, " Synchronize\twith ..");

    for (const QString& file : {DesktopEntryOf("Pairwell"), ServiceMenuOf("Pairwell")}) {
        SCOPED_TRACE(file.toStdString());
        EXPECT_EQ(SplitExecArguments(ValueOf(file, "Exec")),
                  QStringList({entry.ProgramPath, "%f"}));
        EXPECT_EQ(ValueOf(file, "Icon"), entry.IconPath);
        EXPECT_EQ(ValueOf(file, "Name"), " Synchronize\twith ..");
    }
    // The two escaping steps in that order: a quote is escaped for the quoting, and that
    // backslash once more for the string.
    EXPECT_TRUE(ReadAll(DesktopEntryOf("Pairwell"))
                    .contains(R"(My \\"Sync\\" \\$HOME \\`x\\` 100%% back\\\\slash)"));
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
    EXPECT_EQ(ValueOf(ServiceMenuOf("Pairwell"), "Name"), "Synchronize with ..");

    ToggleContextMenu(entry_, oldContext, yes);
    EXPECT_FALSE(oldContext);
    EXPECT_FALSE(Exists(DesktopEntryOf("Pairwell")));
    EXPECT_FALSE(Exists(ServiceMenuOf("Pairwell")));

    EXPECT_EQ(questions, QStringList({"Add program to folder context menu",
                                      "Remove program from folder context menu"}));
}

TEST_F(ContextMenuTest, AnsweringNoChangesNothing) {
    for (const bool registered : {false, true}) {
        SCOPED_TRACE(registered);
        if (registered) Register(entry_, "Synchronize with ..");
        const QByteArray desktopEntryBefore = ReadAll(DesktopEntryOf("Pairwell"));
        bool oldContext = registered;
        QString asked;
        ToggleContextMenu(entry_, oldContext, [&](const QString& question) {
            asked = question;
            return false;
        });
        EXPECT_EQ(asked, ContextButtonHint(registered));
        EXPECT_EQ(oldContext, registered);
        EXPECT_EQ(Exists(DesktopEntryOf("Pairwell")), registered);
        EXPECT_EQ(Exists(ServiceMenuOf("Pairwell")), registered);
        EXPECT_EQ(ReadAll(DesktopEntryOf("Pairwell")), desktopEntryBefore);
    }
}

TEST_F(ContextMenuTest, MenuTextIsTheLanguageInUseAtRegistration) {
    Catalog::UseLanguage("de");
    bool oldContext = false;
    QString asked;
    ToggleContextMenu(entry_, oldContext, [&](const QString& question) {
        asked = question;
        return true;
    });
    EXPECT_EQ(asked, "Programm zum Ordner-Kontextmenü hinzufügen");
    EXPECT_EQ(ValueOf(DesktopEntryOf("Pairwell"), "Name"), "Synchronisieren mit ..");
    EXPECT_EQ(ValueOf(ServiceMenuOf("Pairwell"), "Name"), "Synchronisieren mit ..");
}

TEST_F(ContextMenuTest, RemovalDeletesExactlyWhatRegistrationWrote) {
    const QString ownApplication = temp_.WriteFile("home-data/applications/own.desktop", "own");
    const QString ownServiceMenu = temp_.WriteFile("home-data/kio/servicemenus/own.desktop", "own");
    const TMenuEntry mirrowen{"Tidewell", "/opt/pw/bin/mirrowen", "/opt/pw/bin/icons/m.png"};
    Register(entry_, "Synchronize with ..");
    Register(mirrowen, "Synchronize with ..");

    Unregister(entry_);
    EXPECT_EQ(TestSupport::Entries(dataFolder_ + "/applications"),
              QStringList({"Tidewell.desktop", "own.desktop"}));
    EXPECT_EQ(TestSupport::Entries(dataFolder_ + "/kio/servicemenus"),
              QStringList({"Tidewell.desktop", "own.desktop"}));
    EXPECT_EQ(ReadAll(ownApplication), "own");
    EXPECT_EQ(ReadAll(ownServiceMenu), "own");
    EXPECT_TRUE(ContextMenuExists(mirrowen));

    Unregister(entry_);  // nothing left to remove is fine
}

struct TWriteFailure {
    const char* Name;
    std::function<void(TestSupport::TempFolder&)> Prepare;
    const char* FailingFile;  // relative to the data folder
};

TEST_F(ContextMenuTest, AFileThatCannotBeWrittenLeavesNoHalfRegistration) {
    const TWriteFailure failures[] = {
        {"service menu folder blocked by a file",
         [](TestSupport::TempFolder& temp) { temp.WriteFile("home-data/kio/servicemenus", ""); },
         "/kio/servicemenus/Pairwell.desktop"},
        {"applications folder blocked by a file",
         [](TestSupport::TempFolder& temp) { temp.WriteFile("home-data/applications", ""); },
         "/applications/Pairwell.desktop"},
        // The service menu is written by then and must go again.
        {"a folder where the desktop entry goes",
         [](TestSupport::TempFolder& temp) {
             temp.MakeFolder("home-data/applications/Pairwell.desktop/inside");
         },
         "/applications/Pairwell.desktop"},
    };
    for (const TWriteFailure& failure : failures) {
        SCOPED_TRACE(failure.Name);
        QDir(dataFolder_).removeRecursively();
        temp_.WriteFile("home-data/kio/keep.txt", "keep");
        failure.Prepare(temp_);

        bool oldContext = false;
        try {
            ToggleContextMenu(entry_, oldContext, [](const QString&) { return true; });
            ADD_FAILURE() << "no error";
        } catch (const IniFiles::EIniFileError& error) {
            EXPECT_EQ(error.Message(), "Unable to write to " + dataFolder_ + failure.FailingFile);
            EXPECT_NE(error.ErrorCode, 0);
        }
        EXPECT_FALSE(oldContext);
        EXPECT_FALSE(ContextMenuExists(entry_));
        EXPECT_FALSE(QFile::exists(ServiceMenuOf("Pairwell")));
        EXPECT_EQ(ReadAll(dataFolder_ + "/kio/keep.txt"), "keep");
    }
}

TEST_F(ContextMenuTest, NothingIsWrittenOutsideAnAbsoluteDataFolder) {
    // A relative data folder would put the files wherever the program runs.
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(temp_.MakeFolder("work")));
    environment_.Set("XDG_DATA_HOME", "relative/data");
    EXPECT_THROW(Register(entry_, "Synchronize with .."), IniFiles::EIniFileError);
    EXPECT_FALSE(ContextMenuExists(entry_));
    EXPECT_EQ(TestSupport::Entries(temp_ / "work"), QStringList());
    QDir::setCurrent(workingFolder);

    // Nor an entry that could not start the program.
    environment_.Set("XDG_DATA_HOME", dataFolder_);
    EXPECT_THROW(Register({"Pairwell", "", "/icon.png"}, "Synchronize with .."),
                 IniFiles::EIniFileError);
    EXPECT_FALSE(Exists(dataFolder_));
}

TEST_F(ContextMenuTest, DesktopDatabaseIsRefreshedWhenTheToolIsThere) {
    Register(entry_, "Synchronize with ..");  // without the tool
    Unregister(entry_);

    const QString calls = temp_ / "calls";
    for (const char* exitCode : {"0", "1"}) {  // a failing tool is no failure either
        SCOPED_TRACE(exitCode);
        QFile::remove(calls);
        const QString tool = temp_.WriteFile("bin/update-desktop-database",
                                             "#!/bin/sh\necho \"$@\" >> '" + calls.toUtf8() +
                                                 "'\nexit " + QByteArray(exitCode) + "\n");
        ASSERT_TRUE(
            QFile::setPermissions(tool, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        Register(entry_, "Synchronize with ..");
        EXPECT_TRUE(ContextMenuExists(entry_));
        Unregister(entry_);
        const QByteArray folder = (dataFolder_ + "/applications").toUtf8();
        EXPECT_EQ(ReadAll(calls), folder + "\n" + folder + "\n");
    }
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

}  // namespace
