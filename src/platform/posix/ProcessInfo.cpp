// The running process on Linux, read from /proc/self.
#include "ProcessInfo.h"

#include <fcntl.h>
#include <unistd.h>

#include <QByteArray>

#include "NativeName.h"

namespace Platform {

QString ExecutablePath() {
    QByteArray path(4096, Qt::Uninitialized);
    const ssize_t length = readlink("/proc/self/exe", path.data(), size_t(path.size()));
    if (length <= 0 || length >= path.size()) return QString();
    path.truncate(length);
    return FromNativeName(path);
}

QStringList CommandLineArguments() {
    QByteArray all;
    const int fd = open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        all.append(buffer, n);
    close(fd);

    // Arguments are separated (and ended) by NUL bytes; the first is the program path.
    QStringList arguments;
    qsizetype start = 0;
    bool first = true;
    while (start < all.size()) {
        qsizetype end = all.indexOf('\0', start);
        if (end < 0) end = all.size();
        if (!first) arguments << FromNativeName(all.constData() + start, end - start);
        first = false;
        start = end + 1;
    }
    return arguments;
}

}  // namespace Platform
