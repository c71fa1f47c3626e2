#pragma once
// Lists one folder through a directory handle: names, folder or file, and the folder's own identity.
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/folder_walk.h"
#include "runtime/base/io_cancel_win.h"

namespace kpv {

// One open per folder. The listing gives each entry's file ID with its name, so a plain subfolder's identity
// (its parent's volume and that ID) comes free; only the top folder and links, junctions and mount points,
// whose entries describe the link, are asked for theirs through their own handle once opened.
// With a cancel, each listing may be cut short from another thread; once cancelled, it lists nothing.
class DirectoryHandleLister final : public FolderLister {
public:
    explicit DirectoryHandleLister(rt::IoCancel* cancel = nullptr) : cancel_(cancel) {}
    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, FolderVisitor& visitor) override;

private:
    rt::IoCancel* cancel_;
    std::vector<uint64_t> buffer_ = std::vector<uint64_t>(64 * 1024 / sizeof(uint64_t));
};

}  // namespace kpv
