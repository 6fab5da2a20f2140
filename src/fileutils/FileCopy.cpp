// The copy engine.
#include "FileCopy.h"

#include <algorithm>
#include <optional>

#include <QRandomGenerator>

#include "CopyContent.h"
#include "FileConsts.h"
#include "FileInfo.h"
#include "FileSystemOps.h"
#include "Paths.h"
#include "VolumeInfo.h"

namespace FileUtils {

using namespace Platform;
using namespace FileConsts;

namespace {

const QLatin1String kTempPrefix(".~copy-");
const QLatin1String kTempSuffix(".tmp");
constexpr int kTempRandomLength = 8;
constexpr int kTempAttempts = 32;

// How much may wait for one commit: few flushes, yet a run's log keeps moving.
constexpr size_t kMaxPendingFiles = 1000;
constexpr uint64_t kMaxPendingBytes = uint64_t{256} << 20;
constexpr auto kMaxPendingTime = std::chrono::seconds(1);

ECopyError CopyError(const Catalog::TResourceString& message, const QString& fileName,
                     int errorCode) {
    return ECopyError(StringUtils::FormatSafe(Catalog::LoadResString(message), {fileName}),
                      errorCode);
}

[[noreturn]] void RaiseCopyError(const Catalog::TResourceString& message, const QString& fileName,
                                 int errorCode) {
    throw CopyError(message, fileName, errorCode);
}

QString RandomTempName() {
    static const char kAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    QString name = kTempPrefix;
    for (int i = 0; i < kTempRandomLength; ++i) {
        name += QLatin1Char(kAlphabet[QRandomGenerator::global()->bounded(36)]);
    }
    return name + kTempSuffix;
}

// True when the file system kept `wanted` as `stored`: exactly, or cut down or rounded up to
// one of the steps in which file systems keep times. A time that did not stick at all is none
// of these.
bool TimeKept(const TExactTime& wanted, const TExactTime& stored) {
    for (const int64_t step : kTimeSteps) {
        const TExactTime down = CutDownTime(wanted, step);
        if (stored == down || (down != wanted && stored == TimeAfterStep(down, step))) return true;
    }
    return false;
}

// The entry that the copy will replace may be a file or a link (the link itself is replaced);
// a folder or a special file in its place is refused before anything is written.
void CheckReplaceable(const TFolderHandle& folder, const QString& name, const QString& target) {
    TFileAttributeData data;
    const ErrorCode error = folder.QueryEntry(name, false, data);
    if (MeansNoSuchEntry(error)) return;
    if (error != 0) RaiseCopyError(SErrorCreating, target, error);
    if (data.Attributes & kAttrReparsePoint) return;
    if (data.Attributes & kAttrDirectory) RaiseCopyError(SErrorCreating, target, kErrorIsFolder);
    if (!IsFileAttributes(data.Attributes)) {
        RaiseCopyError(SErrorCreating, target, kErrorNotRegularFile);
    }
}

using TSharedFolder = std::shared_ptr<const TFolderHandle>;

// A temporary file beside the target, open for writing; deleted unless it is kept.
class TempFile {
  public:
    TempFile(TSharedFolder folder, const QString& target) : folder_(std::move(folder)) {
        for (int attempt = 0;; ++attempt) {
            name_ = RandomTempName();
            const ErrorCode error = OpenFileIn(*folder_, name_, FileAccess::ReadWrite,
                                               FileDisposition::CreateNew, 0600, handle_, &data_);
            if (error == 0) return;
            if (error != kErrorFileExists || attempt + 1 == kTempAttempts) {
                RaiseCopyError(SErrorCreating, target, error);
            }
        }
    }
    ~TempFile() {
        if (handle_ != kInvalidHandle) CloseFile(handle_);
        if (!kept_) DeleteFileIn(*folder_, name_);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    FileHandle Handle() const { return handle_; }
    const TFileAttributeData& Data() const { return data_; }
    const QString& Name() const { return name_; }

    // Closes the file; what the close reports, since a network file system may report a failed
    // write only then.
    ErrorCode Close() {
        const ErrorCode error = CloseFile(handle_);
        handle_ = kInvalidHandle;
        return error;
    }
    void Keep() { kept_ = true; }

  private:
    TSharedFolder folder_;
    QString name_;
    FileHandle handle_ = kInvalidHandle;
    TFileAttributeData data_;
    bool kept_ = false;
};

// Gives the copy the source's time and makes sure that it stuck: some file systems (exFAT and
// FAT through FUSE) quietly keep the time of writing when the access time is left alone, and a
// copy that looks newer than its source would be copied back over a newer edit later.
ErrorCode StampTime(const TFolderHandle& folder, const TempFile& file,
                    const TExactTime& lastWrite) {
    if (ErrorCode error = SetHandleLastWriteTime(file.Handle(), lastWrite)) return error;
    TFileAttributeData stored;
    if (ErrorCode error = QueryHandleData(file.Handle(), stored)) return error;
    if (stored.LastWrite == lastWrite) return 0;
    if (ErrorCode error = SetFileTimesIn(folder, file.Name(), stored.LastAccess, lastWrite)) {
        return error;
    }
    if (ErrorCode error = QueryHandleData(file.Handle(), stored)) return error;
    return TimeKept(lastWrite, stored.LastWrite) ? 0 : kErrorTimeNotKept;
}

}  // namespace

QString ErrorReason(int errorCode) {
    switch (errorCode) {
        case kErrorChangedWhileCopied:
            return Catalog::LoadResString(SChangedWhileCopied);
        case kErrorTimeNotKept:
            return Catalog::LoadResString(STimeNotKept);
        case kErrorTargetChanged:
            return Catalog::LoadResString(STargetChanged);
        case kErrorNameTaken:
            return Catalog::LoadResString(SNameTaken);
        default:
            return SystemErrorMessage(errorCode);
    }
}

bool IsCopyTempName(const QString& name) {
    if (name.size() != kTempPrefix.size() + kTempRandomLength + kTempSuffix.size()) return false;
    if (!name.startsWith(kTempPrefix) || !name.endsWith(kTempSuffix)) return false;
    for (qsizetype i = kTempPrefix.size(); i < kTempPrefix.size() + kTempRandomLength; ++i) {
        const QChar c = name.at(i);
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
              (c >= QLatin1Char('a') && c <= QLatin1Char('z')))) {
            return false;
        }
    }
    return true;
}

