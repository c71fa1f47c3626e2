// The parallel picture walk against the serial one, on generated folder graphs listed by several threads
// that finish in any order.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "catalogue/folder_walk.h"
#include "catalogue/parallel_walk.h"
#include "fake_folders.h"

namespace {

using kpv::FolderIdentity;

// Helpers from the first folder on, however quick the listings.
constexpr kpv::HelperStart kHelpAtOnce{std::chrono::microseconds(0), 0};

// The graph is built first, then only read, by any number of listers at once.
using Node = kpv::testing::FakeFolder;

class Graph {
public:
    explicit Graph(std::vector<Node> nodes) : nodes_(std::move(nodes)), listings_(nodes_.size()) {}

    // Counts, per node, the listings that went past Enter.
    std::vector<int> Listings() const {
        std::vector<int> counts;
        for (const auto& c : listings_) counts.push_back(c.load());
        return counts;
    }
    void ResetListings() {
        for (auto& c : listings_) c = 0;
    }

    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, kpv::FolderVisitor& visitor) {
        const int node = Resolve(openPath);
        if (node < 0) return 3;
        return kpv::testing::ListFakeFolder(nodes_, node, identity, visitor, [&] { ++listings_[node]; });
    }

    static constexpr const wchar_t* kOpenRoot = L"\\\\?\\C:\\P\\";

private:
    int Resolve(const std::wstring& path) const {
        const std::wstring root = kOpenRoot;
        if (path.compare(0, root.size(), root) != 0) return -1;
        return kpv::testing::ResolveFakePath(nodes_, 0, path, root.size());
    }

    const std::vector<Node> nodes_;
    std::vector<std::atomic<int>> listings_;
};

// One thread's lister: lists the shared graph, pausing at random so that folders finish out of order.
class ShuffledLister final : public kpv::FolderLister {
public:
    ShuffledLister(Graph& graph, unsigned seed, int maxPauseUs) : graph_(graph), random_(seed), maxPauseUs_(maxPauseUs) {}
    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, kpv::FolderVisitor& visitor) override {
        if (maxPauseUs_ > 0 && random_() % 2 == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(random_() % maxPauseUs_));
        return graph_.List(openPath, identity, visitor);
    }

private:
    Graph& graph_;
    std::mt19937 random_;
    const int maxPauseUs_;
};

struct WalkResult {
    std::vector<std::wstring> list{L""};
    std::vector<std::pair<uint32_t, size_t>> reports;  // error, and how many entries the list had then
    bool reportedElsewhere = false;                     // a report came on another thread than the caller's
};

WalkResult Serial(Graph& graph, bool descend) {
    WalkResult r;
    ShuffledLister lister(graph, 0, 0);
    kpv::WalkPictures(L"C:\\P\\", Graph::kOpenRoot, descend, lister, r.list,
                      [&](uint32_t e) { r.reports.emplace_back(e, r.list.size()); });
    return r;
}

WalkResult Parallel(Graph& graph, bool descend, size_t helpers, unsigned seed, int maxPauseUs) {
    WalkResult r;
    std::vector<std::unique_ptr<kpv::FolderLister>> listers;
    for (size_t i = 0; i <= helpers; ++i) listers.push_back(std::make_unique<ShuffledLister>(graph, seed + i, maxPauseUs));
    const std::thread::id caller = std::this_thread::get_id();
    kpv::WalkPicturesInParallel(
        L"C:\\P\\", Graph::kOpenRoot, descend, std::move(listers), r.list,
        [&](uint32_t e) {
            r.reports.emplace_back(e, r.list.size());
            if (std::this_thread::get_id() != caller) r.reportedElsewhere = true;
        },
        kHelpAtOnce);
    return r;
}

