#include "catalogue/random_descent.h"

#include <set>
#include <utility>
#include <vector>

#include "catalogue/picture_name.h"

namespace kpv {

namespace {

struct Level {
    std::wstring folder;
    std::wstring openFolder;
    std::vector<std::wstring> pictures{};
    std::vector<std::wstring> subfolders{};  // not tried yet
    bool picturesTried = false;
};

class LevelVisitor final : public FolderVisitor {
public:
    LevelVisitor(Level& level, bool descend, std::set<FolderIdentity>& seen)
        : level_(level), descend_(descend), seen_(seen) {}
    bool Enter(const FolderIdentity& identity) override { return !identity.Known() || seen_.insert(identity).second; }
    void File(std::wstring_view name) override {
        if (IsPictureName(name)) level_.pictures.emplace_back(name);
    }
    void Subfolder(std::wstring_view name, const FolderIdentity&, bool) override {
        if (descend_) level_.subfolders.emplace_back(name);
    }

private:
    Level& level_;
    const bool descend_;
    std::set<FolderIdentity>& seen_;
};

}  // namespace

std::optional<std::wstring> DescendToPicture(const std::wstring& folder, const std::wstring& openFolder, bool descend,
                                             FolderLister& lister, rt::RandomSource& rng, const PictureRank& rank,
                                             std::stop_token stop, int maxListings) {
    std::set<FolderIdentity> seen;  // a folder reached again through a link is a dead end
    std::vector<Level> path;
    int listings = 0;
    std::optional<std::wstring> fallback;  // the best picture found that is not wanted most
    int fallbackRank = kNotWanted;

    // Lists a folder onto the path; false when it cannot be listed (or was listed before), a dead end.
    const auto enter = [&](std::wstring entryFolder, std::wstring listFolder) {
        if (listings >= maxListings || stop.stop_requested()) return false;
        ++listings;
        Level level{std::move(entryFolder), std::move(listFolder)};
        LevelVisitor visitor(level, descend, seen);
        if (lister.List(level.openFolder, FolderIdentity{}, visitor) != 0) return false;
        path.push_back(std::move(level));
        return true;
    };

    if (!enter(folder, openFolder)) return fallback;
    while (!path.empty() && !stop.stop_requested()) {
        Level& here = path.back();
        const bool picturesLeft = !here.picturesTried && !here.pictures.empty();
        const auto options = static_cast<int64_t>(here.subfolders.size()) + (picturesLeft ? 1 : 0);
        if (options == 0) {
            path.pop_back();  // nothing more here: back up and choose again
            continue;
        }
        const auto choice = static_cast<size_t>(rt::DrawIndex(rng.Next(), options));
        if (choice < here.subfolders.size()) {
            std::wstring name = std::move(here.subfolders[choice]);
            here.subfolders[choice] = std::move(here.subfolders.back());
            here.subfolders.pop_back();
            if (listings >= maxListings) break;
            enter(here.folder + name + L'\\', here.openFolder + name + L'\\');
            continue;
        }
        // This folder's pictures: one at random among those wanted most.
        here.picturesTried = true;
        std::vector<std::wstring*> best;
        int bestRank = kNotWanted;
        for (std::wstring& name : here.pictures) {
            const int r = rank(here.folder + name);
            if (r < bestRank) {
                bestRank = r;
                best.clear();
            }
            if (r == bestRank && r < kNotWanted) best.push_back(&name);
        }
        if (best.empty()) continue;
        std::wstring chosen = here.folder + *best[static_cast<size_t>(rt::DrawIndex(rng.Next(), static_cast<int64_t>(best.size())))];
        if (bestRank == 0) return chosen;
        if (bestRank < fallbackRank) {
            fallbackRank = bestRank;
            fallback = std::move(chosen);
        }
    }
    return fallback;
}

}  // namespace kpv
