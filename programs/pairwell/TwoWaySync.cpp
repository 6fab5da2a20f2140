// The two-way run: both scans complete before anything is copied, so copying one way never
// influences what the other way finds. Each folder of each side is listed once: the first scan
// lists both sides of a folder and keeps what the second scan will need.
#include "TwoWaySync.h"

#include <algorithm>
#include <optional>

#include "Catalog.h"
#include "CopyPass.h"
#include "FileFilter.h"
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
using Platform::TExactTime;
using StringUtils::FormatSafe;

// A file whose time is too close to its counterpart's to compare before the grains of both
// sides are known.
struct TTwoWaySync::TPending {
    QString Relative;
    TExactTime Own;
    TExactTime Partner;
    uint64_t Size = 0;
};

// What a scan takes from one folder of its side.
struct TTwoWaySync::TFolderResults {
    std::vector<TListedFolder> Folders;  // to visit
    std::vector<TListed> Listed;         // files the other side needs
    std::vector<TPending> Undecided;
    QStringList Errors;  // lines for files whose data could not be read
};

namespace {

// Sorted, each file once.
template <typename List>
void Normalise(List& list) {
    std::sort(list.begin(), list.end(),
              [](const auto& a, const auto& b) { return ListOrder(a.Path, b.Path); });
    list.erase(std::unique(list.begin(), list.end(),
                           [](const auto& a, const auto& b) {
                               return QString::compare(a.Path, b.Path, Platform::kFileNameCase) ==
                                      0;
                           }),
               list.end());
}

}  // namespace

TTwoWaySync::TTwoWaySync(TRunHost& host) : host_(host) {}

TTwoWaySync::~TTwoWaySync() = default;

void TTwoWaySync::DoSync(const TTwoWayInputs& inputs) {
    const TRunTexts texts;
    const TFileFilter filter(inputs.Filter);
    TRunLog log(host_, texts);
    inputs_ = &inputs;
    texts_ = &texts;
    filter_ = &filter;
    log_ = &log;
    later_.clear();
    undecided_.clear();
    grains_[kFirst] = grains_[kSecond] = TTimeGrain();
    intoFirst_ = 0;
    intoSecond_ = 0;
    refused_ = false;
    progress_ = TCopyProgress();

    bases_[kFirst] = AddTrailingDelimiter(inputs.FirstFolder);
    bases_[kSecond] = AddTrailingDelimiter(inputs.SecondFolder);
    for (const TSide side : {kFirst, kSecond}) {
        Platform::TVolumeInfo volume;
        if (Platform::QueryVolumeInfoOf(bases_[side], volume) == 0) {
            grains_[side].AtLeast(volume.TimeGrain);
        }
    }
    const QString refusal = RefuseRun(bases_[kFirst], bases_[kSecond], inputs.IncludeSubdirectories,
                                      inputs.Filter, filter, texts, baseIds_);
    if (!refusal.isEmpty()) {
        refused_ = true;
        log.NoteError();
        if (inputs.Interactive) {
            host_.ShowError(refusal);
        } else {
            host_.AddLog(refusal);
        }
    } else {
        TResultList lists[2];
        host_.ClearLog();
        for (const TSide side : {kFirst, kSecond}) {
            host_.AddLog(kSectionMark + texts.ScanDirectory + QLatin1Char(' ') +
                         Shown(bases_[side]));
            Scan(side, lists[side]);
            host_.AddLog(FormatSafe(texts.FilesFound, {unsigned(lists[side].size())}));
        }
        later_.clear();
        if (!host_.StopRequested()) {
            if (!inputs.Preview) {
                for (const TResultList& list : lists) {
                    progress_.FilesTotal += list.size();
                    for (const TListed& file : list)
                        progress_.BytesTotal += file.Size;
                }
                if (progress_.FilesTotal > 0) host_.CopyProgress(progress_);
            }
            if (!lists[kFirst].empty()) CopyFiles(kFirst, lists[kFirst], intoSecond_);
            // A stop during the first pass ends the run there.
            if (!lists[kSecond].empty() && !host_.StopRequested())
                CopyFiles(kSecond, lists[kSecond], intoFirst_);
        }
    }

    const bool nothing = intoFirst_ == 0 && intoSecond_ == 0;
    const QString pattern = inputs.Preview ? gettext("Files found: %u <=> %u")
                                           : gettext("Files have been copied: %u <=> %u");
    const QString counts =
        nothing ? gettext("Nothing to do!") : FormatSafe(pattern, {intoFirst_, intoSecond_});
    if (inputs.Interactive) {
        host_.SetStatus(counts);
    } else {
        host_.AddLog(counts);
    }
    host_.AddLog(QString());
    errorsLogged_ = log.ErrorsLogged();
    inputs_ = nullptr;
    texts_ = nullptr;
    filter_ = nullptr;
    log_ = nullptr;
}

