// Shell links on Linux: symbolic links, read without following them.
#include "ShellLinks.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "NativeName.h"

namespace ShellLinks {

int ReadShellLink(const QString& fileName, QString& target, QString& arguments, bool& runAsAdmin,
                  QString& description, QString& workingFolder) {
    target.clear();
    arguments.clear();
    description.clear();
    workingFolder.clear();
    runAsAdmin = false;

    const QByteArray native = Platform::ToNativeName(fileName);
    struct stat own;
    if (lstat(native.constData(), &own) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? kLinkFileMissing : -errno;
    }
    if (!S_ISLNK(own.st_mode)) return kNotALink;

    std::error_code error;
    const std::filesystem::path stored =
        std::filesystem::read_symlink(std::filesystem::path(native.toStdString()), error);
    if (error) return -error.value();
    target = Platform::FromNativeName(QByteArray::fromStdString(stored.native()));
    return kLinkRead;
}

bool ReadShellLink(const QString& fileName, QString& target, QString& arguments,
                   QString& description, QString& workingFolder) {
    bool runAsAdmin = false;
    return ReadShellLink(fileName, target, arguments, runAsAdmin, description, workingFolder) >= 0;
}

}  // namespace ShellLinks
