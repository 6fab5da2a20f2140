// The two-way run: both scans complete before anything is copied, so copying one way never
// influences what the other way finds.
#include "TwoWaySync.h"

#include <algorithm>

#include "Catalog.h"
#include "FileCopy.h"
#include "FileInfo.h"
#include "FileMask.h"
#include "FileSystemOps.h"
#include "FolderSearch.h"
#include "FormatSafe.h"
#include "Paths.h"
#include "StringUtils.h"

using namespace FileUtils;
using Catalog::gettext;
using StringUtils::FormatSafe;

struct TTwoWaySync::TTexts {
    QString ScanDirectory = gettext("Scan directory:");
    QString CopyFilesTo = gettext("Copy files to:");
    QString Scanning = gettext("Scanning: ");
    QString FilesFound = gettext("  %u files found");
    QString FilesCopied = gettext("  %u files copied");
    QString DesignatedToCopy = gettext("  Designated to copy: %s");
    QString Copy = gettext("  Copy: %s");
    QString ErrorCopying = gettext("* Error copying: ");
    QString CouldNotCreateDirectory = gettext("* Could not create directory: ");
    QString CouldNotReadDirectory = gettext("* Could not read directory: ");
};

namespace {

const QString kSectionMark = QStringLiteral("=> ");
constexpr int kStatusPathLength = 100;

// Folders to visit: every kind, hidden and system folders included.
constexpr uint32_t kAllEntries = Platform::kAttrReadOnly | Platform::kAttrHidden |
                                 Platform::kAttrSystem | Platform::kAttrArchive |
                                 Platform::kAttrDirectory;
// Files to compare: folders are not returned, hidden and system files are.
constexpr uint32_t kFileEntries = Platform::kAttrReadOnly | Platform::kAttrHidden |
                                  Platform::kAttrSystem | Platform::kAttrArchive;

// The order in which files are listed and copied: without regard to case; names that differ
// only in case are different files where the file system tells them apart.
bool ListOrder(const QString& a, const QString& b) {
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    if (order != 0 || Platform::kFileNameCase == Qt::CaseInsensitive) return order < 0;
    return a < b;
}

bool SameListEntry(const QString& a, const QString& b) {
    return QString::compare(a, b, Platform::kFileNameCase) == 0;
}

// Sorted, each file once, across all masks.
void Normalise(QStringList& list) {
    std::sort(list.begin(), list.end(), ListOrder);
    list.erase(std::unique(list.begin(), list.end(), SameListEntry), list.end());
}

TDateTime DateTimeOf(TFileTime time) {
    TDateTime dateTime;
    return FileTimeToDateTime(time, dateTime) ? dateTime : 0.0;
}

// True when `inner` is `outer` or lies inside it.
bool IsWithin(const QString& inner, const QString& outer) {
    const QString outerFolder = IncludeTrailingDelimiter(outer);
    return SameListEntry(inner, outer) || inner.startsWith(outerFolder, Platform::kFileNameCase);
}

}  // namespace

QString TTwoWaySync::RefusePair(const QString& first, const QString& second,
                                bool subfolders) const {
    const QString realFirst = Platform::FinalPathName(first);
    const QString realSecond = Platform::FinalPathName(second);
    const bool refused =
        SameListEntry(realFirst, realSecond) ||
        (subfolders && (IsWithin(realFirst, realSecond) || IsWithin(realSecond, realFirst)));
    if (!refused) return QString();
    return gettext("Folders must not contain each other: ") + first + QStringLiteral(" <=> ") +
           second;
}

