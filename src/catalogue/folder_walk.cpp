#include "catalogue/folder_walk.h"

#include <algorithm>
#include <set>
#include <utility>

#include "catalogue/picture_name.h"

namespace kpv {

FolderIdentity IdentityFromFileId(uint64_t volume, uint64_t fileIdLow, uint64_t fileIdHigh) {
    constexpr uint64_t kAllOnes = ~uint64_t{0};
    const bool unknown = (fileIdLow == 0 && fileIdHigh == 0) || (fileIdLow == kAllOnes && (fileIdHigh == 0 || fileIdHigh == kAllOnes));
    if (unknown) return {};
    return {volume, fileIdLow, fileIdHigh};
}

bool FollowLink(const LinkTrail& trail, std::wstring_view name, bool link, const FolderIdentity& self,
                LinkTrail& passedOn) {
    passedOn = trail;
    if (!link || self.Known()) return true;
    if (trail && std::find(trail->begin(), trail->end(), name) != trail->end()) return false;
    auto grown = std::make_shared<std::vector<std::wstring>>(trail ? *trail : std::vector<std::wstring>{});
    grown->emplace_back(name);
    passedOn = std::move(grown);
    return true;
}

void AddPicture(std::vector<std::wstring>& list, std::wstring path) {
    if (list.empty() || !list.back().empty()) list.emplace_back();
    list.back() = std::move(path);
}

namespace {

struct PendingFolder {
    std::wstring folder;      // as the list entries show it
    std::wstring openFolder;  // as the lister opens it
    FolderIdentity identity;  // from the parent's listing; unknown for the top folder and for links
    std::wstring name;        // as the parent lists it
    bool link = false;        // the parent lists a link by that name
    LinkTrail trail;          // of the parent's path
};

struct FoundSubfolder {
    std::wstring name;
    FolderIdentity identity;
    bool link;
};

class WalkVisitor final : public FolderVisitor {
public:
    WalkVisitor(std::vector<std::wstring>& list, bool descend) : list_(list), descend_(descend) {}

    void Begin(const PendingFolder& folder) {
        folder_ = &folder;
        subfolders_.clear();
        passedOn_.reset();
    }
    const std::vector<FoundSubfolder>& Subfolders() const { return subfolders_; }
    const LinkTrail& PassedOn() const { return passedOn_; }

    bool Seen(const FolderIdentity& identity) const { return identity.Known() && seen_.contains(identity); }

    bool Enter(const FolderIdentity& identity) override {
        if (!FollowLink(folder_->trail, folder_->name, folder_->link, identity, passedOn_)) return false;
        if (!identity.Known()) return true;
        return seen_.insert(identity).second;
    }
    void File(std::wstring_view name) override {
        if (IsPictureName(name)) AddPicture(list_, folder_->folder + std::wstring(name));
    }
    void Subfolder(std::wstring_view name, const FolderIdentity& identity, bool link) override {
        if (descend_) subfolders_.push_back({std::wstring(name), identity, link});
    }

private:
    std::vector<std::wstring>& list_;
    const bool descend_;
    const PendingFolder* folder_ = nullptr;
    std::vector<FoundSubfolder> subfolders_;
    LinkTrail passedOn_;
    std::set<FolderIdentity> seen_;
};

}  // namespace

void WalkPictures(const std::wstring& folder, const std::wstring& openFolder, bool descend, FolderLister& lister,
                  std::vector<std::wstring>& list, const std::function<void(uint32_t error)>& report,
                  std::stop_token stop) {
    WalkVisitor visitor(list, descend);
    // Folders still to list, the next one on top: pushing a folder's subfolders in reverse keeps the
    // listed order and finishes each subfolder's whole tree before its next sibling.
    std::vector<PendingFolder> pending;
    pending.push_back({folder, openFolder, {}, {}, false, nullptr});
    while (!pending.empty() && !stop.stop_requested()) {
        const PendingFolder current = std::move(pending.back());
        pending.pop_back();
        if (visitor.Seen(current.identity)) continue;
        visitor.Begin(current);
        if (const uint32_t error = lister.List(current.openFolder, current.identity, visitor); error != 0) {
            if (stop.stop_requested()) return;  // a listing cut short by the cancel is nobody's error
            report(error);
            continue;
        }
        const std::vector<FoundSubfolder>& subfolders = visitor.Subfolders();
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            pending.push_back({current.folder + it->name + L'\\', current.openFolder + it->name + L'\\', it->identity,
                               it->name, it->link, visitor.PassedOn()});
    }
}

}  // namespace kpv
