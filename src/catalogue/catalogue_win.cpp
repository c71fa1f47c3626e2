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

}  // namespace

void ScanPictures(const std::wstring& folder, bool descend, unsigned helpers, std::vector<std::wstring>& list,
                  const std::function<void(uint32_t error)>& report, const HelperStart& start) {
    std::wstring openFolder;
    if (const uint32_t error = OpenFormOf(folder, openFolder); error != ERROR_SUCCESS) {
        report(error);
        return;
    }
    if (helpers == 0 || !descend) {
        DirectoryHandleLister lister;
        WalkPictures(folder, openFolder, descend, lister, list, report);
        return;
    }
    // One lister per thread: each keeps its own listing buffer.
    std::vector<std::unique_ptr<FolderLister>> listers;
    for (unsigned i = 0; i <= helpers; ++i) listers.push_back(std::make_unique<DirectoryHandleLister>());
    WalkPicturesInParallel(folder, openFolder, descend, std::move(listers), list, report, start);
}

std::vector<std::wstring> BuildPictureList(const std::wstring& path, int16_t subFolder,
                                           const std::function<void(const std::wstring& message)>& report) {
    std::vector<std::wstring> list(1);
    ScanPictures(path, subFolder == 1, ScanHelperThreads(), list, [&report](uint32_t error) {
        report(rt::ErrorReportText(rt::SystemErrorDescription(error), error));
    });
    return list;
}

}  // namespace kpv
