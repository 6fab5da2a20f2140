// Creating and removing folders, deleting and renaming files on POSIX.
#include "FileSystemOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "FaultSeam.h"
#include "NativeName.h"
#include "StatConversion.h"

namespace Platform {

namespace {

bool IsFolder(const QByteArray& native) {
    struct stat st;
    return stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

ErrorCode CreateFolderNative(QByteArray native) {
    while (native.size() > 1 && native.endsWith('/'))
        native.chop(1);
    if (native.isEmpty() || IsFolder(native)) return 0;
    if (mkdir(native.constData(), 0777) == 0) return 0;
    if (errno == EEXIST) return IsFolder(native) ? 0 : ENOTDIR;
    if (errno != ENOENT) return errno;
    const qsizetype slash = native.lastIndexOf('/');
    if (slash <= 0) return ENOENT;
    if (ErrorCode error = CreateFolderNative(native.left(slash))) return error;
    if (mkdir(native.constData(), 0777) == 0) return 0;
    return errno == EEXIST && IsFolder(native) ? 0 : errno;
}

}  // namespace

ErrorCode CreateFolderWithParents(const QString& path) {
    if (ErrorCode fault = InjectedFault(FaultPoint::CreateFolder, path)) return fault;
    return CreateFolderNative(ToNativeName(path));
}

ErrorCode RemoveFolder(const QString& path) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Delete, path)) return fault;
    return rmdir(ToNativeName(path).constData()) == 0 ? 0 : errno;
}

ErrorCode DeleteFile(const QString& path) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Delete, path)) return fault;
    return unlink(ToNativeName(path).constData()) == 0 ? 0 : errno;
}

ErrorCode RenameReplacing(const QString& from, const QString& to) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Rename, to)) return fault;
    return std::rename(ToNativeName(from).constData(), ToNativeName(to).constData()) == 0 ? 0
                                                                                          : errno;
}

ErrorCode RenameReplacingIn(const TFolderHandle& folder, const QString& from, const QString& to) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Rename, to)) return fault;
    if (!folder.IsOpen()) return folder.Error();
    return renameat(folder.Native(), ToNativeName(from).constData(), folder.Native(),
                    ToNativeName(to).constData()) == 0
               ? 0
               : errno;
}

ErrorCode RenameNotReplacingIn(const TFolderHandle& folder, const QString& from,
                               const QString& to) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Rename, to)) return fault;
    if (!folder.IsOpen()) return folder.Error();
    if (!Posix::CaseVariantIn(folder.Native(), folder.Path(), to).isEmpty()) return EEXIST;
    const QByteArray nativeFrom = ToNativeName(from);
    const QByteArray nativeTo = ToNativeName(to);
    if (renameat2(folder.Native(), nativeFrom.constData(), folder.Native(), nativeTo.constData(),
                  RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return errno;
    // Without an atomic refusal (FUSE, network shares), a look just before the rename.
    struct stat st;
    if (fstatat(folder.Native(), nativeTo.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT) return errno;
    return renameat(folder.Native(), nativeFrom.constData(), folder.Native(),
                    nativeTo.constData()) == 0
               ? 0
               : errno;
}

ErrorCode DeleteFileIn(const TFolderHandle& folder, const QString& name) {
    if (ErrorCode fault = InjectedFault(FaultPoint::Delete, name)) return fault;
    if (!folder.IsOpen()) return folder.Error();
    return unlinkat(folder.Native(), ToNativeName(name).constData(), 0) == 0 ? 0 : errno;
}

QString FinalPathName(const QString& path) {
    char* resolved = realpath(ToNativeName(path).constData(), nullptr);
    if (resolved == nullptr) return QString();
    QString result = FromNativeName(QByteArray(resolved));
    std::free(resolved);
    return result;
}

bool SameFileName(const QString& a, const QString& b) {
    return a.compare(b, kFileNameCase) == 0;
}

}  // namespace Platform