// Random shapes: a tree of plain subfolders, some without an identity, with pictures and other files, links
// and second names leading anywhere (loops among them), folders that cannot be opened or break midway.
std::vector<Node> GenerateGraph(std::mt19937& random) {
    const int count = 1 + static_cast<int>(random() % 40);
    std::vector<Node> nodes(count);
    std::vector<int> identified;
    for (int i = 0; i < count; ++i) {
        if (i == 0 || random() % 10 != 0) {
            nodes[i].identity = {9, static_cast<uint64_t>(1000 + i), 0};
            identified.push_back(i);
        }
        if (i > 0) nodes[random() % i].entries.push_back({L"d" + std::to_wstring(i), i, true});
        static const wchar_t* const kEndings[] = {L".jpg", L".BMP", L".txt", L".Jpeg", L".png"};
        for (int f = static_cast<int>(random() % 5); f > 0; --f)
            nodes[i].entries.push_back({L"f" + std::to_wstring(i) + L"_" + std::to_wstring(f) + kEndings[random() % 5]});
    }
    for (int l = static_cast<int>(random() % 5); l > 0; --l) {
        // Now and then a link to a folder without an identity: such loops end only by the links' names. A
        // second name that tells its target's identity (a bind mount) leads only to a folder that has one.
        const bool alias = random() % 3 == 0;
        const int target = !alias && random() % 4 == 0 ? static_cast<int>(random() % count)
                                                       : identified[random() % identified.size()];
        nodes[random() % count].entries.push_back({L"l" + std::to_wstring(l), target, alias});
    }
    for (Node& n : nodes) {
        std::shuffle(n.entries.begin(), n.entries.end(), random);
        const unsigned fault = random() % 20;
        if (fault == 0) n.openError = random() % 2 == 0 ? 5 : 32;
        if (fault == 1) {
            n.listError = 38;
            n.failAfter = random() % (n.entries.size() + 1);
        }
    }
    return nodes;
}

}  // namespace

TEST(ParallelPictureWalk, GivesTheSerialListReportsAndListingsOnGeneratedGraphs) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 400; ++round) {
        Graph graph(GenerateGraph(random));
        const bool descend = random() % 8 != 0;
        const WalkResult serial = Serial(graph, descend);
        const std::vector<int> serialListings = graph.Listings();
        graph.ResetListings();

        const size_t helpers = std::vector<size_t>{1, 2, 8}[round % 3];
        const WalkResult parallel = Parallel(graph, descend, helpers, random(), 300);
        ASSERT_EQ(parallel.list, serial.list) << "round " << round;
        ASSERT_EQ(parallel.reports, serial.reports) << "round " << round;
        EXPECT_FALSE(parallel.reportedElsewhere);
        // The same folders listed as often: an identified folder at most once, whoever listed it first.
        ASSERT_EQ(graph.Listings(), serialListings) << "round " << round;
    }
}

TEST(ParallelPictureWalk, ATwoThousandLevelTreeComesOutAsSerially) {
    constexpr int kDepth = 2000;
    std::vector<Node> nodes(1);
    int node = 0;
    for (int i = 0; i < kDepth; ++i) {
        // The sibling comes first in the listing but waits for the whole deep branch.
        const int deeper = static_cast<int>(nodes.size());
        nodes.resize(nodes.size() + 2);
        nodes[deeper].identity = {9, static_cast<uint64_t>(deeper + 1), 0};
        nodes[deeper + 1].identity = {9, static_cast<uint64_t>(deeper + 2), 0};
        nodes[deeper + 1].entries.push_back({L"s.jpg"});
        nodes[node].entries = {{L"s", deeper + 1}, {L"p.jpg"}, {L"d", deeper}};
        node = deeper;
    }
    nodes[0].identity = {9, 1, 0};
    Graph graph(std::move(nodes));
    const WalkResult serial = Serial(graph, true);
    const WalkResult parallel = Parallel(graph, true, 8, 7, 0);
    ASSERT_EQ(serial.list.size(), 2u * kDepth);
    EXPECT_EQ(parallel.list, serial.list);
    EXPECT_TRUE(parallel.reports.empty());
}

