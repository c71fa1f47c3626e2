#include "catalogue/parallel_walk.h"

#include <bit>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#include "catalogue/picture_name.h"

namespace kpv {

namespace {

enum class ListingState { Waiting, Listing, Listed, Dropped };

// A folder met in a listing, or the top folder; the walk owns them as a tree. The thread that lists a node
// fills in what follows `identity` and hands it over under the walk's lock; once the node is Listed, only
// the calling thread changes it.
struct FolderNode {
    FolderNode(std::wstring listedName, std::wstring pathToOpen, const FolderIdentity& listedIdentity, bool listedLink,
               LinkTrail parentTrail)
        : name(std::move(listedName)), openPath(std::move(pathToOpen)), identity(listedIdentity), link(listedLink),
          trail(std::move(parentTrail)) {}

    const std::wstring name;        // as its parent lists it; empty for the top folder
    std::wstring openPath;          // dropped once listed: the subfolders carry their own
    const FolderIdentity identity;  // what the parent's listing told of it
    const bool link;                // the parent lists a link by that name
    const LinkTrail trail;          // of the parent's path
    ListingState state = ListingState::Waiting;
    bool listedAhead = false;  // taken by a helper before the walk reached it
    bool opened = false;
    bool repeated = false;  // claimed before under another path, so not listed here
    FolderIdentity self;
    uint32_t error = 0;
    std::vector<std::wstring> pictures;  // names, in listed order
    std::vector<std::unique_ptr<FolderNode>> subfolders;
    std::exception_ptr failure;
};

constexpr size_t kNoFrame = static_cast<size_t>(-1);

// Idle helpers end at once; only one still inside a listing that does not answer takes longer.
constexpr std::chrono::milliseconds kHelpersEndLimit{200};

// Thrown on the calling thread once the walk is cancelled; the walk ends with what it has.
struct WalkCancelled {};

// Shared by the calling thread and the helpers: a helper holds it, so whatever a helper still touches after
// the walk has returned (a listing that never answered) lives on with it, and nobody waits for it.
class ParallelWalk : public std::enable_shared_from_this<ParallelWalk> {
public:
    ParallelWalk(bool descend, std::vector<std::unique_ptr<FolderLister>> listers, std::vector<std::wstring>& list,
                 const std::function<void(uint32_t error)>& report, const HelperStart& start)
        : descend_(descend), listers_(std::move(listers)), list_(list), report_(report), start_(start) {}
    ParallelWalk(const ParallelWalk&) = delete;
    ParallelWalk& operator=(const ParallelWalk&) = delete;

    void Run(const std::wstring& folder, const std::wstring& openFolder);
    // From any thread: the walk and its helpers stop at their next step; their listings are the listers'
    // to cancel.
    void Cancel();
    // The helpers are told to stop, and given until `deadline` to end; one that has not (a listing that
    // never answers) is left behind with its share of the walk.
    void Finish(std::chrono::steady_clock::time_point deadline);

private:
    // A folder whose subfolders the walk is going through, the innermost on top.
    struct Frame {
        FolderNode* listing;  // the node reached; its parent's frame keeps it alive until this one is done
        size_t pathLength;    // of path_ for this folder
        size_t next;          // the next subfolder to walk
        size_t lower;         // the nearest frame below with subfolders still to walk, or kNoFrame
    };
    struct ClaimedFolder {
        FolderNode* listing;  // the one node that lists this folder; read only until the walk reaches it
        bool walked;          // the walk has reached it: every other path to it is skipped
    };
    struct ScanPosition {
        const std::vector<std::unique_ptr<FolderNode>>* nodes;
        size_t next;
    };

    // Collects one listing privately; only the claim on the folder's identity is shared.
    class NodeVisitor final : public FolderVisitor {
    public:
        NodeVisitor(ParallelWalk& walk, FolderNode& node) : walk_(walk), node_(node) {}
        bool Enter(const FolderIdentity& identity) override {
            opened = true;
            self = identity;
            if (!FollowLink(node_.trail, node_.name, node_.link, identity, passedOn)) return false;
            repeated = !walk_.Claim(identity, node_);
            return !repeated;
        }
        void File(std::wstring_view name) override {
            if (IsPictureName(name)) pictures.emplace_back(name);
        }
        void Subfolder(std::wstring_view name, const FolderIdentity& identity, bool link) override {
            if (!walk_.descend_) return;
            std::wstring open = node_.openPath;
            open.append(name).push_back(L'\\');
            subfolders.push_back(std::make_unique<FolderNode>(std::wstring(name), std::move(open), identity, link, passedOn));
        }

