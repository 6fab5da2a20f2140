// The shared run texts.
#include "RunTexts.h"

#include "Catalog.h"
#include "FileCopy.h"

namespace Sync {

using Catalog::gettext;

TRunTexts::TRunTexts()
    : ScanDirectory(gettext("Scan directory:")),
      Scanning(gettext("Scanning: ")),
      FilesFound(gettext("  %u files found")),
      FilesCopied(gettext("  %u files copied")),
      Copy(gettext("  Copy: %s")),
      ErrorCopying(gettext("* Error copying: ")),
      NotCopied(gettext("* Not copied: ")),
      CouldNotCreateDirectory(gettext("* Could not create directory: ")),
      CouldNotReadDirectory(gettext("* Could not read directory: ")),
      CouldNotReadFile(gettext("* Could not read file: ")),
      DirectoryNotFound(gettext("Directory not found: ")),
      FoldersContainEachOther(gettext("Folders must not contain each other: ")),
      FilterNotNames(gettext("The filter must hold file name masks such as *.txt, separated "
                             "by \";\": ")) {}

QString Shown(const QString& text) {
    const auto needsEscape = [](char16_t c) {
        return c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c == 0x2028 || c == 0x2029 ||
               (c >= 0xDC80 && c <= 0xDCFF);  // a byte of a name that is no UTF-8
    };
    qsizetype i = 0;
    while (i < text.size() && !needsEscape(text.at(i).unicode()))
        ++i;
    if (i == text.size()) return text;
    QString shown = text.left(i);
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (!needsEscape(c)) {
            shown += QChar(c);
        } else if (c >= 0x2028 && c <= 0x2029) {
            shown += QStringLiteral("\\u%1").arg(unsigned(c), 4, 16, QLatin1Char('0'));
        } else {
            shown += QStringLiteral("\\x%1").arg(unsigned(c & 0xFF), 2, 16, QLatin1Char('0'));
        }
    }
    return shown;
}

QString WithReason(const QString& line, const QString& reason) {
    return line + QStringLiteral(" (") + Shown(reason) + QLatin1Char(')');
}

QString ReasonOf(Platform::ErrorCode code) {
    return FileUtils::ErrorReason(code);
}

}  // namespace Sync
