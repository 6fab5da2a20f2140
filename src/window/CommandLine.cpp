// The command line and a program's files.
#include "CommandLine.h"

#include "Paths.h"
#include "ProgramInit.h"
#include "StringUtils.h"

using namespace FileUtils;

namespace Window {

namespace {

bool IsOption(const QString& argument) {
    return argument.size() > 0 && argument.at(0) == QLatin1Char('-') &&
           argument != QLatin1String("--");
}

// The option's name without its one or two dashes.
QString OptionName(const QString& argument) {
    return argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
}

bool IsHelp(const QString& name) {
    return name == QLatin1String("?") ||
           (!name.isEmpty() && StringUtils::MatchesKeyword(name, QStringLiteral("help")));
}

bool IsVersion(const QString& name) {
    return name.compare(QLatin1String("version"), Qt::CaseInsensitive) == 0;
}

// The program's option that `name` begins, or an empty text.
QString ProgramOption(const QString& name, const QStringList& programOptions) {
    for (const QString& option : programOptions) {
        if (StringUtils::MatchesKeyword(name, option)) return option;
    }
    return QString();
}

}  // namespace

TCommandLine ReadCommandLine(const QStringList& arguments, const QStringList& programOptions) {
    TCommandLine result;
    QString first;
    bool firstIsOption = false;
    bool firstSeen = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            // What follows "--" is a name, never an option.
            if (!firstSeen && i + 1 < arguments.size()) {
                first = arguments[i + 1];
                firstSeen = true;
            }
            break;
        }
        if (ProgramInit::IsProgramInitOption(argument)) continue;
        const bool option = IsOption(argument);
        if (option) {
            const QString name = OptionName(argument);
            if (IsHelp(name)) {
                result.Help = true;
            } else if (IsVersion(name)) {
                result.Version = true;
            } else if (ProgramOption(name, programOptions).isEmpty()) {
                result.Unknown.append(argument);
            }
        }
        if (!firstSeen) {
            first = argument;
            firstIsOption = option;
            firstSeen = true;
        }
    }

    if (firstIsOption) {
        first = OptionName(first);
        result.FirstOption = ProgramOption(first, programOptions);
    }
    // A file names its folder; so does a path that does not exist (yet).
    if (!IsExistingFolder(first)) first = ExtractFilePath(first);
    if (!first.isEmpty()) result.Folder = IncludeTrailingDelimiter(first);
    return result;
}

TProgramFiles ProgramFiles() {
    TProgramFiles files;
    ProgramInit::InitPaths(files.AppPath, files.UserPath);
    files.IniName =
        ComposeFileName(files.AppPath, ProgramInit::ProgramName(), QStringLiteral("ini"));
    return files;
}

}  // namespace Window
