// A FUSE file system that shows a folder as it is, but answers every read with at most a
// given number of bytes, as network and FUSE file systems may: for checking that copies read
// to the true end of a file.
//   short-read-fs SOURCE MOUNTPOINT MAX-BYTES-PER-READ [FUSE OPTIONS]
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <fcntl.h>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string source;
size_t maxRead = 100000;

std::string Real(const char* path) {
    return source + path;
}

int GetAttr(const char* path, struct stat* st, fuse_file_info*) {
    return lstat(Real(path).c_str(), st) == 0 ? 0 : -errno;
}

int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
            fuse_readdir_flags) {
    DIR* dir = opendir(Real(path).c_str());
    if (dir == nullptr) return -errno;
    while (const dirent* entry = readdir(dir))
        fill(buffer, entry->d_name, nullptr, 0, fuse_fill_dir_flags(0));
    closedir(dir);
    return 0;
}

int ReadLink(const char* path, char* buffer, size_t size) {
    const ssize_t n = readlink(Real(path).c_str(), buffer, size - 1);
    if (n < 0) return -errno;
    buffer[n] = '\0';
    return 0;
}

int Open(const char* path, fuse_file_info* info) {
    if ((info->flags & O_ACCMODE) != O_RDONLY) return -EROFS;
    const int fd = open(Real(path).c_str(), O_RDONLY);
    if (fd < 0) return -errno;
    info->fh = uint64_t(fd);
    info->direct_io = 1;  // every read reaches this file system and gets its short answer
    return 0;
}

int Read(const char*, char* buffer, size_t size, off_t offset, fuse_file_info* info) {
    const ssize_t n = pread(int(info->fh), buffer, std::min(size, maxRead), offset);
    return n < 0 ? -errno : int(n);
}

int Release(const char*, fuse_file_info* info) {
    close(int(info->fh));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: short-read-fs SOURCE MOUNTPOINT MAX-BYTES [OPTIONS]\n");
        return 2;
    }
    char* real = realpath(argv[1], nullptr);
    if (real == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    source = real;
    std::free(real);
    maxRead = std::strtoul(argv[3], nullptr, 10);

    fuse_operations operations{};
    operations.getattr = GetAttr;
    operations.readdir = ReadDir;
    operations.readlink = ReadLink;
    operations.open = Open;
    operations.read = Read;
    operations.release = Release;

    std::vector<char*> fuseArgs{argv[0], argv[2], const_cast<char*>("-o"),
                                const_cast<char*>("ro,default_permissions")};
    for (int i = 4; i < argc; ++i)
        fuseArgs.push_back(argv[i]);
    return fuse_main(int(fuseArgs.size()), fuseArgs.data(), &operations, nullptr);
}
