// A file stream over an operating-system handle whose failures carry the system's error code.
#pragma once

#include <cstdint>
#include <exception>
#include <initializer_list>

#include <QByteArray>
#include <QString>

#include "Catalog.h"
#include "FileHandle.h"
#include "FormatSafe.h"

namespace FileUtils {

// An input/output failure: a message for the user and the operating-system error code.
class EInOutError : public std::exception {
  public:
    EInOutError(const QString& message, int errorCode);
    const QString& Message() const { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

    int ErrorCode;

  private:
    QString message_;
    QByteArray utf8_;
};

class EExtFileStreamError : public EInOutError {
  public:
    using EInOutError::EInOutError;
    // The translated text of `resource`, filled with `args`.
    static EExtFileStreamError CreateResFmt(const Catalog::TResourceString& resource,
                                            std::initializer_list<StringUtils::TFormatArg> args,
                                            int errorCode);
};

// Raised by the copy engine only.
class ECopyError : public EExtFileStreamError {
  public:
    using EExtFileStreamError::EExtFileStreamError;
};

// Open modes. With fmCreate in the high byte the file is created (or truncated); the low byte
// then holds the sharing and fmCreateNew. Without it, bits 0-1 give the access and bits 4-7
// the sharing. Sharing is not enforced on POSIX.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmCreateNew = 0x0004;  // with fmCreate: fail when the name is taken
constexpr uint16_t fmOpenRead = 0x0000;
constexpr uint16_t fmOpenWrite = 0x0001;
constexpr uint16_t fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareExclusive = 0x0010;
constexpr uint16_t fmShareDenyWrite = 0x0020;
constexpr uint16_t fmShareDenyRead = 0x0030;
constexpr uint16_t fmShareDenyNone = 0x0040;

class TExtFileStream {
  public:
    // Opens or creates `fileName` by `mode`; `rights` are the POSIX permissions of a created
    // file (0: the usual 0666 less the umask); `data`, when given, receives the opened file's
    // attribute data. Raises EExtFileStreamError on failure.
    TExtFileStream(const QString& fileName, uint16_t mode, uint32_t rights = 0,
                   Platform::TFileAttributeData* data = nullptr);
    ~TExtFileStream();
    TExtFileStream(const TExtFileStream&) = delete;
    TExtFileStream& operator=(const TExtFileStream&) = delete;

    const QString& FileName() const { return fileName_; }
    Platform::FileHandle Handle() const { return handle_; }

    // One read of at most `count` bytes; `readCount` is -1 when it fails. 0 or the error code.
    int Read(void* buffer, int64_t count, int64_t& readCount);
    // One write of `count` bytes; `writeCount` as for Read. 0 or the error code.
    int Write(const void* buffer, int64_t count, int64_t& writeCount);

    // The new position, or -1 when the handle cannot be positioned.
    int64_t Seek(int64_t offset, Platform::SeekOrigin origin);
    int64_t Size();

    // Closes the handle now and reports what the close reported; the destructor ignores it.
    int Close();

  private:
    QString fileName_;
    Platform::FileHandle handle_ = Platform::kInvalidHandle;
};

}  // namespace FileUtils