namespace {

// Holds the listing of one folder until released, counting the listings made meanwhile.
class HoldingLister final : public kpv::FolderLister {
public:
    HoldingLister(Graph& graph, std::atomic<int>& started, std::atomic<bool>& released)
        : graph_(graph), started_(started), released_(released) {}
    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, kpv::FolderVisitor& visitor) override {
        if (openPath != Graph::kOpenRoot) ++started_;
        if (openPath.ends_with(L"\\d0000\\"))
            while (!released_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return graph_.List(openPath, identity, visitor);
    }

private:
    Graph& graph_;
    std::atomic<int>& started_;
    std::atomic<bool>& released_;
};

}  // namespace

TEST(ParallelPictureWalk, HelpersListNoFurtherAheadThanTheBound) {
    constexpr int kFolders = 2000;
    std::vector<Node> nodes(kFolders + 1);
    for (int i = 0; i < kFolders; ++i) {
        wchar_t name[8];
        swprintf(name, 8, L"d%04d", i);
        nodes[0].entries.push_back({name, i + 1});
        nodes[i + 1].identity = {9, static_cast<uint64_t>(i + 2), 0};
        nodes[i + 1].entries.push_back({L"p.jpg"});
    }
    Graph graph(std::move(nodes));
    std::atomic<int> started = 0;
    std::atomic<bool> released = false;
    std::vector<std::unique_ptr<kpv::FolderLister>> listers;
    for (int i = 0; i < 5; ++i) listers.push_back(std::make_unique<HoldingLister>(graph, started, released));
    std::vector<std::wstring> list{L""};
    std::thread walk([&] {
        kpv::WalkPicturesInParallel(L"C:\\P\\", Graph::kOpenRoot, true, std::move(listers), list, [](uint32_t) {},
                                    kHelpAtOnce);
    });

    // While the walk waits for the first subfolder, the helpers fill the bound and stop there.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (started < static_cast<int>(kpv::kFoldersListedAhead) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const int listedWhileHeld = started;
    released = true;
    walk.join();
    EXPECT_GE(listedWhileHeld, static_cast<int>(kpv::kFoldersListedAhead));
    EXPECT_LE(listedWhileHeld, static_cast<int>(kpv::kFoldersListedAhead) + 1);
    ASSERT_EQ(list.size(), static_cast<size_t>(kFolders));
    EXPECT_EQ(list[0], L"C:\\P\\d0000\\p.jpg");
    EXPECT_EQ(list.back(), L"C:\\P\\d1999\\p.jpg");
}

namespace {

// Notes which threads listed, after an optional wait standing for a round trip.
class TimedLister final : public kpv::FolderLister {
public:
    TimedLister(Graph& graph, std::chrono::microseconds wait, std::atomic<int>& byOthers, std::thread::id caller)
        : graph_(graph), wait_(wait), byOthers_(byOthers), caller_(caller) {}
    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, kpv::FolderVisitor& visitor) override {
        std::this_thread::sleep_for(wait_);
        if (std::this_thread::get_id() != caller_) ++byOthers_;
        return graph_.List(openPath, identity, visitor);
    }

private:
    Graph& graph_;
    const std::chrono::microseconds wait_;
    std::atomic<int>& byOthers_;
    const std::thread::id caller_;
};

}  // namespace

TEST(ParallelPictureWalk, HelpersJoinOnlyOnceListingsProveSlow) {
    std::vector<Node> nodes(41);
    for (int i = 1; i <= 40; ++i) {
        nodes[0].entries.push_back({L"d" + std::to_wstring(i), i});
        nodes[i].identity = {9, static_cast<uint64_t>(i + 1), 0};
        nodes[i].entries.push_back({L"p.jpg"});
    }
    nodes[0].identity = {9, 1, 0};
    Graph graph(std::move(nodes));
    for (const auto wait : {std::chrono::microseconds(0), std::chrono::microseconds(3000)}) {
        std::atomic<int> byOthers = 0;
        std::vector<std::unique_ptr<kpv::FolderLister>> listers;
        for (int i = 0; i < 5; ++i)
            listers.push_back(std::make_unique<TimedLister>(graph, wait, byOthers, std::this_thread::get_id()));
        std::vector<std::wstring> list{L""};
        kpv::WalkPicturesInParallel(L"C:\\P\\", Graph::kOpenRoot, true, std::move(listers), list, [](uint32_t) {});
        EXPECT_EQ(list.size(), 40u);
        if (wait.count() == 0) EXPECT_EQ(byOthers, 0) << "quick listings stay on the calling thread";
        else EXPECT_GT(byOthers, 0) << "slow listings bring the helpers in";
    }
}

