// Version information of the running program, the version text and the program name and date.
#include "VersionInfo.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>
#include <QRegularExpression>

#include "NativeName.h"
#include "TempFolder.h"

using namespace VersionInfo;
using TestSupport::TempFolder;

namespace {

// The test executable is the running program unless a test names another file.
class VersionInfoTest : public ::testing::Test {
  protected:
    void TearDown() override { SetProgramFileForTesting(QString()); }

    TempFolder folder_;
};

TFileVersionInfo Filled() {
    return {"company", "description", "version", "internal", "copyright", "comments"};
}

}  // namespace

TEST_F(VersionInfoTest, TheRunningProgramCarriesTheProjectVersion) {
    const QString link = folder_ / "program-link";
    ASSERT_EQ(symlink(Platform::ToNativeName(ProgramFileName()).constData(),
                      Platform::ToNativeName(link).constData()),
              0);
    for (const QString& name : {ProgramFileName(), QString("/proc/self/exe"), link}) {
        TFileVersionInfo info = Filled();
        ASSERT_TRUE(ReadVersionInfo(name, info)) << name.toStdString();
        EXPECT_TRUE(
            QRegularExpression("^\\d+\\.\\d+\\.\\d+\\.\\d+$").match(info.Version).hasMatch())
            << info.Version.toStdString();
        EXPECT_EQ(info.Company, "Quillonsoft");
        EXPECT_TRUE(info.Copyright.startsWith("Copyright (C) ")) << info.Copyright.toStdString();
        EXPECT_TRUE(info.Copyright.endsWith("Quillonsoft")) << info.Copyright.toStdString();
        EXPECT_EQ(info.Description, "");
        EXPECT_EQ(info.InternalName, "");
        EXPECT_EQ(info.Comments, "");
    }
}

TEST_F(VersionInfoTest, OtherFilesHaveNoVersionInformation) {
    const QString file = folder_.WriteFile("other", "x");
    for (const QString& name : {file, folder_ / "missing", folder_.Path(), QString()}) {
        TFileVersionInfo info = Filled();
        EXPECT_FALSE(ReadVersionInfo(name, info)) << name.toStdString();
        EXPECT_EQ(info.Company + info.Description + info.Version + info.InternalName +
                      info.Copyright + info.Comments,
                  "");
    }
}

TEST_F(VersionInfoTest, ProgramInfoFromTheProgramsOwnVersion) {
    QString name;
    QString date;
    InitProgramInfo("Synchronize folders", "1.0", "fallback", 3, name, date);
    const TFileVersionInfo& record = ProgramVersion();
    const QString threeParts = record.Version.section('.', 0, 2);
    EXPECT_EQ(record.Comments, "Version " + threeParts);
    EXPECT_EQ(record.InternalName, "Synchronize folders");
    EXPECT_EQ(record.Company, "Quillonsoft");
    EXPECT_NE(record.Copyright, "fallback");
    EXPECT_EQ(name, "Synchronize folders (Version " + threeParts + ")");
    EXPECT_FALSE(date.isEmpty());
}

TEST_F(VersionInfoTest, WithoutVersionInformationTheFallbacksCount) {
    const QDateTime modified(QDate(2001, 2, 3), QTime(12, 0));
    SetProgramFileForTesting(
        folder_.WriteFile("program", "x", time_t(modified.toSecsSinceEpoch())));
    QString name;
    QString date;
    InitProgramInfo("Synchronize folder", "1.0", "Copyright line", 3, name, date);
    const TFileVersionInfo& record = ProgramVersion();
    EXPECT_EQ(record.Comments, "Version 1");
    EXPECT_EQ(name, "Synchronize folder (Version 1)");
    EXPECT_EQ(record.InternalName, "Synchronize folder");
    EXPECT_EQ(record.Version, "1.0");
    EXPECT_EQ(record.Copyright, "Copyright line");
    EXPECT_EQ(record.Company, "");
    EXPECT_EQ(date, QLocale().toString(QDate(2001, 2, 3), QLocale::ShortFormat));
}

TEST_F(VersionInfoTest, VersionTextKeepsTheWantedParts) {
    SetProgramFileForTesting(folder_.WriteFile("program", "x"));
    const struct {
        const char* version;
        int parts;
        const char* expected;
    } cases[] = {
        {"0.1.0.0", 3, "Version 0.1.0"},
        {"0.1.0.0", 4, "Version 0.1.0.0"},
        {"0.1.0.0", 6, "Version 0.1.0.0"},
        {"0.1.0.0", 2, "Version 0.1"},
        {"0.1.0.0", 1, "Version 0"},
        {"0.1.0.0", 0, "Version 0"},
        {"2.1", 3, "Version 2"},
        {"7", 3, "Version 7"},
        {"", 3, "Version "},
    };
    for (const auto& c : cases) {
        QString name;
        QString date;
        InitProgramInfo("Title", c.version, "", c.parts, name, date);
        EXPECT_EQ(GetVersionText(c.parts), c.expected) << c.version << " " << c.parts;
        EXPECT_EQ(ProgramVersion().Comments, c.expected);
    }
}
