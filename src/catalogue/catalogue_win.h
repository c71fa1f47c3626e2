#pragma once
// The picture catalogue: the full paths of the pictures in the picture folder.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/parallel_walk.h"

namespace kpv {

// The list of one start: it begins as one empty entry and the scan of the picture folder (with all folders
// below it when subFolder is 1) fills it; entry 0 still empty means that there are none. A folder that
// cannot be opened or listed is passed to `report` as its message text, when the walk reaches it, and
// skipped; `report` may throw to stop the scan.
std::vector<std::wstring> BuildPictureList(const std::wstring& path, int16_t subFolder,
                                           const std::function<void(const std::wstring& message)>& report);

// The scan itself, with the error report left to the caller: `report` gets the platform's error number, on
// the calling thread. `helpers` threads list folders ahead of the scan once listings prove slow (`start`),
// which changes nothing but the time; with none, the calling thread lists one folder after another.
void ScanPictures(const std::wstring& folder, bool descend, unsigned helpers, std::vector<std::wstring>& list,
                  const std::function<void(uint32_t error)>& report, const HelperStart& start = {});

}  // namespace kpv
