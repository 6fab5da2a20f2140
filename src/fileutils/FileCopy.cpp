// The copy engine.
#include "FileCopy.h"

#include <algorithm>
#include <memory>
#include <optional>

#include <QRandomGenerator>

#include "ExtFileStream.h"
#include "FileConsts.h"
#include "FileInfo.h"
#include "FileSystemOps.h"
#include "Paths.h"

namespace FileUtils {

using namespace Platform;
using namespace FileConsts;

namespace {

const QLatin1String kTempPrefix(".~copy-");
const QLatin1String kTempSuffix(".tmp");
constexpr int kTempRandomLength = 8;
constexpr int kTempAttempts = 32;

[[noreturn]] void RaiseCopyError(const Catalog::TResourceString& message, const QString& fileName,
                                 int errorCode) {
    const QString text = StringUtils::FormatSafe(Catalog::LoadResString(message), {fileName});
    throw ECopyError(text, errorCode);
}

QString RandomTempName() {
    static const char kAlphabet[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    QString name = kTempPrefix;
    for (int i = 0; i < kTempRandomLength; ++i) {
        name += QLatin1Char(kAlphabet[QRandomGenerator::global()->bounded(36)]);
    }
    return name + kTempSuffix;
}

// The file that the copy replaces: the target itself, or the file a link there leads to,
// so that a link keeps pointing at the fresh content. Folders and special files are refused.
QString ReplacedFile(const QString& target) {
    TFileAttributeData data;
    const ErrorCode error = QueryAttributeData(target, false, data);
    if (error == kErrorFileNotFound) return target;
    if (error != 0) RaiseCopyError(SErrorCreating, target, error);
    QString replaced = target;
    if (data.Attributes & kAttrReparsePoint) {
        replaced = FinalPathName(target);
        if (replaced.isEmpty() || QueryAttributeData(replaced, false, data) != 0) {
            RaiseCopyError(SErrorCreating, target, kErrorFileNotFound);
        }
    }
    if (data.Attributes & kAttrDirectory) RaiseCopyError(SErrorCreating, target, kErrorIsFolder);
    if (!IsFileAttributes(data.Attributes)) {
        RaiseCopyError(SErrorCreating, target, kErrorNotRegularFile);
    }
    return replaced;
}

// A temporary file that is deleted unless it was renamed into place.
class TempFile {
  public:
    explicit TempFile(const QString& beside, const QString& target) {
        const QString folder = ExtractFilePath(beside);
        for (int attempt = 0;; ++attempt) {
            path_ = folder + RandomTempName();
            try {
                stream_.emplace(path_, fmCreate | fmCreateNew, 0600);
                return;
            } catch (const EExtFileStreamError& e) {
                if (e.ErrorCode != kErrorFileExists || attempt + 1 == kTempAttempts) {
                    RaiseCopyError(SErrorCreating, target, e.ErrorCode);
                }
            }
        }
    }
    ~TempFile() {
        stream_.reset();
        if (!committed_) DeleteFile(path_);
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    TExtFileStream& Stream() { return *stream_; }
    const QString& Path() const { return path_; }
    void Committed() { committed_ = true; }

  private:
    QString path_;
    std::optional<TExtFileStream> stream_;
    bool committed_ = false;
};

}  // namespace

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
    if (SameFileName(source, target)) return;

    if (target.isEmpty()) RaiseCopyError(SFileNotFound, source, kErrorFileNotFound);

    // The source's time and attributes come with opening it: one query, and the file cannot
    // change its kind between the test and the open.
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

    const auto size = static_cast<size_t>(std::max(bufferSize, 1));
    const std::unique_ptr<char[]> buffer(new char[size]);
    const uint32_t permissions = attributes < 0
                                     ? sourceData.Permissions
                                     : PermissionsForAttributes(uint32_t(attributes) & 0xFFFF);

    const QString replaced = ReplacedFile(target);
    TempFile output(replaced, target);
    // A file of more than one buffer is read ahead and gets its room first: a full disk then
    // shows at once, not after hundreds of megabytes, and the file lies in one piece.
    if (sourceData.FileSize > size) {
        AdviseSequentialRead(input->Handle());
        const int error = ReserveFileSpace(output.Stream().Handle(), sourceData.FileSize);
        if (error == kErrorDiskFull) RaiseCopyError(SErrorWriting, target, error);
    }
    int64_t readCount;
    int64_t writeCount;
    do {
        if (int error = input->Read(buffer.get(), int64_t(size), readCount)) {
            RaiseCopyError(SErrorReading, source, error);
        }
        if (int error = output.Stream().Write(buffer.get(), readCount, writeCount)) {
            RaiseCopyError(SErrorWriting, target, error);
        }
        if (writeCount < readCount) RaiseCopyError(SErrorWriting, target, kErrorDiskFull);
    } while (readCount == int64_t(size));
    input.reset();

    // The time before the permissions, so that a read-only copy can still be stamped.
    const TFileTime time = LimitFutureFileTime(sourceData.LastWriteTime);
    const uint32_t subTick = time == sourceData.LastWriteTime ? sourceData.LastWriteSubTick : 0;
    if (int error = SetHandleLastWriteTime(output.Stream().Handle(), time, subTick)) {
        RaiseCopyError(SErrorSettingTimestamps, target, error);
    }
    if (int error = SetHandlePermissions(output.Stream().Handle(), permissions)) {
        RaiseCopyError(SErrorSettingAttributes, target, error);
    }
    // A network file system may report a failed write only when the file is closed.
    if (int error = output.Stream().Close()) RaiseCopyError(SErrorWriting, target, error);
    if (int error = RenameReplacing(output.Path(), replaced)) {
        RaiseCopyError(SErrorCreating, target, error);
    }
    output.Committed();
}

}  // namespace FileUtils
