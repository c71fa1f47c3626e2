#include "catalogue/catalogue_win.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "runtime/base/error_report.h"
#include "runtime/base/system_error_win.h"
#include "runtime/base/extended_path.h"
#include "catalogue/folder_lister_win.h"
#include "catalogue/folder_walk.h"
#include "catalogue/parallel_walk.h"
#include "catalogue/scan_helpers.h"

namespace kpv {

namespace {

// The folder as the lister opens it: full, in the extended-length form, so depth never hits the
// 260-character limit. Relative forms ("\" for the current drive's root) are resolved once, here.
uint32_t OpenFormOf(const std::wstring& folder, std::wstring& openFolder) {
    DWORD size = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    for (int attempt = 0; attempt < 2 && size != 0; ++attempt) {
        std::wstring full(size, L'\0');
        const DWORD n = GetFullPathNameW(folder.c_str(), size, full.data(), nullptr);
        if (n == 0) break;
        if (n < size) {
            full.resize(n);
            if (full.back() != L'\\') full += L'\\';
            openFolder = ExtendedLengthPath(full);
            return ERROR_SUCCESS;
        }
        size = n;
    }
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? error : ERROR_BAD_PATHNAME;
}

// Asks before each listing whether the descent may go on; once it may not, it is stopped.
class AskingLister final : public FolderLister {
public:
    AskingLister(const std::function<bool()>& keepGoing, std::stop_source& stop) : keepGoing_(keepGoing), stop_(stop) {}
    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, FolderVisitor& visitor) override {
        if (keepGoing_ && !keepGoing_()) {
            stop_.request_stop();
            return kListingCancelled;
        }
        return lister_.List(openPath, identity, visitor);
    }

private:
    const std::function<bool()>& keepGoing_;
    std::stop_source& stop_;
    DirectoryHandleLister lister_;
};

}  // namespace

std::optional<std::wstring> FindPictureByDescent(const std::wstring& path, int16_t subFolder, rt::RandomSource& rng,
                                                 const PictureRank& rank, const std::function<bool()>& keepGoing) {
    std::wstring openFolder;
    if (OpenFormOf(path, openFolder) != ERROR_SUCCESS) return std::nullopt;
    std::stop_source stop;
    AskingLister lister(keepGoing, stop);
    return DescendToPicture(path, openFolder, subFolder == 1, lister, rng, rank, stop.get_token());
}

void ScanPictures(const std::wstring& folder, bool descend, unsigned helpers, std::vector<std::wstring>& list,
                  const std::function<void(uint32_t error)>& report, const HelperStart& start,
                  std::stop_token stop, rt::IoCancel* cancel) {
    std::wstring openFolder;
    if (const uint32_t error = OpenFormOf(folder, openFolder); error != ERROR_SUCCESS) {
        report(error);
        return;
    }
    if (helpers == 0 || !descend) {
        DirectoryHandleLister lister(cancel);
        WalkPictures(folder, openFolder, descend, lister, list, report, stop);
        return;
    }
    // One lister per thread: each keeps its own listing buffer.
    std::vector<std::unique_ptr<FolderLister>> listers;
    for (unsigned i = 0; i <= helpers; ++i) listers.push_back(std::make_unique<DirectoryHandleLister>(cancel));
    WalkPicturesInParallel(folder, openFolder, descend, std::move(listers), list, report, start, stop);
}

std::vector<std::wstring> BuildPictureList(const std::wstring& path, int16_t subFolder,
                                           const std::function<void(const std::wstring& message)>& report,
                                           std::stop_token stop, rt::IoCancel* cancel) {
    std::vector<std::wstring> list(1);
    ScanPictures(path, subFolder == 1, ScanHelperThreads(), list, [&report](uint32_t error) {
        report(rt::ErrorReportText(rt::SystemErrorDescription(error), error));
    }, {}, stop, cancel);
    return list;
}

}  // namespace kpv
