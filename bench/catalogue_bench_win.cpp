// Times the picture scan, serial and with helper threads listing ahead, against a bare walker that makes the
// same platform calls on one thread and only counts.
// Usage: catalogue_bench_win <folder> [rounds] [helpers,helpers,...]   (run under Wine by the bench scripts)
//        catalogue_bench_win --descents <folder> [rounds] [every-ms]
//   the scan alone against the scan with random descents beside it, one every <every-ms> (0: back to back,
//   far more than a run asks for; a show makes at most one per prepare step, an Interval apart).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <string>
#include <thread>
#include <vector>

#include "runtime/base/handles_win.h"
#include "catalogue/catalogue_win.h"
#include "catalogue/scan_helpers.h"
#include "runtime/base/extended_path.h"
#include "runtime/base/random.h"
#include "median.h"

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

// "1,2,8" gives 1, 2 and 8.
std::vector<unsigned> HelperCounts(const wchar_t* text) {
    std::vector<unsigned> counts;
    for (wchar_t* end = nullptr;; text = end + 1) {
        counts.push_back(static_cast<unsigned>(std::wcstoul(text, &end, 10)));
        if (*end != L',') break;
    }
    return counts;
}

int Descents(std::wstring root, int rounds, int everyMs) {
    if (root.back() != L'\\') root += L'\\';
    using Clock = std::chrono::steady_clock;
    const auto scan = [&] {
        std::vector<std::wstring> list{L""};
        const auto t0 = Clock::now();
        kpv::ScanPictures(root, true, kpv::ScanHelperThreads(), list, [](uint32_t) {});
        return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    };
    std::vector<double> alone, beside;
    size_t descents = 0, found = 0;
    BareWalk(root);  // warms the caches once for all
    for (int round = 0; round < rounds; ++round) {
        alone.push_back(scan());
        std::atomic<bool> done{false};
        std::thread descending([&] {
            kpv::rt::ClockSeededRandom rng;
            while (!done) {
                const auto next = Clock::now() + std::chrono::milliseconds(everyMs);
                ++descents;
                if (kpv::FindPictureByDescent(root, 1, rng, [](const std::wstring&) { return 0; }, {})) ++found;
                while (!done && Clock::now() < next) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
        beside.push_back(scan());
        done = true;
        descending.join();
    }
    std::printf("scan alone median %9.1f ms; with a descent every %d ms beside it %9.1f ms (ratio %.3f); %zu descents, "
                "%zu found a picture; %d rounds\n",
                Median(alone), everyMs, Median(beside), Median(beside) / Median(alone), descents, found, rounds);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 3 && std::wstring(argv[1]) == L"--descents")
        return Descents(argv[2], argc > 3 ? std::max(1, _wtoi(argv[3])) : 5, argc > 4 ? std::max(0, _wtoi(argv[4])) : 0);
    if (argc < 2) {
        std::fprintf(stderr, "usage: catalogue_bench_win <folder> [rounds] [helpers,helpers,...]\n");
        return 2;
    }
    std::wstring root = argv[1];
    if (root.back() != L'\\') root += L'\\';
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    // Scans with these helper counts, 0 being the serial scan; the bare walker last.
    std::vector<unsigned> helpers{0};
    for (unsigned n : argc > 3 ? HelperCounts(argv[3]) : std::vector<unsigned>{kpv::ScanHelperThreads()})
        if (n != 0) helpers.push_back(n);
    using Clock = std::chrono::steady_clock;
    const size_t kinds = helpers.size() + 1;
    std::vector<std::vector<double>> ms(kinds);
    std::vector<std::wstring> serialList;
    size_t errors = 0;
    bool sameLists = true;
    Count bare = BareWalk(root);  // warms the caches once for all
    for (int round = 0; round < rounds; ++round) {
        // Rotate which goes first, so that none always gets the warmest start.
        for (size_t turn = 0; turn < kinds; ++turn) {
            const size_t kind = (turn + round) % kinds;
            const auto t0 = Clock::now();
            if (kind == helpers.size()) {
                bare = BareWalk(root);
            } else {
                std::vector<std::wstring> list{L""};
                errors = 0;
                kpv::ScanPictures(root, true, helpers[kind], list, [&](uint32_t) { ++errors; });
                const auto t1 = Clock::now();
                ms[kind].push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
                if (kind == 0 && serialList.empty()) serialList = list;
                if (!serialList.empty() && list != serialList) sameLists = false;
                continue;
            }
            ms[kind].push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        }
    }
    const size_t pictures = serialList.empty() || serialList.front().empty() ? 0 : serialList.size();
    std::printf("folders %zu, entries %zu, pictures %zu, scan errors %zu, rounds %d, lists equal: %s\n",
                bare.folders, bare.entries, pictures, errors, rounds, sameLists ? "yes" : "NO");
    const double serial = Median(ms[0]);
    for (size_t kind = 0; kind < helpers.size(); ++kind)
        std::printf("picture scan, %2u helpers  median %9.1f ms   / serial %.3f\n", helpers[kind], Median(ms[kind]),
                    Median(ms[kind]) / serial);
    std::printf("bare walker              median %9.1f ms   / serial %.3f\n", Median(ms.back()), Median(ms.back()) / serial);
    return sameLists ? 0 : 1;
}