void CopyFileWithTimestamp(const QString& source, const QString& target, int attributes,
                           int bufferSize) {
    TCopyBatch batch(TCopyBatch::TFlush::EachFile);
    batch.Add(source, target, attributes, bufferSize);
    std::optional<ECopyError> failure;
    batch.Commit([&](size_t, const ECopyError* error) {
        if (error != nullptr) failure = *error;
    });
    if (failure) throw *failure;
}

// One copy waiting for its commit: a closed temporary file beside its target.
struct TCopyBatch::TPending {
    TSharedFolder Folder;
    QString FolderPath;
    QString TempName;  // empty when there is nothing to rename (a copy onto itself)
    QString TargetName;
    QString Target;
    uint64_t VolumeId = 0;
    TFileAttributeData Copied;  // the source as it was copied
    TReplaceRule Rule;
};

// A file system that pending copies were written to, flushed once at the commit.
struct TCopyBatch::TVolume {
    bool FlushesAsAWhole = false;
    FileHandle Anchor = kInvalidHandle;
};

// What the file systems refused so far, per pair of source and target volume.
struct TCopyBatch::TKernelCopy {
    std::map<std::pair<uint64_t, uint64_t>, TCopyWays> Ways;
};

TCopyBatch::TCopyBatch(TFlush flush) : flush_(flush), kernelCopy_(new TKernelCopy) {}

TCopyBatch::~TCopyBatch() {
    for (const TPending& pending : pending_) {
        if (!pending.TempName.isEmpty()) DeleteFileIn(*pending.Folder, pending.TempName);
    }
    CloseVolumes();
}

void TCopyBatch::CloseVolumes() {
    for (auto& [id, volume] : volumes_) {
        if (volume.Anchor != kInvalidHandle) CloseFile(volume.Anchor);
    }
    volumes_.clear();
}

bool TCopyBatch::Due() const {
    return pending_.size() >= kMaxPendingFiles || pendingBytes_ >= kMaxPendingBytes ||
           (!pending_.empty() &&
            std::chrono::steady_clock::now() - firstPending_ >= kMaxPendingTime);
}

TCopyBatch::TVolume& TCopyBatch::VolumeOf(uint64_t volumeId, const QString& folder,
                                          FileHandle file) {
    const auto found = volumes_.find(volumeId);
    if (found != volumes_.end()) return found->second;
    TVolume& volume = volumes_[volumeId];
    TVolumeInfo info;
    if (flush_ == TFlush::ByVolume && QueryVolumeInfo(file, info) == 0 && info.FlushesAsAWhole) {
        // Opened before anything is written, so that its flush reports every write error.
        volume.FlushesAsAWhole = OpenVolumeAnchor(folder, volume.Anchor) == 0;
    }
    return volume;
}