void TTwoWaySync::DoSync(bool preview, bool interactive) {
    const TTexts texts;
    texts_ = &texts;
    preview_ = preview;
    interactive_ = interactive;
    unreadable_.clear();
    errorsLogged_ = false;

    if (host_.FilterText().isEmpty()) host_.SetFilterText(QStringLiteral("*.*"));
    const QString filter = host_.FilterText();
    host_.SaveDirInfo();
    host_.SetRunning(true);

    const QString firstText = host_.FirstFolderText();
    const QString secondText = host_.SecondFolderText();
    const QString first = AddTrailingDelimiter(firstText);
    const QString second = AddTrailingDelimiter(secondText);
    const bool subfolders = host_.IncludeSubdirectories();
    intoFirst_ = 0;
    intoSecond_ = 0;

    // An empty box names no folder: it never stands for the root.
    QString refusal;
    if (first.isEmpty() || !DirectoryExists(first)) {
        refusal = gettext("Directory not found: ") + first;
    } else if (second.isEmpty() || !DirectoryExists(second)) {
        refusal = gettext("Directory not found: ") + second;
    } else {
        refusal = RefusePair(first, second, subfolders);
    }

    if (!refusal.isEmpty()) {
        errorsLogged_ = true;
        if (interactive) {
            host_.ShowError(refusal);
        } else {
            host_.AddLog(refusal);
        }
    } else {
        TResultList firstList;
        TResultList secondList;
        host_.ClearLog();
        const auto scanSide = [&](const QString& scanned, const QString& partner,
                                  TResultList& list) {
            host_.AddLog(kSectionMark + texts.ScanDirectory + QLatin1Char(' ') + scanned);
            QString masks = filter;
            do {
                const QString mask = StringUtils::ReadNextItem(masks, QLatin1Char(';'));
                ScanDir(scanned, partner, QString(), list, subfolders, mask);
            } while (!masks.isEmpty() && host_.Running());
            Normalise(list);
            host_.AddLog(FormatSafe(texts.FilesFound, {unsigned(list.size())}));
        };
        scanSide(first, second, firstList);
        scanSide(second, first, secondList);

        if (host_.Running()) {
            if (!firstList.isEmpty()) CopyFiles(first, second, firstList, intoSecond_);
            if (!secondList.isEmpty()) CopyFiles(second, first, secondList, intoFirst_);
        }
    }
    host_.SetRunning(false);

    const bool nothing = intoFirst_ == 0 && intoSecond_ == 0;
    const QString pattern =
        preview ? gettext("Files found: %u <=> %u") : gettext("Files have been copied: %u <=> %u");
    const QString counts =
        nothing ? gettext("Nothing to do!") : FormatSafe(pattern, {intoFirst_, intoSecond_});
    if (interactive) {
        host_.SetStatus(counts);
    } else {
        host_.AddLog(counts);
    }
    host_.AddLog(QString());
    texts_ = nullptr;
}

void TTwoWaySync::ScanDir(const QString& scannedBase, const QString& partnerBase,
                          const QString& relative, TResultList& list, bool subfolders,
                          const QString& mask) {
    // The identities of the folders on the way down, so that a link back up is not followed.
    QList<QPair<uint64_t, uint64_t>> path;
    TFileAttributeData base;
    if (GetFileAttributeData(scannedBase + relative, base, true) == 0) {
        path.append({base.VolumeId, base.FileIndex});
    }
    ScanFolder(scannedBase, partnerBase, relative, list, subfolders, mask, path);
}

