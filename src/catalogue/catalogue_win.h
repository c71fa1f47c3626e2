#pragma once
// The picture catalogue: the full paths of the pictures in the picture folder.
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "catalogue/parallel_walk.h"
#include "catalogue/random_descent.h"
#include "runtime/base/io_cancel_win.h"
#include "runtime/base/random.h"

namespace kpv {

// The list of one start: it begins as one empty entry and the scan of the picture folder (with all folders
// below it when subFolder is 1) fills it; entry 0 still empty means that there are none. A folder that
// cannot be opened or listed is passed to `report` as its message text, when the walk reaches it, and
// skipped; `report` may throw to stop the scan. Once `stop` is requested the scan ends at its next step with
// what it has; `cancel`, when given, cuts short the listings of every thread of the scan.
std::vector<std::wstring> BuildPictureList(const std::wstring& path, int16_t subFolder,
                                           const std::function<void(const std::wstring& message)>& report,
                                           std::stop_token stop = {}, rt::IoCancel* cancel = nullptr);

// The scan itself, with the error report left to the caller: `report` gets the platform's error number, on
// the calling thread. `helpers` threads list folders ahead of the scan once listings prove slow (`start`),
// which changes nothing but the time; with none, the calling thread lists one folder after another.
void ScanPictures(const std::wstring& folder, bool descend, unsigned helpers, std::vector<std::wstring>& list,
                  const std::function<void(uint32_t error)>& report, const HelperStart& start = {},
                  std::stop_token stop = {}, rt::IoCancel* cancel = nullptr);

// A picture of the picture folder found by a random descent (DescendToPicture) while the scan is not
// complete, in the form the scan's list gives its entries. `keepGoing` is asked before each listing; once
// it says no, the descent ends with nothing. Reports nothing.
std::optional<std::wstring> FindPictureByDescent(const std::wstring& path, int16_t subFolder, rt::RandomSource& rng,
                                                 const PictureRank& rank, const std::function<bool()>& keepGoing);

}  // namespace kpv
