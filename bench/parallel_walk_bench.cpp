// The folder walk alone, serial against helper threads listing ahead, on a host folder listed with POSIX
// calls: what the helpers give where listings can overlap. (Under Wine a process lists one folder at a time,
// so the Windows benchmarks show less.)
// Usage: parallel_walk_bench <folder> [rounds] [helpers,helpers,...]   (run by slow_share_bench.sh)
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/folder_walk.h"
#include "catalogue/parallel_walk.h"
#include "catalogue/scan_helpers.h"
#include "median.h"

namespace {

using kpv::FolderIdentity;

// The walk joins names with backslashes; the tree's names are plain ASCII.
std::string HostPath(const std::wstring& path) {
    std::string host;
    for (const wchar_t c : path) host.push_back(c == L'\\' ? '/' : static_cast<char>(c));
    return host;
}

class PosixLister final : public kpv::FolderLister {
public:
    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, kpv::FolderVisitor& visitor) override {
        const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(HostPath(openPath).c_str()), closedir);
        if (!dir) return static_cast<uint32_t>(errno);
        FolderIdentity self = identity;
        struct stat st {};
        if (!self.Known() && fstat(dirfd(dir.get()), &st) == 0) self = {st.st_dev, st.st_ino, 0};
        if (!visitor.Enter(self)) return 0;
        errno = 0;
        while (const dirent* entry = readdir(dir.get())) {
            const std::string_view name = entry->d_name;
            if (name == "." || name == "..") continue;
            bool folder = entry->d_type == DT_DIR;
            if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK)
                folder = fstatat(dirfd(dir.get()), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
            const std::wstring wide(name.begin(), name.end());
            if (folder) visitor.Subfolder(wide, {}, false);  // its identity comes from the folder once opened
            else visitor.File(wide);
        }
        return static_cast<uint32_t>(errno);
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: parallel_walk_bench <folder> [rounds] [helpers,helpers,...]\n");
        return 2;
    }
    std::string root = argv[1];
    if (root.back() != '/') root += '/';
    const std::wstring folder(root.begin(), root.end());
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::vector<unsigned> helpers{0};
    for (char* p = argc > 3 ? argv[3] : nullptr; p != nullptr && *p != '\0';) {
        helpers.push_back(static_cast<unsigned>(std::strtoul(p, &p, 10)));
        if (*p == ',') ++p;
    }
    if (helpers.size() == 1) helpers.push_back(kpv::ScanHelperThreads());

    std::vector<std::vector<double>> ms(helpers.size());
    std::vector<std::wstring> serialList;
    bool sameLists = true;
    for (int round = -1; round < rounds; ++round) {  // round -1 warms the caches
        for (size_t turn = 0; turn < helpers.size(); ++turn) {
            const size_t kind = (turn + static_cast<size_t>(round + 1)) % helpers.size();
            std::vector<std::wstring> list{L""};
            const auto t0 = std::chrono::steady_clock::now();
            if (helpers[kind] == 0) {
                PosixLister lister;
                kpv::WalkPictures(folder, folder, true, lister, list, [](uint32_t) {});
            } else {
                std::vector<std::unique_ptr<kpv::FolderLister>> listers;
                for (unsigned i = 0; i <= helpers[kind]; ++i) listers.push_back(std::make_unique<PosixLister>());
                kpv::WalkPicturesInParallel(folder, folder, true, std::move(listers), list, [](uint32_t) {});
            }
            const double took = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
            if (helpers[kind] == 0 && serialList.empty()) serialList = list;
            if (list != serialList && !serialList.empty()) sameLists = false;
            if (round >= 0) ms[kind].push_back(took);
        }
    }
    std::printf("pictures %zu, rounds %d, lists equal: %s\n", serialList.front().empty() ? 0 : serialList.size(),
                rounds, sameLists ? "yes" : "NO");
    for (size_t kind = 0; kind < helpers.size(); ++kind)
        std::printf("native walk, %2u helpers  median %9.1f ms   / serial %.3f\n", helpers[kind], Median(ms[kind]),
                    Median(ms[kind]) / Median(ms[0]));
    return sameLists ? 0 : 1;
}
