// Times the picture scan against a bare walker that makes the same platform calls and only counts.
// Usage: catalogue_bench_win <folder> [rounds]   (run under Wine by catalogue_bench.sh)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/base/handles_win.h"
#include "catalogue/catalogue_win.h"
#include "runtime/base/extended_path.h"

namespace {

struct Count {
    size_t folders = 0;
    size_t entries = 0;
};

// Depth first with its own stack; one directory handle per folder, listed in 64 KB batches, nothing kept.
Count BareWalk(const std::wstring& root) {
    Count c;
    std::vector<uint64_t> buffer(64 * 1024 / sizeof(uint64_t));
    std::vector<std::wstring> pending{kpv::ExtendedLengthPath(root)};
    while (!pending.empty()) {
        const std::wstring folder = std::move(pending.back());
        pending.pop_back();
        const kpv::rt::UniqueFile h(CreateFileW(kpv::DirectoryOpenPath(folder).c_str(), FILE_LIST_DIRECTORY,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!h) continue;
        ++c.folders;
        FILE_INFO_BY_HANDLE_CLASS cls = FileIdBothDirectoryRestartInfo;
        while (GetFileInformationByHandleEx(h.get(), cls, buffer.data(), static_cast<DWORD>(buffer.size() * 8))) {
            cls = FileIdBothDirectoryInfo;
            const auto* bytes = reinterpret_cast<const unsigned char*>(buffer.data());
            for (size_t offset = 0;;) {
                const auto* e = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(bytes + offset);
                const std::wstring_view name(e->FileName, e->FileNameLength / sizeof(wchar_t));
                if (name != L"." && name != L"..") {
                    ++c.entries;
                    if (e->FileAttributes & FILE_ATTRIBUTE_DIRECTORY) pending.push_back(folder + std::wstring(name) + L'\\');
                }
                if (e->NextEntryOffset == 0) break;
                offset += e->NextEntryOffset;
            }
        }
    }
    return c;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: catalogue_bench_win <folder> [rounds]\n");
        return 2;
    }
    std::wstring root = argv[1];
    if (root.back() != L'\\') root += L'\\';
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    using Clock = std::chrono::steady_clock;
    std::vector<double> scanMs, bareMs;
    size_t pictures = 0, errors = 0;
    Count bare = BareWalk(root);  // warms the caches once for both
    for (int round = 0; round < rounds; ++round) {
        // Alternate which goes first, so neither always gets the warmer start.
        for (int turn = 0; turn < 2; ++turn) {
            const auto t0 = Clock::now();
            if ((round + turn) % 2 == 0) {
                std::vector<std::wstring> list{L""};
                errors = 0;
                kpv::ScanPictures(root, true, list, [&](uint32_t) { ++errors; });
                pictures = list.front().empty() ? 0 : list.size();
                scanMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            } else {
                bare = BareWalk(root);
                bareMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
            }
        }
    }
    const double scan = Median(scanMs), walk = Median(bareMs);
    std::printf("folders %zu, entries %zu, pictures %zu, scan errors %zu, rounds %d\n", bare.folders, bare.entries,
                pictures, errors, rounds);
    std::printf("picture scan  median %9.1f ms\n", scan);
    std::printf("bare walker   median %9.1f ms\n", walk);
    std::printf("scan / bare   %.3f\n", scan / walk);
    return 0;
}
