// The file stream and the exceptions of the copy engine.
#include "ExtFileStream.h"

#include <QDir>

#include "FileConsts.h"

namespace FileUtils {

using namespace Platform;

EInOutError::EInOutError(const QString& message, int errorCode)
    : ErrorCode(errorCode), message_(message), utf8_(message.toUtf8()) {}

EExtFileStreamError EExtFileStreamError::CreateResFmt(
    const Catalog::TResourceString& resource, std::initializer_list<StringUtils::TFormatArg> args,
    int errorCode) {
    return EExtFileStreamError(StringUtils::FormatSafe(Catalog::LoadResString(resource), args),
                               errorCode);
}

namespace {

QString ExpandFileName(const QString& name) {
    return QDir::cleanPath(QDir::current().absoluteFilePath(name));
}

}  // namespace

TExtFileStream::TExtFileStream(const QString& fileName, uint16_t mode, uint32_t rights,
                               TFileAttributeData* data) {
    const bool create = (mode & 0xFF00) == fmCreate;
    const unsigned low = mode & 0x00FF;
    FileAccess access = FileAccess::ReadWrite;
    FileDisposition disposition = FileDisposition::CreateAlways;
    ErrorCode error = 0;
    if (create) {
        if (low != 0xFF && (low & fmCreateNew)) disposition = FileDisposition::CreateNew;
    } else {
        disposition = FileDisposition::OpenExisting;
        const unsigned accessBits = low & 0x03;
        if (accessBits == 3 || (low & 0xF0) > fmShareDenyNone) {
            error = kErrorNotRegularFile;  // no such mode
        } else {
            access = accessBits == 0   ? FileAccess::Read
                     : accessBits == 1 ? FileAccess::Write
                                       : FileAccess::ReadWrite;
        }
    }
    if (error == 0) error = OpenFile(fileName, access, disposition, rights, handle_, data);
    if (error != 0) {
        throw EExtFileStreamError::CreateResFmt(
            create ? FileConsts::SCannotCreateFile : FileConsts::SCannotOpenFile,
            {ExpandFileName(fileName), SystemErrorMessage(error)}, error);
    }
    fileName_ = fileName;
}

TExtFileStream::~TExtFileStream() {
    Close();
}

int TExtFileStream::Read(void* buffer, int64_t count, int64_t& readCount) {
    return ReadFile(handle_, buffer, count, readCount);
}

int TExtFileStream::Write(const void* buffer, int64_t count, int64_t& writeCount) {
    const ErrorCode error = WriteFile(handle_, buffer, count, writeCount);
    if (error != 0) writeCount = -1;
    return error;
}

int64_t TExtFileStream::Seek(int64_t offset, SeekOrigin origin) {
    int64_t position = -1;
    return SeekFile(handle_, offset, origin, position) == 0 ? position : -1;
}

int64_t TExtFileStream::Size() {
    TFileAttributeData data;
    return QueryHandleData(handle_, data) == 0 ? static_cast<int64_t>(data.FileSize) : -1;
}

int TExtFileStream::Close() {
    if (handle_ == kInvalidHandle) return 0;
    const ErrorCode error = CloseFile(handle_);
    handle_ = kInvalidHandle;
    return error;
}

}  // namespace FileUtils
