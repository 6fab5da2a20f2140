// The running program's version information and the texts built from it: the version text
// of the window caption, the program name with version and the date of the program file.
#pragma once

#include <QString>

namespace VersionInfo {

// The maker's copyright line, as the program's version information carries it.
inline const QString kMakerCopyright = QStringLiteral("Copyright (C) 2026 Quillonsoft");

struct TFileVersionInfo {
    QString Company;
    QString Description;
    QString Version;
    QString InternalName;
    QString Copyright;
    QString Comments;
};

// True when the file carries version information, which then fills `info`; every field is
// emptied first. On Linux only the running program's own executable carries it: the project
// version in four parts, the maker and its copyright line.
bool ReadVersionInfo(const QString& fileName, TFileVersionInfo& info);

// The translated "Version", a blank and the first `parts` parts of the program version.
QString GetVersionText(int parts);

// Fills the program version record from the program file, or from the title and the
// fallbacks when the file has no version information; its Comments then hold the version
// text. `name` becomes the program name with the version text in parentheses, `date` the
// program file's modification date in the user's short date format.
void InitProgramInfo(const QString& title, const QString& fallbackVersion,
                     const QString& fallbackCopyright, int parts, QString& name, QString& date);

// The program version record, as InitProgramInfo left it.
const TFileVersionInfo& ProgramVersion();

// The running program's executable file.
QString ProgramFileName();

// For tests: the file InitProgramInfo takes for the program; empty restores the real one.
void SetProgramFileForTesting(const QString& fileName);

}  // namespace VersionInfo
