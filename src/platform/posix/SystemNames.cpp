// User and computer names on POSIX.
#include "SystemNames.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include <QSysInfo>

#include "NativeName.h"

namespace Platform {

namespace {

// The account database's name for the effective user, which sudo or su do not disguise the
// way they may leave $USER behind.
QString AccountName() {
    const long suggested = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? size_t(suggested) : 16384);
    for (;;) {
        passwd entry;
        passwd* found = nullptr;
        const int error = getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found);
        if (error == ERANGE && buffer.size() < (size_t(1) << 20)) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (error != 0 || found == nullptr || found->pw_name == nullptr) return {};
        return FromNativeName(QByteArray(found->pw_name));
    }
}

}  // namespace

QString UserLoginName() {
    QString name = AccountName();
    if (name.isEmpty()) name = qEnvironmentVariable("USER");
    if (name.isEmpty()) name = qEnvironmentVariable("LOGNAME");
    return name;
}

QString ComputerName() {
    return QSysInfo::machineHostName();
}

}  // namespace Platform