void TTwoWaySync::Scan(TSide scanned, TResultList& list) {
    TScanPath path(baseIds_[kFirst], baseIds_[kSecond]);
    // The first scan reads both sides of each folder: the second side is listed ahead, while
    // the first side is read.
    std::optional<TListingAhead> ahead;
    if (scanned == kFirst) {
        ahead.emplace(*filter_, inputs_->IncludeSubdirectories);
        ahead->Ask({bases_[kSecond]});
        ahead_ = &*ahead;
    }
    Visit(scanned, QString(), path, list);
    ahead_ = nullptr;
    // Close times are compared at the coarser resolution of the two sides, now known.
    const int64_t grain = std::max(grains_[kFirst].Nanoseconds(), grains_[kSecond].Nanoseconds());
    for (const TPending& file : undecided_) {
        if (IsNewer(file.Own, file.Partner, grain))
            list.push_back({file.Relative, true, file.Size});
    }
    undecided_.clear();
    Normalise(list);
}

void TTwoWaySync::Visit(TSide scanned, const QString& relative, TScanPath& path,
                        TResultList& list) {
    if (host_.StopRequested()) return;
    const QString folder = bases_[scanned] + relative;
    log_->Scanning(folder, inputs_->Interactive);

    TFolderResults results = Results(scanned, relative);
    for (const TListedFolder& sub : results.Folders) {
        if (host_.StopRequested()) break;
        if (sub.Error != 0) {
            log_->CouldNotRead(AddPath(folder, sub.Name), sub.Error);
            continue;
        }
        if (!path.Enter(sub.Id)) continue;  // a loop, or a way into a base folder
        Visit(scanned, ComposeFileName(relative, sub.Name, QString()), path, list);
        path.Leave();
    }
    // The files of the folder are all examined, also after a stop request.
    for (const QString& line : results.Errors)
        log_->Error(line);
    list.insert(list.end(), results.Listed.begin(), results.Listed.end());
    undecided_.insert(undecided_.end(), results.Undecided.begin(), results.Undecided.end());
}

TTwoWaySync::TFolderResults TTwoWaySync::Results(TSide scanned, const QString& relative) {
    if (scanned == kSecond) {
        const auto known = later_.find(relative);
        if (known != later_.end()) {
            TFolderResults results = std::move(*known->second);
            later_.erase(known);
            return results;
        }
    }
    const TSide partner = scanned == kFirst ? kSecond : kFirst;
    const bool subfolders = inputs_->IncludeSubdirectories;
    const TFolderListing own(bases_[scanned] + relative, *filter_, subfolders);
    const TFolderListing other =
        ahead_ != nullptr ? ahead_->Take(bases_[partner] + relative)
                          : TFolderListing(bases_[partner] + relative, *filter_, subfolders);
    if (own.Error() != 0) {
        log_->CouldNotRead(bases_[scanned] + relative, own.Error());
        return {};
    }
    if (ahead_ != nullptr) {
        QStringList next;
        for (const TListedFolder& sub : own.Folders()) {
            if (sub.Error == 0)
                next << bases_[partner] + ComposeFileName(relative, sub.Name, QString());
        }
        ahead_->Ask(next);
    }
    if (other.Error() != 0 && !other.Missing()) {
        log_->CouldNotRead(bases_[partner] + relative, other.Error());
    }
    if (scanned == kFirst && other.Error() == 0) {
        later_[relative] = std::make_unique<TFolderResults>(Compare(relative, kSecond, other, own));
    }
    return Compare(relative, scanned, own, other);
}

