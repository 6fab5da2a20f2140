// Copies every file of a folder tree into another folder with the copy engine, creating the
// folders on the way, in batches as the runs do: the engine's side of the copy benchmark.
#include <cstdio>

#include <QString>

#include "FileSystemOps.h"
#include "FileUtils.h"
#include "FolderSearch.h"

namespace {

int failures = 0;

void Commit(FileUtils::TCopyBatch& batch) {
    batch.Commit([](size_t, const FileUtils::ECopyError* error) {
        if (error == nullptr) return;
        std::fprintf(stderr, "%s (%d)\n", error->what(), error->ErrorCode);
        ++failures;
    });
}

void CopyFolder(const QString& source, const QString& target, FileUtils::TCopyBatch& batch) {
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
            CopyFolder(from, to, batch);
            continue;
        }
        try {
            batch.Add(from, to);
        } catch (const FileUtils::ECopyError& e) {
            std::fprintf(stderr, "%s (%d)\n", e.what(), e.ErrorCode);
            ++failures;
        }
        if (batch.Due()) Commit(batch);
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
    FileUtils::TCopyBatch batch;
    CopyFolder(source, target, batch);
    Commit(batch);
    return failures == 0 ? 0 : 1;
}
