// The file filter.
#include "FileFilter.h"

#include "FileMask.h"
#include "Paths.h"
#include "StringUtils.h"

namespace Sync {

TFileFilter::TFileFilter(const QString& filter) {
    QString rest = filter;
    do {
        const QString mask = StringUtils::ReadNextItem(rest, QLatin1Char(';'));
        if (mask == QLatin1String("*") || mask == QLatin1String("*.*")) matchesAll_ = true;
        if (!mask.isEmpty()) masks_.append(mask);
    } while (!rest.isEmpty());
}

bool TFileFilter::IsValid() const {
    bool someMask = false;
    for (const QString& mask : masks_) {
        if (mask.contains(QChar(FileUtils::NativePaths.Delimiter))) return false;
        if (!mask.trimmed().isEmpty()) someMask = true;
    }
    return someMask;
}

bool TFileFilter::Matches(const QString& name) const {
    if (matchesAll_) return true;
    for (const QString& mask : masks_) {
        if (Platform::MatchesMask(name, mask)) return true;
    }
    return false;
}

}  // namespace Sync
