#include "catalogue/folder_walk.h"

#include <set>
#include <utility>

#include "catalogue/picture_name.h"

namespace kpv {

void AddPicture(std::vector<std::wstring>& list, std::wstring path) {
    if (list.empty() || !list.back().empty()) list.emplace_back();
    list.back() = std::move(path);
}

namespace {

struct PendingFolder {
    std::wstring folder;      // as the list entries show it
    std::wstring openFolder;  // as the lister opens it
    FolderIdentity identity;  // from the parent's listing; unknown for the top folder and for links
};

struct FoundSubfolder {
    std::wstring name;
    FolderIdentity identity;
};

class WalkVisitor final : public FolderVisitor {
public:
    WalkVisitor(std::vector<std::wstring>& list, bool descend) : list_(list), descend_(descend) {}

    void Begin(const std::wstring& folder) {
        folder_ = &folder;
        subfolders_.clear();
    }
    const std::vector<FoundSubfolder>& Subfolders() const { return subfolders_; }

    bool Seen(const FolderIdentity& identity) const { return identity.Known() && seen_.contains(identity); }

    bool Enter(const FolderIdentity& identity) override {
        if (!identity.Known()) return true;
        return seen_.insert(identity).second;
    }
    void File(std::wstring_view name) override {
        if (IsPictureName(name)) AddPicture(list_, *folder_ + std::wstring(name));
    }
    void Subfolder(std::wstring_view name, const FolderIdentity& identity) override {
        if (descend_) subfolders_.push_back({std::wstring(name), identity});
    }

private:
    std::vector<std::wstring>& list_;
    const bool descend_;
    const std::wstring* folder_ = nullptr;
    std::vector<FoundSubfolder> subfolders_;
    std::set<FolderIdentity> seen_;
};

}  // namespace

void WalkPictures(const std::wstring& folder, const std::wstring& openFolder, bool descend, FolderLister& lister,
                  std::vector<std::wstring>& list, const std::function<void(uint32_t error)>& report) {
    WalkVisitor visitor(list, descend);
    // Folders still to list, the next one on top: pushing a folder's subfolders in reverse keeps the
    // listed order and finishes each subfolder's whole tree before its next sibling.
    std::vector<PendingFolder> pending;
    pending.push_back({folder, openFolder, {}});
    while (!pending.empty()) {
        const PendingFolder current = std::move(pending.back());
        pending.pop_back();
        if (visitor.Seen(current.identity)) continue;
        visitor.Begin(current.folder);
        if (const uint32_t error = lister.List(current.openFolder, current.identity, visitor); error != 0) {
            report(error);
            continue;
        }
        const std::vector<FoundSubfolder>& subfolders = visitor.Subfolders();
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back({current.folder + it->name + L'\\', current.openFolder + it->name + L'\\', it->identity});
    }
}

}  // namespace kpv