        bool opened = false;
        bool repeated = false;
        FolderIdentity self;
        LinkTrail passedOn;
        std::vector<std::wstring> pictures;
        std::vector<std::unique_ptr<FolderNode>> subfolders;

    private:
        ParallelWalk& walk_;
        FolderNode& node_;
    };

    bool Claim(const FolderIdentity& identity, FolderNode& node);
    void List(FolderLister& lister, FolderNode& node);
    void Visit(FolderNode& node);
    void AwaitListed(const FolderNode& node, std::unique_lock<std::mutex>& lock);
    bool Walked(const FolderIdentity& identity) const;
    void PushFrame(FolderNode& listing);
    FolderNode* NextToListAhead();
    void NoteOwnListing(std::chrono::steady_clock::duration took);
    void StartHelpers();
    void Help(FolderLister& lister);
    void WakeHelper() {
        if (idle_ > 0) helpersWake_.notify_one();
    }

    const bool descend_;
    std::vector<std::unique_ptr<FolderLister>> listers_;
    std::vector<std::wstring>& list_;
    const std::function<void(uint32_t error)>& report_;
    const HelperStart start_;
    // The calling thread's alone:
    std::wstring path_;     // the folder the walk has reached, as entries show it
    unsigned recent_ = 0;   // its last eight listings, one bit each, set for a slow one
    bool helpersWanted_ = false;
    bool helpersStarted_ = false;
    std::unique_ptr<FolderNode> top_;