void TCopyBatch::Add(const QString& source, const QString& target, int attributes, int bufferSize,
                     TReplaceRule rule) {
    TPending pending;
    pending.Target = target;
    if (SameFileName(source, target)) {  // nothing to do, and no error
        pending_.push_back(std::move(pending));
        return;
    }
    if (target.isEmpty()) RaiseCopyError(SFileNotFound, source, kErrorFileNotFound);

    // The source's time, size and attributes come with opening it: one query, and the file
    // cannot change its kind between the test and the open.
    TFileAttributeData sourceData;
    std::optional<TExtFileStream> input;
    try {
        input.emplace(source, fmOpenRead | fmShareDenyNone, 0, &sourceData);
    } catch (const EExtFileStreamError& e) {
        // A missing file, a folder, a FIFO or a dangling link is no file to copy.
        const bool noFile = MeansNoSuchEntry(e.ErrorCode) || e.ErrorCode == kErrorIsFolder ||
                            e.ErrorCode == kErrorNotRegularFile;
        if (noFile) RaiseCopyError(SFileNotFound, source, kErrorFileNotFound);
        RaiseCopyError(SErrorOpening, source, e.ErrorCode);
    }

    // Every call on the target goes through its folder, held open for the files that follow
    // in it: a path near the length limit then never grows by the temporary name.
    pending.FolderPath = ExtractFilePath(target);
    pending.TargetName = ExtractFileName(target);
    if (pending.TargetName.isEmpty()) RaiseCopyError(SErrorCreating, target, kErrorIsFolder);
    if (!folder_ || folderPath_ != pending.FolderPath) {
        folder_ = std::make_shared<TFolderHandle>(
            pending.FolderPath.isEmpty() ? QStringLiteral(".") : pending.FolderPath);
        folderPath_ = pending.FolderPath;
    }
    pending.Folder = folder_;
    if (!folder_->IsOpen()) RaiseCopyError(SErrorCreating, target, folder_->Error());
    // A target that must be missing is looked after by the rename, which never replaces.
    if (!rule.TargetMissing) CheckReplaceable(*folder_, pending.TargetName, target);

    TempFile output(folder_, target);
    pending.VolumeId = output.Data().VolumeId;
    const TVolume& volume = VolumeOf(pending.VolumeId, pending.FolderPath, output.Handle());
    const uint32_t permissions = attributes < 0
                                     ? sourceData.Permissions
                                     : PermissionsForAttributes(uint32_t(attributes) & 0xFFFF);

    const auto size = static_cast<size_t>(std::max(bufferSize, 1));
    if (!buffer_ || bufferSize_ != size) {
        buffer_.reset(new char[size]);
        bufferSize_ = size;
    }
    TCopyWays& ways = kernelCopy_->Ways[{sourceData.VolumeId, pending.VolumeId}];
    const TContentResult content = CopyContent(input->Handle(), output.Handle(), sourceData,
                                               buffer_.get(), int64_t(size), ways);
    if (content.SizeDiffers) RaiseCopyError(SErrorReading, source, kErrorChangedWhileCopied);
    if (content.Error != 0) {
        if (content.InSource) RaiseCopyError(SErrorReading, source, content.Error);
        RaiseCopyError(SErrorWriting, target, content.Error);
    }
    // A source written to while it was copied gives a copy that matches no version of it.
    TFileAttributeData after;
    if (ErrorCode error = QueryHandleData(input->Handle(), after)) {
        RaiseCopyError(SErrorReading, source, error);
    }
    if (after.LastWrite != sourceData.LastWrite || after.FileSize != sourceData.FileSize) {
        RaiseCopyError(SErrorReading, source, kErrorChangedWhileCopied);
    }
    input.reset();

    // Where each file is flushed on its own, the data goes first, so that no write reaches
    // the file after its time is set (a network share would stamp it anew).
    if (!volume.FlushesAsAWhole) {
        if (ErrorCode error = FlushFile(output.Handle())) {
            RaiseCopyError(SErrorWriting, target, error);
        }
    }
    // The time before the permissions, so that a read-only copy can still be stamped.
    if (ErrorCode error = StampTime(*folder_, output, sourceData.LastWrite)) {
        RaiseCopyError(SErrorSettingTimestamps, target, error);
    }
    // A file system without permission bits (FAT, exFAT) keeps the copy as it can.
    if (ErrorCode error = SetHandlePermissions(output.Handle(), permissions)) {
        if (!MeansNoPermissionBits(error)) RaiseCopyError(SErrorSettingAttributes, target, error);
    }
    if (!volume.FlushesAsAWhole) {
        if (ErrorCode error = FlushFile(output.Handle())) {
            RaiseCopyError(SErrorWriting, target, error);
        }
    }
    if (ErrorCode error = output.Close()) RaiseCopyError(SErrorWriting, target, error);

    if (pending_.empty()) firstPending_ = std::chrono::steady_clock::now();
    pendingBytes_ += sourceData.FileSize;
    pending.TempName = output.Name();
    pending.Copied = sourceData;
    pending.Rule = std::move(rule);
    output.Keep();
    pending_.push_back(std::move(pending));
}