namespace {

// Helpers' listings that do not answer until released, as on a share that stopped answering; the calling
// thread's own listings answer at once. The gate is shared, so a helper left behind still has it.
struct Gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
    std::atomic<int> waiting{0}, returned{0};
};

class StuckHelperLister final : public kpv::FolderLister {
public:
    StuckHelperLister(Graph& graph, std::shared_ptr<Gate> gate) : graph_(graph), gate_(std::move(gate)) {}
    uint32_t List(const std::wstring& openPath, const FolderIdentity& identity, kpv::FolderVisitor& visitor) override {
        if (!gate_) {
            // The calling thread's round trip: long enough that the helpers take folders ahead of it.
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            return graph_.List(openPath, identity, visitor);
        }
        ++gate_->waiting;
        {
            std::unique_lock lock(gate_->mutex);
            gate_->opened.wait(lock, [&] { return gate_->open; });
        }
        const uint32_t result = graph_.List(openPath, identity, visitor);
        ++gate_->returned;
        return result;
    }

private:
    Graph& graph_;
    std::shared_ptr<Gate> gate_;
};

}  // namespace

TEST(ParallelPictureWalk, AStopEndsTheWalkWhileHelpersWaitInListingsThatDoNotAnswer) {
    std::vector<Node> nodes(301);
    for (int i = 1; i <= 300; ++i) {
        nodes[0].entries.push_back({L"d" + std::to_wstring(i), i});
        nodes[i].identity = {9, static_cast<uint64_t>(i + 1), 0};
        nodes[i].entries.push_back({L"p.jpg"});
    }
    nodes[0].identity = {9, 1, 0};
    Graph graph(std::move(nodes));
    const auto gate = std::make_shared<Gate>();
    std::vector<std::unique_ptr<kpv::FolderLister>> listers;
    listers.push_back(std::make_unique<StuckHelperLister>(graph, nullptr));
    for (int i = 0; i < 4; ++i) listers.push_back(std::make_unique<StuckHelperLister>(graph, gate));
    std::stop_source stop;
    std::vector<std::wstring> list{L""};
    std::atomic<bool> returned = false;
    std::thread walk([&] {
        kpv::WalkPicturesInParallel(L"C:\\P\\", Graph::kOpenRoot, true, std::move(listers), list, [](uint32_t) {},
                                    kHelpAtOnce, stop.get_token());
        returned = true;
    });
    const auto open = [&] {
        {
            const std::lock_guard lock(gate->mutex);
            gate->open = true;
        }
        gate->opened.notify_all();
    };
    // However the test ends, the walk is stopped, its helpers released and its thread joined.
    struct Ending {
        std::stop_source& stop;
        std::function<void()> open;
        std::thread& walk;
        ~Ending() {
            stop.request_stop();
            open();
            walk.join();
        }
    } ending{stop, open, walk};
    const auto waitFor = [](const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return done();
    };
    ASSERT_TRUE(waitFor([&] { return gate->waiting >= 1; })) << "a helper is inside a listing";
    stop.request_stop();
    ASSERT_TRUE(waitFor([&] { return returned.load(); })) << "the stop reaches the walk whatever its helpers do";
    EXPECT_LT(list.size(), 300u);
    EXPECT_EQ(gate->returned, 0) << "the helpers are still in their listings";
    // The helpers come back later, to a walk that still holds everything they use.
    const int stuck = gate->waiting;
    open();
    EXPECT_TRUE(waitFor([&] { return gate->returned == stuck; }));
}
