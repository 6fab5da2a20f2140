// Copies every file of a folder tree into another folder with the copy engine, creating the
// folders on the way: the engine's side of the copy benchmark.
#include <cstdio>

#include <QString>

#include "FileSystemOps.h"
#include "FileUtils.h"
#include "FolderSearch.h"

namespace {

int failures = 0;

void CopyFolder(const QString& source, const QString& target) {
    if (Platform::CreateFolderWithParents(target) != 0) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(target));
        ++failures;
        return;
    }
    Platform::FolderSearch search(source + QStringLiteral("/*"),
                                  Platform::kAttrDirectory | Platform::kAttrHidden |
                                      Platform::kAttrReadOnly | Platform::kAttrArchive);
    Platform::TSearchHit hit;
    while (search.Next(hit)) {
        const QString from = source + QLatin1Char('/') + hit.Name;
        const QString to = target + QLatin1Char('/') + hit.Name;
        if (hit.Data.Attributes & Platform::kAttrDirectory) {
            CopyFolder(from, to);
            continue;
        }
        try {
            FileUtils::CopyFileWithTimestamp(from, to);
        } catch (const FileUtils::ECopyError& e) {
            std::fprintf(stderr, "%s (%d)\n", e.what(), e.ErrorCode);
            ++failures;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: copy-tree SOURCE TARGET\n");
        return 2;
    }
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString target = QString::fromLocal8Bit(argv[2]);
    if (FileUtils::FileExists(source)) {
        try {
            FileUtils::CopyFileWithTimestamp(source, target);
        } catch (const FileUtils::ECopyError& e) {
            std::fprintf(stderr, "%s (%d)\n", e.what(), e.ErrorCode);
            return 1;
        }
        return 0;
    }
    CopyFolder(source, target);
    return failures == 0 ? 0 : 1;
}
