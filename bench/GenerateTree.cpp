// Generates a reproducible tree of files for the benchmarks: a number of files of random size
// and content, spread over a number of nested folders, with distinct last-write times. With
// --touch it changes a share of the files of an existing tree instead.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

struct Options {
    long files = 20000;
    long folders = 2000;
    long long minSize = 0;
    long long maxSize = 32 * 1024;
    unsigned seed = 1;
    std::string out;
    double touchPercent = -1;  // change this share of an existing tree's files
    int parity = 0;            // ... choosing among the files of even (0) or odd (1) rank
};

long long ParseSize(const char* text) {
    char* end = nullptr;
    long long value = std::strtoll(text, &end, 10);
    switch (*end) {
        case 'K':
        case 'k':
            value <<= 10;
            break;
        case 'M':
        case 'm':
            value <<= 20;
            break;
        case 'G':
        case 'g':
            value <<= 30;
            break;
        default:
            break;
    }
    return value;
}

[[noreturn]] void Usage() {
    std::fprintf(stderr,
                 "usage: generate-tree --out DIR [--files N] [--folders N] [--min-size S]\n"
                 "                     [--max-size S] [--seed N]   (sizes take K, M, G)\n"
                 "       generate-tree --out DIR --touch PERCENT [--parity 0|1] [--seed N]\n");
    std::exit(2);
}

Options Parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc) Usage();
        const char* value = argv[++i];
        if (arg == "--out")
            o.out = value;
        else if (arg == "--files")
            o.files = std::atol(value);
        else if (arg == "--folders")
            o.folders = std::atol(value);
        else if (arg == "--min-size")
            o.minSize = ParseSize(value);
        else if (arg == "--max-size")
            o.maxSize = ParseSize(value);
        else if (arg == "--seed")
            o.seed = unsigned(std::atol(value));
        else if (arg == "--touch")
            o.touchPercent = std::atof(value);
        else if (arg == "--parity")
            o.parity = std::atoi(value) & 1;
        else
            Usage();
    }
    if (o.out.empty() || o.files < 0 || o.folders < 0 || o.minSize < 0 || o.maxSize < o.minSize) {
        Usage();
    }
    return o;
}

void Fail(const std::string& what) {
    std::perror(what.c_str());
    std::exit(1);
}

}  // namespace

// Rewrites the beginning of the chosen files and stamps them with the current time, so that
// they are newer than their counterparts on the other side. The two sides change disjoint
// files (--parity), so no tool meets a conflict.
int Touch(const Options& o) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(o.out)) {
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    std::vector<std::string> candidates;
    for (size_t i = size_t(o.parity); i < files.size(); i += 2)
        candidates.push_back(files[i]);
    std::mt19937_64 random(o.seed);
    std::shuffle(candidates.begin(), candidates.end(), random);
    const auto count = static_cast<size_t>(double(files.size()) * o.touchPercent / 100.0);
    const std::string stamp = "changed " + std::to_string(random()) + "\n";
    for (size_t i = 0; i < count && i < candidates.size(); ++i) {
        const int fd = open(candidates[i].c_str(), O_WRONLY);
        if (fd < 0) Fail(candidates[i]);
        if (write(fd, stamp.data(), stamp.size()) != ssize_t(stamp.size())) Fail(candidates[i]);
        close(fd);  // the write stamps the current time
    }
    std::printf("changed %zu of %zu files\n", std::min(count, candidates.size()), files.size());
    return 0;
}

int main(int argc, char** argv) {
    const Options o = Parse(argc, argv);
    if (o.touchPercent >= 0) return Touch(o);
    std::mt19937_64 random(o.seed);

    // Folder i hangs below a random earlier folder (or the root), giving a tree of varied depth.
    std::vector<std::string> folders{o.out};
    if (mkdir(o.out.c_str(), 0755) != 0 && errno != EEXIST) Fail(o.out);
    for (long i = 0; i < o.folders; ++i) {
        const std::string& parent = folders[random() % folders.size()];
        folders.push_back(parent + "/d" + std::to_string(i));
        if (mkdir(folders.back().c_str(), 0755) != 0) Fail(folders.back());
    }

    std::vector<char> block(1 << 20);
    for (char& c : block)
        c = char(random());
    const time_t base = 1600000000;
    for (long i = 0; i < o.files; ++i) {
        const std::string& folder = folders[o.folders == 0 ? 0 : 1 + random() % o.folders];
        const std::string path = folder + "/f" + std::to_string(i) + ".dat";
        const auto size =
            o.minSize + static_cast<long long>(random() % uint64_t(o.maxSize - o.minSize + 1));
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0) Fail(path);
        // Content differs between files: each starts at its own offset in the random block.
        for (long long written = 0; written < size;) {
            const size_t offset = size_t(random() % 4096);
            const auto chunk = static_cast<size_t>(
                std::min<long long>(size - written, static_cast<long long>(block.size() - offset)));
            if (write(fd, block.data() + offset, chunk) != ssize_t(chunk)) Fail(path);
            written += static_cast<long long>(chunk);
        }
        const timeval times[2] = {{base + i, 0}, {base + i, 0}};
        if (futimes(fd, times) != 0) Fail(path);
        close(fd);
    }
    return 0;
}
