// The texts both runs show, translated once per run, and how names and reasons appear in them.
#pragma once

#include <QString>

#include "ErrorCode.h"

namespace Sync {

// Opens a section of the log (a scan or a copy pass).
inline const QString kSectionMark = QStringLiteral("=> ");

struct TRunTexts {
    TRunTexts();  // translates them all

    QString ScanDirectory;
    QString Scanning;
    QString FilesFound;
    QString FilesCopied;
    QString Copy;
    QString ErrorCopying;
    QString NotCopied;
    QString CouldNotCreateDirectory;
    QString CouldNotReadDirectory;
    QString CouldNotReadFile;
    QString DirectoryNotFound;
    QString FoldersContainEachOther;
    QString FilterNotNames;
};

// A name or path as a log line shows it: control characters (a line break would split the line)
// and bytes that are no text are written as \xNN.
QString Shown(const QString& text);

// `line` followed by the reason in parentheses, so that the line begins as it always did.
QString WithReason(const QString& line, const QString& reason);

// The system's text for an error code (or the copy engine's own).
QString ReasonOf(Platform::ErrorCode code);

}  // namespace Sync
