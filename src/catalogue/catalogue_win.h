#pragma once
// The picture catalogue: the full paths of the pictures in the picture folder, in PictureList.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalogue/parallel_walk.h"

namespace kpv {

// Starts PictureList afresh as one empty entry and scans the picture folder (the stored Path and SubFolder).
// True when a picture was found; otherwise the user has been told that the folder holds none.
bool BuildPictureList(const std::wstring& path, int16_t subFolder);

// Adds the pictures of `folder` (ending in a backslash), and of all folders below it when subFolder is 1,
// to PictureList. A folder that cannot be opened or listed is reported in a message box and skipped.
void ScanFolder(const std::wstring& folder, int16_t subFolder);

// The scan itself, with the error report left to the caller: `report` gets the platform's error number, on
// the calling thread. `helpers` threads list folders ahead of the scan once listings prove slow (`start`),
// which changes nothing but the time; with none, the calling thread lists one folder after another.
void ScanPictures(const std::wstring& folder, bool descend, unsigned helpers, std::vector<std::wstring>& list,
                  const std::function<void(uint32_t error)>& report, const HelperStart& start = {});

}  // namespace kpv
