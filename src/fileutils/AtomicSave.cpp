// Atomic replacement of small files through QSaveFile.
#include "AtomicSave.h"

#include <cerrno>

#include <QSaveFile>

namespace FileUtils {

namespace {

int ErrnoOr(int fallback) {
    return errno != 0 ? errno : fallback;
}

}  // namespace

int WriteFileAtomically(const QString& fileName, const QByteArray& content,
                        std::optional<QFileDevice::Permissions> permissions) {
    QSaveFile file(fileName);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) return ErrnoOr(EIO);
    errno = 0;
    if ((permissions && !file.setPermissions(*permissions)) ||
        file.write(content) != content.size()) {
        const int error = ErrnoOr(EIO);
        file.cancelWriting();
        return error;
    }
    // Flush before committing: in Qt 6.4 commit() ignores a failed flush of its buffer (a
    // full disk, a file-size limit) and renames the truncated file over the old one.
    errno = 0;
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        const int error = ErrnoOr(EIO);
        file.cancelWriting();
        return error;
    }
    errno = 0;
    if (!file.commit()) return ErrnoOr(EIO);
    return 0;
}

}  // namespace FileUtils
