// The one-way run. Differences from the two-way run, on purpose: one scan (of the source), the
// "files found" count is every matching file, new destination folders are logged, the copy
// pass is always announced, and the report is "Status: " with the files copied.
#include "OneWaySync.h"

#include <algorithm>

#include "Catalog.h"
#include "CopyPass.h"
#include "FileFilter.h"
#include "FileInfo.h"
#include "FileSystemOps.h"
#include "FolderListing.h"
#include "FormatSafe.h"
#include "ListingAhead.h"
#include "Paths.h"
#include "RunLog.h"
#include "RunTexts.h"
#include "VolumeInfo.h"

using namespace FileUtils;
using namespace Sync;
using Catalog::gettext;
using StringUtils::FormatSafe;

TOneWaySync::TOneWaySync(TRunHost& host) : host_(host) {}

TOneWaySync::~TOneWaySync() = default;

void TOneWaySync::DoSync(const TOneWayInputs& inputs) {
    const TRunTexts texts;
    const TFileFilter filter(inputs.Filter);
    TRunLog log(host_, texts);
    inputs_ = &inputs;
    texts_ = &texts;
    filter_ = &filter;
    log_ = &log;
    found_.clear();
    listed_ = 0;
    copied_ = 0;
    grains_[kDestination] = grains_[kSource] = TTimeGrain();

    bases_[kDestination] = AddTrailingDelimiter(inputs.Destination);
    bases_[kSource] = AddTrailingDelimiter(inputs.Source);
    // The destination is checked first; a refused run leaves the log and the status alone.
    const QString refusal =
        RefuseRun(bases_[kDestination], bases_[kSource], inputs.IncludeSubdirectories,
                  inputs.Filter, filter, texts, baseIds_);
    refused_ = !refusal.isEmpty();
    if (refused_) {
        log.NoteError();
        host_.ShowError(refusal);
    } else {
        for (const TSide side : {kDestination, kSource}) {
            Platform::TVolumeInfo volume;
            if (Platform::QueryVolumeInfoOf(bases_[side], volume) == 0) {
                grains_[side].AtLeast(volume.TimeGrain);
            }
        }
        host_.ClearLog();
        host_.AddLog(kSectionMark + texts.ScanDirectory);
        TScanPath path(baseIds_[kDestination], baseIds_[kSource]);
        TListingAhead ahead(filter, /*withFolders=*/false);
        ahead_ = &ahead;
        ahead.Ask({bases_[kDestination]});
        Visit(QString(), path);
        ahead_ = nullptr;
        std::sort(found_.begin(), found_.end(),
                  [](const TFound& a, const TFound& b) { return ListOrder(a.Path, b.Path); });
        host_.AddLog(FormatSafe(texts.FilesFound, {listed_}));
        if (!host_.StopRequested()) CopyFiles();

        const QString copied = FormatSafe(gettext("%u files copied"), {copied_});
        host_.SetStatus(gettext("Status: ") + copied);
        host_.AddLog(QStringLiteral("  ") + copied);
        host_.AddLog(QString());
    }
    found_.clear();
    errorsLogged_ = log.ErrorsLogged();
    inputs_ = nullptr;
    texts_ = nullptr;
    filter_ = nullptr;
    log_ = nullptr;
}

