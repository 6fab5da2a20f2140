// The copy engine: a file's content, last-write time and attributes, replacing the target in
// one step so that a failed copy never damages what was there before, and a copy is complete,
// correctly dated and on the medium before it takes the target's place.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include <QString>

#include "ExtFileStream.h"
#include "FileAttributes.h"

namespace FileUtils {

constexpr int kCopyBufferSize = 262144;

// Error codes of the copy engine's own, beside the system's (bit 29 marks codes of a program,
// as on Windows; no errno comes near it).
constexpr int kErrorChangedWhileCopied = 0x20000001;  // the source changed during the copy
constexpr int kErrorTimeNotKept = 0x20000002;    // the target file system did not keep the time
constexpr int kErrorTargetChanged = 0x20000003;  // the target changed since it was looked at
constexpr int kErrorNameTaken = 0x20000004;      // a target thought missing exists (also by a
                                                 // name that differs in case)

// Why a copy failed, for a user: the text of the error code, translated.
QString ErrorReason(int errorCode);

// Copies `source` over `target`. attributes -1 gives the copy the source's attributes
// (permission bits on POSIX); a value of 0 or more is applied instead. The content goes into
// a temporary file beside the target, which gets the time and attributes, is flushed to the
// medium and then renamed over the target; on any failure it is removed and the old target
// stays as it was. Raises ECopyError naming the file concerned, with the error code.
void CopyFileWithTimestamp(const QString& source, const QString& target, int attributes = -1,
                           int bufferSize = kCopyBufferSize);

// True for the name of a temporary file of the copy engine; scans pass over them.
bool IsCopyTempName(const QString& name);

// Decides, just before the copy replaces its target, whether it still may: `copied` is the
// source as it was copied, `current` the target as it is now (links followed), or nullptr
// when there is none. 0 lets the copy go on; an error code (such as kErrorTargetChanged)
// keeps the target as it is and becomes the copy's error.
using TReplaceCheck = std::function<int(const Platform::TFileAttributeData& copied,
                                        const Platform::TFileAttributeData* current)>;

// What a copy may replace: anything (no rule), nothing (the target was missing when it was
// compared: whatever appears under its name meanwhile, also a name that differs in case,
// stays, kErrorNameTaken), or what its check allows just before the rename.
struct TReplaceRule {
    bool TargetMissing = false;
    TReplaceCheck Check;
};

// Copies many files at the cost of one flush per file system instead of one per file. Add
// copies a file into a temporary file beside its target; Commit puts every pending copy on the
// medium, then renames each over its target. A crash before Commit leaves temporary files,
// which scans pass over, and the old targets.
class TCopyBatch {
  public:
    enum class TFlush {
        ByVolume,  // one flush per file system where that puts every file on the medium
        EachFile,  // each file flushed on its own: cheaper for a single file
    };
    explicit TCopyBatch(TFlush flush = TFlush::ByVolume);
    ~TCopyBatch();  // copies still pending are discarded
    TCopyBatch(const TCopyBatch&) = delete;
    TCopyBatch& operator=(const TCopyBatch&) = delete;

    // Copies `source` into a temporary file beside `target`, as CopyFileWithTimestamp does up
    // to the rename. Raises ECopyError; nothing of that file is pending then.
    void Add(const QString& source, const QString& target, int attributes = -1,
             int bufferSize = kCopyBufferSize, TReplaceRule rule = {});

    bool IsEmpty() const { return pending_.empty(); }
    // True when so much is pending (files, bytes, or time waited) that it should be committed.
    bool Due() const;

    // Reports the outcome of one pending copy: its position among the copies added since the
    // last commit, and the error, or nullptr when the target now holds the copy.
    using TCommitted = std::function<void(size_t index, const ECopyError* error)>;
    // Flushes and renames every pending copy, in the order added, and reports each.
    void Commit(const TCommitted& committed);

  private:
    struct TPending;
    struct TVolume;
    struct TKernelCopy;

    TVolume& VolumeOf(uint64_t volumeId, const QString& folder, Platform::FileHandle file);
    void CloseVolumes();
    static int Replace(const TPending& copy);

    TFlush flush_;
    std::vector<TPending> pending_;
    std::map<uint64_t, TVolume> volumes_;
    std::unique_ptr<TKernelCopy> kernelCopy_;  // what the file systems refused so far
    uint64_t pendingBytes_ = 0;
    std::chrono::steady_clock::time_point firstPending_;
    // The target folder of the last copy, held open for the next files in it.
    QString folderPath_;
    std::shared_ptr<const Platform::TFolderHandle> folder_;
    std::unique_ptr<char[]> buffer_;
    size_t bufferSize_ = 0;
};

}  // namespace FileUtils