TTwoWaySync::TFolderResults TTwoWaySync::Compare(const QString& relative, TSide scanned,
                                                 const TFolderListing& own,
                                                 const TFolderListing& partner) {
    TFolderResults results;
    results.Folders = own.Folders();
    // A partner folder that could not be read tells nothing: no file is taken for missing.
    const bool partnerKnown = partner.Error() == 0 || partner.Missing();
    for (const TListedFile& file : own.Files()) {
        const QString path = ComposeFileName(relative, file.Name, QString());
        if (file.Error != 0) {
            results.Errors.append(WithReason(
                texts_->CouldNotReadFile + Shown(bases_[scanned] + path), ReasonOf(file.Error)));
            continue;
        }
        grains_[scanned].Observe(file.LastWrite);
        if (!partnerKnown) continue;
        const TListedFile* counterpart = partner.FindFile(file.Name);
        if (counterpart == nullptr) {
            if (!inputs_->OnlyDuplicates) results.Listed.push_back({path, false, file.Size});
        } else if (counterpart->Error != 0) {
            continue;  // reported when its own side is scanned
        } else if (!DecidedAtAnyGrain(file.LastWrite, counterpart->LastWrite)) {
            results.Undecided.push_back({path, file.LastWrite, counterpart->LastWrite, file.Size});
        } else if (IsNewer(file.LastWrite, counterpart->LastWrite, 1)) {
            // Newer by a strictly later time; sizes and contents are not compared.
            results.Listed.push_back({path, true, file.Size});
        }
    }
    return results;
}

void TTwoWaySync::CopyFiles(TSide from, const TResultList& list, unsigned& counter) {
    const TSide to = from == kFirst ? kSecond : kFirst;
    host_.AddLog(kSectionMark + gettext("Copy files to:") + QLatin1Char(' ') + Shown(bases_[to]));
    if (inputs_->Preview) {
        const QString designated = gettext("  Designated to copy: %s");
        for (const TListed& file : list)
            host_.AddLog(FormatSafe(designated, {Shown(file.Path)}));
        counter += unsigned(list.size());
        host_.AddLog(FormatSafe(texts_->FilesFound, {counter}));
        return;
    }
    TCopyPass pass(host_, *texts_,
                   std::max(grains_[kFirst].Nanoseconds(), grains_[kSecond].Nanoseconds()));
    QString readyFolder;  // the list is sorted, so files of one folder come together
    for (const TListed& file : list) {
        if (host_.StopRequested()) break;  // between two files: the one copied is finished
        const QString target = bases_[to] + file.Path;
        const QString folder = ExtractFilePath(target);
        if (folder != readyFolder) {
            if (const Platform::ErrorCode error = Platform::CreateFolderWithParents(folder)) {
                log_->NoteError();
                pass.AddLog(
                    WithReason(texts_->CouldNotCreateDirectory + Shown(folder), ReasonOf(error)));
            } else {
                readyFolder = folder;
            }
        }
        if (folder == readyFolder)
            pass.Copy(file.Path, bases_[from] + file.Path, target, file.Seen);
        ++progress_.FilesDone;
        progress_.BytesDone += file.Size;
        host_.CopyProgress(progress_);
    }
    pass.Finish();
    counter += pass.Copied();
    if (pass.ErrorsLogged()) log_->NoteError();
    host_.AddLog(FormatSafe(texts_->FilesCopied, {counter}));
}
