// Folder listing on POSIX: readdir, with one stat per entry that matches the mask.
#include "FolderSearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FaultSeam.h"
#include "FileMask.h"
#include "NativeName.h"
#include "StatConversion.h"

namespace Platform {

using namespace Posix;

struct FolderSearch::State {
    DIR* dir = nullptr;
    QString mask;
    bool matchesAll = false;
    uint32_t excluded = 0;  // hidden, system and directory bits missing from the attribute set
};

FolderSearch::FolderSearch(const QString& pattern, uint32_t attributeSet)
    : state_(std::make_unique<State>()) {
    const qsizetype slash = pattern.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : pattern.left(slash + 1);
    state_->mask = pattern.mid(slash + 1);
    state_->matchesAll = state_->mask == QLatin1String("*") || state_->mask == QLatin1String("*.*");
    state_->excluded = ~attributeSet & (kAttrHidden | kAttrSystem | kAttrVolumeId | kAttrDirectory);

    if ((error_ = InjectedFault(FaultPoint::ListFolder, folder)) != 0) return;
    const int fd =
        open(ToNativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error_ = errno;
        return;
    }
    state_->dir = fdopendir(fd);
    if (state_->dir == nullptr) {
        error_ = errno;
        close(fd);
    }
}

FolderSearch::~FolderSearch() {
    if (state_->dir != nullptr) closedir(state_->dir);
}

bool FolderSearch::Next(TSearchHit& hit) {
    State& s = *state_;
    if (s.dir == nullptr || s.mask.isEmpty()) return false;
    const int dirFd = dirfd(s.dir);
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(s.dir);
        if (entry == nullptr) {
            if (errno != 0) error_ = errno;
            return false;
        }
        const char* rawName = entry->d_name;
        if (rawName[0] == '.' && (rawName[1] == 0 || (rawName[1] == '.' && rawName[2] == 0))) {
            continue;
        }
        // Entries whose type alone rules them out cost no stat.
        const unsigned char type = entry->d_type;
        if (type == DT_FIFO || type == DT_SOCK || type == DT_CHR || type == DT_BLK) continue;
        if (type == DT_DIR && (s.excluded & kAttrDirectory)) continue;

        QString name = FromNativeName(rawName, static_cast<qsizetype>(std::strlen(rawName)));
        const bool hidden = rawName[0] == '.';
        if (hidden && (s.excluded & kAttrHidden)) continue;
        if (!s.matchesAll && !MatchesMask(name, s.mask)) continue;

        bool isLink = type == DT_LNK;
        struct stat st;
        if (type == DT_UNKNOWN) {
            if (fstatat(dirFd, rawName, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            isLink = S_ISLNK(st.st_mode);
        }
        if (fstatat(dirFd, rawName, &st, 0) != 0) continue;  // vanished, or a dangling link
        if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) continue;

        FillAttributeData(st, hidden, hit.Data);
        if (isLink) hit.Data.Attributes |= kAttrReparsePoint;
        if (hit.Data.Attributes & s.excluded) continue;
        hit.Name = std::move(name);
        return true;
    }
}

}  // namespace Platform
