// Version information on Linux: the project version compiled into each program.
#include "VersionInfo.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLocale>

#include "BuildVersion.h"
#include "Catalog.h"
#include "FileAttributes.h"
#include "ProcessInfo.h"

namespace VersionInfo {

namespace {

constexpr auto SVersion = Catalog::ResourceString("Version");

TFileVersionInfo programVersion;
QString programFileForTesting;

// The same file, whichever name or hard link it is reached by.
bool IsRunningProgram(const QString& fileName) {
    Platform::TFileAttributeData file;
    Platform::TFileAttributeData program;
    return !fileName.isEmpty() && Platform::QueryAttributeData(fileName, true, file) == 0 &&
           Platform::QueryAttributeData(Platform::ExecutablePath(), true, program) == 0 &&
           file.VolumeId == program.VolumeId && file.FileIndex == program.FileIndex;
}

// Always four parts, as a Windows file version has them.
QString FourPartVersion() {
    QString version = QString::fromLatin1(BUILD_VERSION);
    while (version.count(QLatin1Char('.')) < 3)
        version += QStringLiteral(".0");
    return version;
}

}  // namespace

bool ReadVersionInfo(const QString& fileName, TFileVersionInfo& info) {
    info = TFileVersionInfo();
    if (!IsRunningProgram(fileName)) return false;
    info.Company = QStringLiteral("Quillonsoft");
    info.Version = FourPartVersion();
    info.Copyright = kMakerCopyright;
    return true;
}

QString GetVersionText(int parts) {
    QString version = programVersion.Version;
    for (int part = parts; part < 4; ++part) {
        const qsizetype dot = version.lastIndexOf(QLatin1Char('.'));
        if (dot < 0) break;  // a version without parts to spare keeps what it has
        version.truncate(dot);
    }
    return Catalog::LoadResString(SVersion) + QLatin1Char(' ') + version;
}

void InitProgramInfo(const QString& title, const QString& fallbackVersion,
                     const QString& fallbackCopyright, int parts, QString& name, QString& date) {
    const QString programFile = ProgramFileName();
    if (ReadVersionInfo(programFile, programVersion)) {
        if (programVersion.InternalName.isEmpty()) programVersion.InternalName = title;
    } else {
        programVersion.InternalName = title;
        programVersion.Version = fallbackVersion;
        programVersion.Copyright = fallbackCopyright;
    }
    programVersion.Comments = GetVersionText(parts);
    name = programVersion.InternalName + QStringLiteral(" (") + programVersion.Comments +
           QLatin1Char(')');
    const QDateTime modified = QFileInfo(programFile).lastModified();
    date = QLocale().toString(modified.date(), QLocale::ShortFormat);
}

const TFileVersionInfo& ProgramVersion() {
    return programVersion;
}

QString ProgramFileName() {
    return programFileForTesting.isEmpty() ? Platform::ExecutablePath() : programFileForTesting;
}

void SetProgramFileForTesting(const QString& fileName) {
    programFileForTesting = fileName;
}

}  // namespace VersionInfo