// Renames the copy over its target, after its check has looked at the target as it is now.
int TCopyBatch::Replace(const TPending& copy) {
    const TReplaceRule& rule = copy.Rule;
    bool missing = rule.TargetMissing;
    if (!missing && rule.Check) {
        TFileAttributeData current;
        const ErrorCode error = copy.Folder->QueryEntry(copy.TargetName, true, current);
        if (error != 0 && !MeansNoSuchEntry(error)) return error;  // unknown is not missing
        missing = error != 0;
        if (int refused = rule.Check(copy.Copied, missing ? nullptr : &current)) return refused;
    }
    if (!missing) return RenameReplacingIn(*copy.Folder, copy.TempName, copy.TargetName);
    const ErrorCode renamed = RenameNotReplacingIn(*copy.Folder, copy.TempName, copy.TargetName);
    return renamed == kErrorFileExists ? kErrorNameTaken : renamed;
}

void TCopyBatch::Commit(const TCommitted& committed) {
    // Every copy on the medium before any takes its target's place.
    std::map<uint64_t, ErrorCode> flushErrors;
    for (const auto& [id, volume] : volumes_) {
        if (volume.FlushesAsAWhole) flushErrors[id] = FlushVolume(volume.Anchor);
    }

    std::vector<TPending> pending;
    pending.swap(pending_);
    pendingBytes_ = 0;
    std::vector<std::optional<ECopyError>> failures(pending.size());
    for (size_t i = 0; i < pending.size(); ++i) {
        TPending& copy = pending[i];
        if (copy.TempName.isEmpty()) continue;
        const auto flushed = flushErrors.find(copy.VolumeId);
        if (flushed != flushErrors.end() && flushed->second != 0) {
            failures[i] = CopyError(SErrorWriting, copy.Target, flushed->second);
        } else if (ErrorCode error = Replace(copy)) {
            failures[i] = CopyError(SErrorCreating, copy.Target, error);
        }
        if (failures[i]) DeleteFileIn(*copy.Folder, copy.TempName);
    }

    // The renames on the medium too, before the copies are reported in place: a stick pulled
    // right after a run then holds what the run reported.
    std::map<uint64_t, ErrorCode> volumesAfter;
    std::map<QString, ErrorCode> foldersAfter;
    for (size_t i = 0; i < pending.size(); ++i) {
        const TPending& copy = pending[i];
        if (copy.TempName.isEmpty() || failures[i]) continue;
        const auto volume = volumes_.find(copy.VolumeId);
        if (volume != volumes_.end() && volume->second.FlushesAsAWhole) {
            if (!volumesAfter.count(copy.VolumeId)) {
                volumesAfter[copy.VolumeId] = FlushVolume(volume->second.Anchor);
            }
        } else if (!foldersAfter.count(copy.FolderPath)) {
            foldersAfter[copy.FolderPath] = FlushFolder(copy.FolderPath);
        }
        const ErrorCode error = volumesAfter.count(copy.VolumeId) ? volumesAfter[copy.VolumeId]
                                                                  : foldersAfter[copy.FolderPath];
        if (error != 0) failures[i] = CopyError(SErrorWriting, copy.Target, error);
    }
    CloseVolumes();

    for (size_t i = 0; i < pending.size(); ++i) {
        pending[i].TempName.clear();
        committed(i, failures[i] ? &*failures[i] : nullptr);
    }
}

}  // namespace FileUtils
