// Program initialisation: folders, options and the interface language.
#include "ProgramInit.h"

#include <optional>

#include <QDir>
#include <QRegularExpression>

#include "Catalog.h"
#include "FileSystemOps.h"
#include "IniFiles.h"
#include "Paths.h"
#include "PlaceHolders.h"
#include "ProcessInfo.h"
#include "SpecialFolders.h"
#include "StringUtils.h"

namespace ProgramInit {

using namespace FileUtils;
using StringUtils::MatchesKeyword;
using StringUtils::StripKeywordPrefix;

namespace {

struct State {
    QString programFolder;
    QString programName;
    QString vendorFolder;
    QString cfgName;
    QString languageCode;
    QStringList arguments;
    bool argumentsOverridden = false;
};

State FromProgramPath(const QString& programPath) {
    State state;
    state.programFolder = ExtractFilePath(programPath);
    state.programName = RemoveFileExt(ExtractFileName(programPath));
    return state;
}

State& Current() {
    static State state = FromProgramPath(Platform::ExecutablePath());
    return state;
}

// A value given on the command line or in the language settings file, as a language code:
// its first two characters, in 8 bits.
QString ShortCode(const QString& value) {
    return QString::fromLatin1(value.toLatin1().left(2));
}

// The option text of an argument ("lang:de" for "-lang:de" or "--lang=de"), or nothing when
// the argument is not an option. `endOfOptions` is set by a lone "--".
std::optional<QString> OptionText(const QString& argument, bool& endOfOptions) {
#ifdef Q_OS_WIN
    const bool isOption =
        argument.startsWith(QLatin1Char('/')) || argument.startsWith(QLatin1Char('-'));
    if (!isOption) return std::nullopt;
    return argument.mid(1);
#else
    // A leading "/" is a path here; options begin with "-" or "--".
    if (endOfOptions || !argument.startsWith(QLatin1Char('-'))) return std::nullopt;
    if (argument == QLatin1String("--")) {
        endOfOptions = true;
        return std::nullopt;
    }
    QString text = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    // "name=value" is the usual spelling of "name:value" on this platform.
    const qsizetype equals = text.indexOf(QLatin1Char('='));
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    if (equals >= 0 && (colon < 0 || equals < colon)) text[equals] = QLatin1Char(':');
    return text;
#endif
}

enum class TInitOption { None, Lang, Ini, Portable };

// Which option an option text is, tried in the order lang, ini, portable; for a valued option
// `text` is left holding the value.
TInitOption Classify(QString& text) {
    if (StripKeywordPrefix(text, QStringLiteral("lang"))) return TInitOption::Lang;
    if (StripKeywordPrefix(text, QStringLiteral("ini"))) return TInitOption::Ini;
    if (MatchesKeyword(text, QStringLiteral("portable"))) return TInitOption::Portable;
    return TInitOption::None;
}

// Where the language settings file goes when the "ini" option names `requested`.
QString MovedCfgName(const QString& requested, bool portable, const QString& cfgName,
                     const QString& programFolder) {
    const QChar delimiter(NativePaths.Delimiter);
    if (requested.endsWith(delimiter)) return requested + ExtractFileName(cfgName);

    const QString name = portable
                             ? ReplaceFileExt(ExtractFileName(requested), QStringLiteral("cfg"))
                             : ExtractFileName(cfgName);
    QString folder;
    if (IsAbsolutePath(requested)) {
        folder = ExtractFilePath(requested);
    } else if (portable) {
        folder = requested.contains(delimiter) ? programFolder + ExtractFilePath(requested)
                                               : programFolder;
    } else {
        folder = requested.contains(delimiter)
                     ? QDir::current().absoluteFilePath(ExtractFilePath(requested))
                     : ExtractFilePath(cfgName);
    }
    return IncludeTrailingDelimiter(folder) + name;
}

// Two-letter codes of the interface languages we know, with the languages that share a code.
QString KnownLanguageCode(const QString& language) {
    static const QStringList known = {
        QStringLiteral("bg"), QStringLiteral("cs"), QStringLiteral("da"), QStringLiteral("de"),
        QStringLiteral("el"), QStringLiteral("en"), QStringLiteral("es"), QStringLiteral("fi"),
        QStringLiteral("fr"), QStringLiteral("hu"), QStringLiteral("it"), QStringLiteral("nl"),
        QStringLiteral("no"), QStringLiteral("pl"), QStringLiteral("pt"), QStringLiteral("ro"),
        QStringLiteral("ru"), QStringLiteral("hr"), QStringLiteral("sk"), QStringLiteral("sq"),
        QStringLiteral("sv"), QStringLiteral("tr"), QStringLiteral("uk"), QStringLiteral("sl"),
        QStringLiteral("et"), QStringLiteral("lv"), QStringLiteral("lt")};
    if (known.contains(language)) return language;
    // Bokmål and Nynorsk count as Norwegian; Serbian and Bosnian share Croatian's code.
    if (language == QLatin1String("nb") || language == QLatin1String("nn")) {
        return QStringLiteral("no");
    }
    if (language == QLatin1String("sr") || language == QLatin1String("bs")) {
        return QStringLiteral("hr");
    }
    return QString();
}

}  // namespace

const QString& ProgramFolder() {
    return Current().programFolder;
}
const QString& ProgramName() {
    return Current().programName;
}
const QString& VendorFolder() {
    return Current().vendorFolder;
}
const QString& CfgName() {
    return Current().cfgName;
}
const QString& LanguageCode() {
    return Current().languageCode;
}

const QStringList& ProgramArguments() {
    State& state = Current();
    if (!state.argumentsOverridden) {
        state.arguments = Platform::CommandLineArguments();
        state.argumentsOverridden = true;
    }
    return state.arguments;
}

void SetProcessForTesting(const QString& programPath, const QStringList& arguments) {
    State& state = Current();
    state = FromProgramPath(programPath.isEmpty() ? Platform::ExecutablePath() : programPath);
    state.arguments = arguments;
    state.argumentsOverridden = true;
}

void InitProgram(const QString& vendorLabel, const QString& languageFileName,
                 const QStringList& resourceDomains) {
    State& state = Current();
    state.cfgName =
        languageFileName.isEmpty() ? ProgramName() + QStringLiteral(".cfg") : languageFileName;
    QString folder;
    if (IsRelativePath(vendorLabel)) {
        // Without an application-data folder the program folder stands in, as for settings.
        const QString appData = GetAppDataPath();
        folder = appData.isEmpty() ? ProgramFolder() + vendorLabel
                                   : IncludeTrailingDelimiter(appData) + vendorLabel;
        state.vendorFolder = vendorLabel;
    } else {
        folder = vendorLabel;
    }
    state.cfgName = IncludeTrailingDelimiter(folder) + state.cfgName;
    for (const QString& domain : resourceDomains)
        Catalog::AddResourceStringDomain(domain);
    Catalog::UseLanguage(GetProgramLanguage());
}

bool IsProgramInitOption(const QString& argument) {
    bool endOfOptions = false;
    const std::optional<QString> option = OptionText(argument, endOfOptions);
    if (!option) return false;
    QString text = *option;
    return Classify(text) != TInitOption::None;
}

QString ReadLanguageOptions() {
    State& state = Current();
    QString code;
    QString requested;
    bool portable = false;
    bool endOfOptions = false;
    for (const QString& argument : ProgramArguments()) {
        const std::optional<QString> option = OptionText(argument, endOfOptions);
        if (!option) continue;
        QString value = *option;
        switch (Classify(value)) {
            case TInitOption::Lang:
                code = ShortCode(value);
                break;
            case TInitOption::Ini:
                requested = PlaceHolders::ExpandPlaceholders(value);
                break;
            case TInitOption::Portable:
                portable = true;
                if (requested.isEmpty()) requested = ProgramFolder();
                break;
            case TInitOption::None:
                break;
        }
    }
    if (!requested.isEmpty()) {
        state.cfgName = MovedCfgName(requested, portable, state.cfgName, ProgramFolder());
    }
    if (code.isEmpty()) {
        const IniFiles::TIniFile cfg(state.cfgName);
        code = ShortCode(
            cfg.ReadString(QStringLiteral("Language"), QStringLiteral("LangID"), QString()));
    }
    return code;
}

QString GetProgramLanguage() {
    QString code = ReadLanguageOptions();
    if (code.isEmpty()) code = GetSystemLanguageCode();
    Current().languageCode = code;
    return code;
}

QString GetSystemLanguageCode() {
    // The locale that decides the language of messages, as the C library picks it.
    QString locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        locale = qEnvironmentVariable(variable);
        if (!locale.isEmpty()) break;
    }
    const qsizetype end = locale.indexOf(QRegularExpression(QStringLiteral("[_.@]")));
    return KnownLanguageCode(locale.left(end).toLower());
}

QString GetAppDataPath() {
    return Platform::GetSpecialFolderPath(Platform::kCsidlAppData);
}

QString GetDocumentsPath() {
    return Platform::GetSpecialFolderPath(Platform::kCsidlPersonal);
}

QString GetSettingsFolder(const QString& subFolder, bool create) {
    const QString base = GetAppDataPath();
    if (base.isEmpty()) return ProgramFolder();
    const QString folder = IncludeTrailingDelimiter(base) + subFolder;
    if (create && Platform::CreateFolderWithParents(folder) != 0) return ProgramFolder();
    return folder;
}

void InitPaths(QString& appPath, QString& userPath, QString& progFilesPath, bool create) {
    appPath = GetSettingsFolder(VendorFolder(), create);
    userPath = IncludeTrailingDelimiter(GetDocumentsPath());
    progFilesPath =
        IncludeTrailingDelimiter(Platform::GetSpecialFolderPath(Platform::kCsidlProgramFiles));
}

void InitPaths(QString& appPath, QString& userPath) {
    QString progFilesPath;
    InitPaths(appPath, userPath, progFilesPath, true);
}

}  // namespace ProgramInit
