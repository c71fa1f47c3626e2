// The random descent that finds a first picture before the scan is complete, over fake folder trees.
#include "catalogue/random_descent.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "fake_folders.h"
#include "runtime/base/random.h"

namespace kpv {
namespace {

using testing::FakeEntry;
using testing::FakeFolder;

constexpr wchar_t kTop[] = L"C:\\P\\";
constexpr wchar_t kOpenTop[] = L"\\\\?\\C:\\P\\";

class FakeLister final : public FolderLister {
public:
    explicit FakeLister(const std::vector<FakeFolder>& nodes) : nodes_(nodes) {}
    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, FolderVisitor& visitor) override {
        ++listings;
        const std::wstring root = kOpenTop;
        const int node = openPath.compare(0, root.size(), root) == 0
                             ? testing::ResolveFakePath(nodes_, 0, openPath, root.size())
                             : -1;
        if (node < 0) return 3;
        return testing::ListFakeFolder(nodes_, node, identity, visitor, [] {});
    }
    int listings = 0;

private:
    const std::vector<FakeFolder>& nodes_;
};

// Adds a folder below `parent` and returns its node.
int AddFolder(std::vector<FakeFolder>& nodes, int parent, const std::wstring& name) {
    nodes.push_back({});
    const int node = static_cast<int>(nodes.size()) - 1;
    nodes[node].identity = {9, static_cast<uint64_t>(node + 1), 0};
    nodes[static_cast<size_t>(parent)].entries.push_back({name, node});
    return node;
}

std::optional<std::wstring> Descend(const std::vector<FakeFolder>& nodes, bool descend, uint64_t seed,
                                    const PictureRank& rank = [](const std::wstring&) { return 0; },
                                    int* listings = nullptr) {
    FakeLister lister(nodes);
    rt::ClockSeededRandom rng(seed);
    auto found = DescendToPicture(kTop, kOpenTop, descend, lister, rng, rank);
    if (listings) *listings = lister.listings;
    return found;
}

TEST(RandomDescent, EveryPictureOfTheTreeCanComeFirstAndSubFolderZeroStaysOnTop) {
    std::vector<FakeFolder> nodes(1);
    nodes[0].identity = {9, 1, 0};
    nodes[0].entries = {{L"a.jpg"}, {L"notes.txt"}};
    const int albums = AddFolder(nodes, 0, L"albums");
    nodes[static_cast<size_t>(albums)].entries.push_back({L"b.BMP"});
    const int deep = AddFolder(nodes, albums, L"2019");
    nodes[static_cast<size_t>(deep)].entries.push_back({L"c.jpeg"});
    const int other = AddFolder(nodes, 0, L"x.jpg");  // a folder, not a picture
    nodes[static_cast<size_t>(other)].entries.push_back({L"d.jpg"});

    std::set<std::wstring> found;
    for (uint64_t seed = 1; seed <= 400; ++seed)
        if (auto path = Descend(nodes, true, seed)) found.insert(*path);
    EXPECT_EQ(found, (std::set<std::wstring>{L"C:\\P\\a.jpg", L"C:\\P\\albums\\b.BMP", L"C:\\P\\albums\\2019\\c.jpeg",
                                             L"C:\\P\\x.jpg\\d.jpg"}));

    for (uint64_t seed = 1; seed <= 50; ++seed) {
        int listings = 0;
        EXPECT_EQ(Descend(nodes, false, seed, [](const std::wstring&) { return 0; }, &listings), L"C:\\P\\a.jpg");
        EXPECT_EQ(listings, 1);
    }
}

// Empty and unreadable folders send the descent elsewhere, never past its bound of listings; a tree of
// nothing but empty folders gives nothing.
TEST(RandomDescent, EmptyAndUnreadableFoldersAreLeftWithinTheBound) {
    std::vector<FakeFolder> nodes(1);
    nodes[0].identity = {9, 1, 0};
    for (int i = 0; i < 40; ++i) {
        const int empty = AddFolder(nodes, 0, L"e" + std::to_wstring(i));
        AddFolder(nodes, empty, L"inner");
    }
    const int locked = AddFolder(nodes, 0, L"locked");
    nodes[static_cast<size_t>(locked)].openError = 5;
    int found = 0;
    for (uint64_t seed = 1; seed <= 100; ++seed) {
        int listings = 0;
        found += Descend(nodes, true, seed, [](const std::wstring&) { return 0; }, &listings) ? 1 : 0;
        EXPECT_LE(listings, kDescentListings);
    }
    EXPECT_EQ(found, 0);

    const int kept = AddFolder(nodes, 0, L"kept");
    nodes[static_cast<size_t>(kept)].entries.push_back({L"p.jpg"});
    int hits = 0;
    for (uint64_t seed = 1; seed <= 100; ++seed) {
        int listings = 0;
        hits += Descend(nodes, true, seed, [](const std::wstring&) { return 0; }, &listings) == L"C:\\P\\kept\\p.jpg";
        EXPECT_LE(listings, kDescentListings);
    }
    EXPECT_GT(hits, 20) << "one picture among 41 dead ends is still found often within the bound";
}

TEST(RandomDescent, TheFirstPicturesOfManyStartsSpreadOverEveryTopFolder) {
    std::vector<FakeFolder> nodes(1);
    nodes[0].identity = {9, 1, 0};
    for (int t = 0; t < 20; ++t) {
        const int top = AddFolder(nodes, 0, L"t" + std::to_wstring(t));
        for (int a = 0; a < 50; ++a) {
            const int album = AddFolder(nodes, top, L"a" + std::to_wstring(a));
            for (int p = 0; p < 10; ++p) nodes[static_cast<size_t>(album)].entries.push_back({std::to_wstring(p) + L".jpg"});
        }
    }
    std::map<std::wstring, int> perTop;
    constexpr int kStarts = 2000;
    for (uint64_t seed = 1; seed <= kStarts; ++seed) {
        const auto path = Descend(nodes, true, seed);
        ASSERT_TRUE(path);
        ++perTop[path->substr(5, path->find(L'\\', 5) - 5)];
    }
    EXPECT_EQ(perTop.size(), 20u);
    for (const auto& [top, count] : perTop) EXPECT_LE(count, 3 * kStarts / 20) << top;
}

// The picture shown last, and those other monitors hold, come only when nothing else is found.
TEST(RandomDescent, ThePictureShownLastComesOnlyWhenNoOtherIsFound) {
    std::vector<FakeFolder> nodes(1);
    nodes[0].identity = {9, 1, 0};
    nodes[0].entries = {{L"last.jpg"}, {L"held.jpg"}, {L"new.jpg"}, {L"broken.jpg"}};
    const PictureRank rank = [](const std::wstring& path) {
        if (path.ends_with(L"broken.jpg")) return kNotWanted;
        return path.ends_with(L"last.jpg") ? 2 : path.ends_with(L"held.jpg") ? 1 : 0;
    };
    for (uint64_t seed = 1; seed <= 50; ++seed) EXPECT_EQ(Descend(nodes, false, seed, rank), L"C:\\P\\new.jpg");
    nodes[0].entries = {{L"last.jpg"}, {L"held.jpg"}, {L"broken.jpg"}};
    EXPECT_EQ(Descend(nodes, false, 7, rank), L"C:\\P\\held.jpg");
    nodes[0].entries = {{L"last.jpg"}, {L"broken.jpg"}};
    EXPECT_EQ(Descend(nodes, false, 7, rank), L"C:\\P\\last.jpg");
    nodes[0].entries = {{L"broken.jpg"}};
    EXPECT_EQ(Descend(nodes, false, 7, rank), std::nullopt);
}

}  // namespace
}  // namespace kpv