void TOneWaySync::Visit(const QString& relative, TScanPath& path) {
    if (host_.StopRequested()) return;
    const QString folder = bases_[kSource] + relative;
    log_->Scanning(folder, /*inStatus=*/true);

    const bool subfolders = inputs_->IncludeSubdirectories;
    const TFolderListing source(folder, *filter_, subfolders);
    // The destination's side of the folder, listed once (and ahead, while the source side was
    // read), for the decisions of the copy pass.
    const TFolderListing destination = ahead_->Take(bases_[kDestination] + relative);
    if (source.Error() != 0) {
        log_->CouldNotRead(folder, source.Error());
        return;
    }
    QStringList next;
    for (const TListedFolder& sub : source.Folders()) {
        if (sub.Error == 0)
            next << bases_[kDestination] + ComposeFileName(relative, sub.Name, QString());
    }
    ahead_->Ask(next);
    const bool destinationKnown = destination.Error() == 0 || destination.Missing();
    if (!destinationKnown) {
        log_->CouldNotRead(bases_[kDestination] + relative, destination.Error());
    }
    for (const TListedFolder& sub : source.Folders()) {
        if (host_.StopRequested()) break;
        if (sub.Error != 0) {
            log_->CouldNotRead(AddPath(folder, sub.Name), sub.Error);
            continue;
        }
        if (!path.Enter(sub.Id)) continue;  // a loop, or a way into a base folder
        Visit(ComposeFileName(relative, sub.Name, QString()), path);
        path.Leave();
    }
    // The files of the folder are all examined, also after a stop request. Only those the copy
    // pass may copy are kept: a run with little to do keeps little.
    for (const TListedFile& file : source.Files()) {
        ++listed_;
        TFound found;
        found.LastWrite = file.LastWrite;
        found.FolderMissing = destination.Missing();
        found.Unreadable = !destinationKnown;
        if (file.Error != 0) {
            found.Unreadable = true;
            log_->CouldNotReadFile(folder + file.Name, file.Error);
        } else {
            grains_[kSource].Observe(file.LastWrite);
        }
        if (const TListedFile* target = destination.FindFile(file.Name)) {
            if (target->Error != 0) {
                found.Unreadable = true;
                log_->CouldNotReadFile(
                    bases_[kDestination] + ComposeFileName(relative, file.Name, QString()),
                    target->Error);
            } else {
                found.TargetSeen = true;
                found.TargetLastWrite = target->LastWrite;
                grains_[kDestination].Observe(target->LastWrite);
            }
        }
        if (!MayCopy(found)) continue;
        found.Path = ComposeFileName(relative, file.Name, QString());
        found_.push_back(std::move(found));
    }
}

bool TOneWaySync::MayCopy(const TFound& found) const {
    if (found.Unreadable) return false;
    if (!found.TargetSeen) return !inputs_->ReplaceOnlyExisting;
    // Times too close to tell apart before the grains are known are decided in the copy pass.
    return !DecidedAtAnyGrain(found.LastWrite, found.TargetLastWrite) ||
           IsNewer(found.LastWrite, found.TargetLastWrite, 1);
}

void TOneWaySync::CopyFiles() {
    host_.AddLog(kSectionMark + gettext("Copy files:"));
    const QString createSubdirectory = gettext("  Create subdirectory: ");
    const int64_t grain =
        std::max(grains_[kDestination].Nanoseconds(), grains_[kSource].Nanoseconds());
    TCopyPass pass(host_, *texts_, grain);
    QSet<QString> readyFolders;  // destination folders created (or found) in this pass
    for (const TFound& file : found_) {
        if (host_.StopRequested()) break;  // between two files: the one copied is finished
        const QString target = bases_[kDestination] + file.Path;
        if (file.FolderMissing) {
            // Only what the destination holds is touched: no folder is created for it.
            if (inputs_->ReplaceOnlyExisting) continue;
            const QString folder = ExtractFilePath(target);
            if (!readyFolders.contains(folder)) {
                const bool existed = DirectoryExists(folder);
                if (const Platform::ErrorCode error = Platform::CreateFolderWithParents(folder)) {
                    log_->NoteError();
                    pass.AddLog(WithReason(texts_->CouldNotCreateDirectory + Shown(folder),
                                           ReasonOf(error)));
                    continue;
                }
                if (!existed) pass.AddLog(createSubdirectory + Shown(folder));
                readyFolders.insert(folder);
            }
        } else {
            const bool newer =
                file.TargetSeen && IsNewer(file.LastWrite, file.TargetLastWrite, grain);
            const bool wanted = inputs_->ReplaceOnlyExisting ? newer : !file.TargetSeen || newer;
            if (!wanted) continue;
        }
        pass.Copy(file.Path, bases_[kSource] + file.Path, target, file.TargetSeen);
    }
    pass.Finish();
    copied_ = pass.Copied();
    if (pass.ErrorsLogged()) log_->NoteError();
}