void TTwoWaySync::ScanFolder(const QString& scannedBase, const QString& partnerBase,
                             const QString& relative, TResultList& list, bool subfolders,
                             const QString& mask, QList<QPair<uint64_t, uint64_t>>& path) {
    if (!host_.Running()) return;
    const QString folder = scannedBase + relative;
    if (interactive_) {
        host_.SetStatus(texts_->Scanning + ShortenPathName(folder, kStatusPathLength));
    }
    host_.ProcessEvents();

    // One listing gives both the subfolders to enter and the files to compare. A mask written
    // as a path names another folder, which is listed on its own.
    const bool maskIsPath = mask.contains(QChar(NativePaths.Delimiter));
    QList<Platform::TSearchHit> folders;
    QList<Platform::TSearchHit> files;
    {
        Platform::FolderSearch search(
            ComposeFileName(folder, QStringLiteral("*"), QStringLiteral("*")),
            subfolders ? kAllEntries : kFileEntries);
        Platform::TSearchHit hit;
        while (search.Next(hit)) {
            if (!IsRealEntryName(hit.Name)) continue;
            if (hit.Data.Attributes & Platform::kAttrDirectory) {
                folders.append(hit);
            } else if (!maskIsPath && Platform::MatchesMask(hit.Name, mask)) {
                files.append(hit);
            }
        }
        if (search.Error() != 0) {
            ReportCouldNotRead(folder);
            return;
        }
    }
    if (maskIsPath) {
        Platform::FolderSearch search(ComposeFileName(folder, mask, QString()), kFileEntries);
        Platform::TSearchHit hit;
        while (search.Next(hit))
            files.append(hit);
    }

    for (const Platform::TSearchHit& sub : folders) {
        if (!host_.Running()) break;
        const QPair<uint64_t, uint64_t> id{sub.Data.VolumeId, sub.Data.FileIndex};
        if (path.contains(id)) continue;  // a link back into the path: a loop
        path.append(id);
        ScanFolder(scannedBase, partnerBase, ComposeFileName(relative, sub.Name, QString()), list,
                   subfolders, mask, path);
        path.removeLast();
    }

    // The files of the folder are all examined, also after a stop request. The partner's
    // folder is held open, so each counterpart costs one lookup of its name.
    const Platform::TFolderHandle partnerFolder(partnerBase + relative);
    const bool onlyDuplicates = host_.OnlyDuplicates();
    for (const Platform::TSearchHit& hit : files) {
        if (IsCopyTempName(hit.Name)) continue;
        TFileAttributeData partner;
        const bool partnerIsFile = partnerFolder.IsOpen() &&
                                   partnerFolder.QueryEntry(hit.Name, true, partner) == 0 &&
                                   DescribesFile(partner);
        // Listed when the partner lacks it, or holds it with a strictly earlier time; sizes and
        // contents are not compared.
        const bool listed =
            partnerIsFile ? DateTimeOf(hit.Data.LastWriteTime) > DateTimeOf(partner.LastWriteTime)
                          : !onlyDuplicates;
        if (listed) list.append(ComposeFileName(relative, hit.Name, QString()));
    }
}

void TTwoWaySync::ReportCouldNotRead(const QString& folder) {
    const QString shown = IncludeTrailingDelimiter(folder);
    if (unreadable_.contains(shown)) return;  // once per run, not once per mask
    unreadable_.insert(shown);
    errorsLogged_ = true;
    host_.AddLog(texts_->CouldNotReadDirectory + shown);
}

void TTwoWaySync::CopyFiles(const QString& sourceBase, const QString& targetBase,
                            const TResultList& list, unsigned& counter) {
    host_.AddLog(kSectionMark + texts_->CopyFilesTo + QLatin1Char(' ') + targetBase);
    // Copies wait in a batch for one flush of the medium; their lines are logged when they
    // have taken their targets' places, in the order of the list.
    TCopyBatch batch;
    QStringList pending;
    const auto commit = [&] {
        batch.Commit([&](size_t index, const ECopyError* error) {
            if (error == nullptr) {
                host_.AddLog(FormatSafe(texts_->Copy, {pending.at(qsizetype(index))}));
                ++counter;
            } else {
                errorsLogged_ = true;
                host_.AddLog(texts_->ErrorCopying + pending.at(qsizetype(index)));
            }
        });
        pending.clear();
    };
    QString readyFolder;  // the list is sorted, so files of one folder come together
    for (const QString& file : list) {
        if (preview_) {
            host_.AddLog(FormatSafe(texts_->DesignatedToCopy, {file}));
            ++counter;
            continue;
        }
        const QString target = targetBase + file;
        const QString folder = ExtractFilePath(target);
        if (folder != readyFolder) {
            if (Platform::CreateFolderWithParents(folder) != 0) {
                commit();
                errorsLogged_ = true;
                host_.AddLog(texts_->CouldNotCreateDirectory + folder);
                continue;
            }
            readyFolder = folder;
        }
        try {
            batch.Add(sourceBase + file, target);
            pending.append(file);
        } catch (const ECopyError&) {
            commit();
            errorsLogged_ = true;
            host_.AddLog(texts_->ErrorCopying + file);
        }
        if (batch.Due()) commit();
        host_.KeepAlive();
    }
    commit();
    host_.AddLog(FormatSafe(preview_ ? texts_->FilesFound : texts_->FilesCopied, {counter}));
}
