// Program initialisation: the program's own folder and name, the settings folder, the
// command-line options "lang", "ini" and "portable", and the choice of the interface language.
#pragma once

#include <QString>
#include <QStringList>

namespace ProgramInit {

// Process-wide values, fixed at start-up and only read afterwards.
const QString& ProgramFolder();  // folder of the executable, with a trailing delimiter
const QString& ProgramName();    // file name of the executable without its extension
const QString& VendorFolder();   // the vendor label given to InitProgram, when it is relative
const QString& CfgName();        // full path of the language settings file
const QString& LanguageCode();   // the chosen language, 0 to 2 characters

// The command-line arguments after the program path. Read from the process itself, so they
// are known before the application object exists.
const QStringList& ProgramArguments();

// The first action of each program: fixes CfgName and VendorFolder, registers the resource
// domains, chooses the language and hands it to the catalog layer.
void InitProgram(const QString& vendorLabel, const QString& languageFileName,
                 const QStringList& resourceDomains);

// True for an argument that is one of the options read here ("lang", "ini", "portable"), so
// that a program's own reading of its first parameter can pass over it.
bool IsProgramInitOption(const QString& argument);

// The "lang" option, else the language settings file; may move CfgName ("ini", "portable").
QString ReadLanguageOptions();
// ReadLanguageOptions, else GetSystemLanguageCode; stored in LanguageCode.
QString GetProgramLanguage();
// The two-letter code of the user's interface language, empty when it is not one we know.
QString GetSystemLanguageCode();

// The user's application-data and documents folders, without a trailing delimiter; empty
// when they cannot be determined.
QString GetAppDataPath();
QString GetDocumentsPath();

// The application-data folder followed by subFolder, created when asked; the program folder
// when there is no application-data folder or it cannot be created.
QString GetSettingsFolder(const QString& subFolder, bool create);

void InitPaths(QString& appPath, QString& userPath, QString& progFilesPath, bool create);
void InitPaths(QString& appPath, QString& userPath);

// For tests: replaces the values read from the process. An empty program path keeps the real
// one.
void SetProcessForTesting(const QString& programPath, const QStringList& arguments);

}  // namespace ProgramInit
