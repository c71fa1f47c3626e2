#pragma once
// Lists one folder through a directory handle: names, folder or file, and the folder's own identity.
#include <cstdint>
#include <string>
#include <vector>

#include "startup/folder_walk.h"

namespace kpv {

// One open per folder: the handle that lists the entries also tells the folder's volume and file ID,
// which is what lets the walk recognise a folder reached again through a link or junction.
class DirectoryHandleLister final : public FolderLister {
public:
    uint32_t List(const std::wstring& openPath, FolderVisitor& visitor) override;

private:
    std::vector<uint64_t> buffer_ = std::vector<uint64_t>(64 * 1024 / sizeof(uint64_t));
};

}  // namespace kpv
