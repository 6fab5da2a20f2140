// Reading a folder's contents on POSIX: readdir, and one stat for each entry that is wanted.
#include "FolderContents.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "FaultSeam.h"
#include "NativeName.h"
#include "StatConversion.h"

namespace Platform {

using namespace Posix;

ErrorCode ReadFolderContents(const QString& folder, const TNameFilter& wantFile, bool withFolders,
                             std::vector<TFolderItem>& items) {
    items.clear();
    if (ErrorCode fault = InjectedFault(FaultPoint::ListFolder, folder)) return fault;
    DIR* dir = opendir(ToNativeName(folder).constData());
    if (dir == nullptr) return errno;
    const int fd = dirfd(dir);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    ErrorCode error = 0;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir);
        if (entry == nullptr) {
            error = errno;
            break;
        }
        const char* rawName = entry->d_name;
        if (rawName[0] == '.' && (rawName[1] == 0 || (rawName[1] == '.' && rawName[2] == 0))) {
            continue;
        }
        // Only wanted entries cost a stat; the entry type of the listing tells most of them.
        const unsigned char type = entry->d_type;
        const bool maybeLink = type == DT_LNK || type == DT_UNKNOWN;
        if (type != DT_DIR && type != DT_REG && !maybeLink) continue;  // special files
        if (type == DT_DIR && !withFolders) continue;
        TFolderItem item;
        item.Name = FromNativeName(rawName, static_cast<qsizetype>(std::strlen(rawName)));
        const bool fileWanted = type != DT_DIR && wantFile(item.Name);
        if (type == DT_REG && !fileWanted) continue;
        if (maybeLink && !fileWanted && !withFolders) continue;

        struct stat st;
        ErrorCode statError = InjectedFault(FaultPoint::QueryAttributes, prefix + item.Name);
        if (statError == 0 && fstatat(fd, rawName, &st, 0) != 0) statError = errno;
        if (statError == EACCES && !maybeLink) {  // the folder may be read but not entered
            error = statError;
            break;
        }
        if (MeansNoSuchEntry(statError)) continue;  // gone meanwhile, or a dangling link
        if (statError != 0) {
            item.IsFolder = type == DT_DIR;
            item.Error = statError;
            items.push_back(std::move(item));
            continue;
        }
        if (S_ISDIR(st.st_mode)) {
            if (!withFolders) continue;
            item.IsFolder = true;
        } else if (!S_ISREG(st.st_mode) || !fileWanted) {
            continue;
        }
        FillAttributeData(st, IsHiddenName(item.Name), item.Data);
        items.push_back(std::move(item));
    }
    closedir(dir);
    return error;
}

}  // namespace Platform