    std::mutex mutex_;  // guards everything below, and every node shared between threads
    std::condition_variable helpersWake_;
    std::condition_variable walkWake_;
    std::vector<Frame> frames_;
    std::map<FolderIdentity, ClaimedFolder> claims_;
    std::vector<ScanPosition> scan_;
    const FolderNode* awaited_ = nullptr;  // what the walk waits for
    size_t ahead_ = 0;                     // nodes taken by helpers that the walk has not reached
    size_t idle_ = 0;                      // helpers waiting for work
    bool stop_ = false;
    bool cancelled_ = false;
    size_t running_ = 0;  // helpers whose threads have not ended
    std::condition_variable helpersDone_;
};

bool ParallelWalk::Claim(const FolderIdentity& identity, FolderNode& node) {
    if (!identity.Known()) return true;
    const std::lock_guard lock(mutex_);
    return claims_.try_emplace(identity, ClaimedFolder{&node, false}).second;
}

// Lists a node on this thread, without the lock, and hands the result over under it.
void ParallelWalk::List(FolderLister& lister, FolderNode& node) {
    NodeVisitor visitor(*this, node);
    uint32_t error = 0;
    std::exception_ptr failure;
    try {
        error = lister.List(node.openPath, node.identity, visitor);
    } catch (...) {
        failure = std::current_exception();
    }
    // A folder that fails is abandoned where it failed: its subfolders are not walked.
    if (error != 0 || failure) visitor.subfolders.clear();
    std::wstring().swap(node.openPath);

    const std::lock_guard lock(mutex_);
    node.opened = visitor.opened;
    node.repeated = visitor.repeated;
    node.self = visitor.self;
    node.error = error;
    node.failure = failure;
    node.pictures = std::move(visitor.pictures);
    node.subfolders = std::move(visitor.subfolders);
    node.state = ListingState::Listed;
    if (awaited_ == &node) walkWake_.notify_one();
    if (!node.subfolders.empty()) WakeHelper();
}

void ParallelWalk::AwaitListed(const FolderNode& node, std::unique_lock<std::mutex>& lock) {
    while (node.state == ListingState::Listing && !cancelled_) {
        awaited_ = &node;
        walkWake_.wait(lock);
    }
    awaited_ = nullptr;
    if (cancelled_) throw WalkCancelled{};
}

bool ParallelWalk::Walked(const FolderIdentity& identity) const {
    if (!identity.Known()) return false;
    const auto it = claims_.find(identity);
    return it != claims_.end() && it->second.walked;
}

// The walk's step for one folder, on the calling thread: what WalkPictures does when it pops a folder.
void ParallelWalk::Visit(FolderNode& node) {
    std::unique_lock lock(mutex_);
    if (node.listedAhead && ahead_-- == kFoldersListedAhead) WakeHelper();
    if (Walked(node.identity)) {
        if (node.state == ListingState::Waiting) node.state = ListingState::Dropped;
        AwaitListed(node, lock);  // a helper may still be opening it; it is freed only once done
        return;
    }
    if (node.state == ListingState::Waiting) {
        node.state = ListingState::Listing;
        lock.unlock();
        const auto started = std::chrono::steady_clock::now();
        List(*listers_.front(), node);
        NoteOwnListing(std::chrono::steady_clock::now() - started);
        lock.lock();
    }
    AwaitListed(node, lock);
    if (node.failure) std::rethrow_exception(node.failure);
    if (!node.opened) {
        lock.unlock();
        report_(node.error);
        return;
    }
    // Reached before under another path: this one only led there, as a link does.
    if (Walked(node.self)) return;
    if (node.repeated) {
        // Listed under a path the walk reaches later: the listing belongs here, where it is reached first.
        // It moves over, so that a frame only ever walks its own node, which lives until the frame is done.
        FolderNode& claimant = *claims_.at(node.self).listing;
        AwaitListed(claimant, lock);
        if (claimant.failure) std::rethrow_exception(claimant.failure);
        node.error = claimant.error;
        node.pictures = std::move(claimant.pictures);
        node.subfolders = std::move(claimant.subfolders);
    }
    if (node.self.Known()) claims_.at(node.self).walked = true;
    lock.unlock();

    // Once listed, only this thread touches a node's pictures, and only it changes its subfolders.
    for (const std::wstring& name : node.pictures) AddPicture(list_, path_ + name);
    std::vector<std::wstring>().swap(node.pictures);
    if (node.error != 0) {
        report_(node.error);
        return;
    }
    if (node.subfolders.empty()) return;
    lock.lock();
    PushFrame(node);
    WakeHelper();
}

void ParallelWalk::PushFrame(FolderNode& listing) {
    size_t lower = kNoFrame;
    if (!frames_.empty()) {
        const Frame& top = frames_.back();
        lower = top.next < top.listing->subfolders.size() ? frames_.size() - 1 : top.lower;
    }
    frames_.push_back({&listing, path_.size(), 0, lower});
}

// The first folder in the walk's order that nobody lists yet, unless the helpers are far enough ahead.
FolderNode* ParallelWalk::NextToListAhead() {
    if (ahead_ >= kFoldersListedAhead || frames_.empty()) return nullptr;
    size_t budget = 2 * kFoldersListedAhead;
    for (size_t i = frames_.size() - 1; i != kNoFrame; i = frames_[i].lower) {
        scan_.assign(1, {&frames_[i].listing->subfolders, frames_[i].next});
        while (!scan_.empty()) {
            ScanPosition& at = scan_.back();
            if (at.next == at.nodes->size()) {
                scan_.pop_back();
                continue;
            }
            FolderNode* node = (*at.nodes)[at.next++].get();
            if (node == nullptr) continue;
            // A folder its parent already names as claimed is left to the walk, which may skip it unopened.
            if (node->state == ListingState::Waiting && !(node->identity.Known() && claims_.contains(node->identity)))
                return node;
            if (--budget == 0) return nullptr;
            if (node->state == ListingState::Listed && !node->subfolders.empty())
                scan_.push_back({&node->subfolders, 0});
        }
    }
    return nullptr;
}

void ParallelWalk::Help(FolderLister& lister) {
    std::unique_lock lock(mutex_, std::defer_lock);
    try {
        lock.lock();
        while (!stop_) {
            FolderNode* node = NextToListAhead();
            if (node == nullptr) {
                ++idle_;
                helpersWake_.wait(lock);
                --idle_;
                continue;
            }
            node->state = ListingState::Listing;
            node->listedAhead = true;
            if (++ahead_ < kFoldersListedAhead) WakeHelper();
            lock.unlock();
            List(lister, *node);
            lock.lock();
        }
    } catch (...) {
        // Nothing is taken when this happens; the walk goes on with the others, or lists alone.
    }
    if (!lock.owns_lock()) lock.lock();
    --running_;
    helpersDone_.notify_all();
}

void ParallelWalk::NoteOwnListing(std::chrono::steady_clock::duration took) {
    if (helpersStarted_) return;
    recent_ = ((recent_ << 1) | (took >= start_.slowListing ? 1u : 0u)) & 0xFFu;
    if (std::popcount(recent_) >= static_cast<int>(start_.slowListings)) helpersWanted_ = true;
}

// Called with the lock held. Each helper holds the walk; none is ever joined.
void ParallelWalk::StartHelpers() {
    try {
        for (size_t i = 1; i < listers_.size(); ++i) {
            std::thread([walk = shared_from_this(), &lister = *listers_[i]] { walk->Help(lister); }).detach();
            ++running_;
        }
    } catch (const std::exception&) {
        // Fewer helpers only make the walk slower: it lists whatever nobody has listed when it gets there.
    }
}

void ParallelWalk::Cancel() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = stop_ = true;
    }
    helpersWake_.notify_all();
    walkWake_.notify_all();
}

void ParallelWalk::Finish(std::chrono::steady_clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    stop_ = true;
    helpersWake_.notify_all();
    helpersDone_.wait_until(lock, deadline, [&] { return running_ == 0; });
}

void ParallelWalk::Run(const std::wstring& folder, const std::wstring& openFolder) {
    top_ = std::make_unique<FolderNode>(std::wstring(), openFolder, FolderIdentity{}, false, nullptr);
    path_ = folder;
    helpersWanted_ = start_.slowListings == 0;
    Visit(*top_);
    std::unique_lock lock(mutex_);
    while (!frames_.empty()) {
        if (cancelled_) throw WalkCancelled{};
        if (helpersWanted_ && !helpersStarted_) {
            helpersStarted_ = true;
            StartHelpers();
        }
        Frame& frame = frames_.back();
        std::vector<std::unique_ptr<FolderNode>>& subfolders = frame.listing->subfolders;
        // The subfolder before `next` has been walked with everything below it.
        if (frame.next > 0) subfolders[frame.next - 1].reset();
        if (frame.next == subfolders.size()) {
            std::vector<std::unique_ptr<FolderNode>>().swap(subfolders);
            frames_.pop_back();
            continue;
        }
        FolderNode& node = *subfolders[frame.next++];
        path_.resize(frame.pathLength);
        path_.append(node.name).push_back(L'\\');
        lock.unlock();
        Visit(node);
        lock.lock();
    }
}

}  // namespace

void WalkPicturesInParallel(const std::wstring& folder, const std::wstring& openFolder, bool descend,
                            std::vector<std::unique_ptr<FolderLister>> listers, std::vector<std::wstring>& list,
                            const std::function<void(uint32_t error)>& report, const HelperStart& start,
                            std::stop_token stop) {
    if (listers.empty()) throw std::invalid_argument("WalkPicturesInParallel needs a lister for the calling thread");
    const auto walk = std::make_shared<ParallelWalk>(descend, std::move(listers), list, report, start);
    const std::stop_callback onStop(stop, [walk] { walk->Cancel(); });
    // However the walk ends (done, cancelled, or a report that threw), its helpers are told to stop.
    struct Finisher {
        ParallelWalk& walk;
        ~Finisher() { walk.Finish(std::chrono::steady_clock::now() + kHelpersEndLimit); }
    } finisher{*walk};
    try {
        walk->Run(folder, openFolder);
    } catch (const WalkCancelled&) {
        // The run that asked for the list has ended: what was found is of no use to anyone.
    }
}

}  // namespace kpv
