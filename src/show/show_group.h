#pragma once
// The shows of one run, one on each monitor, and all that they share: which pictures they hold, so that
// each monitor shows its own; one preparation at a time, so that memory holds one decoded picture however
// many monitors there are; one mouse reference; and one end for all. Everything else of a show is its own.
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "show/mouse_rule.h"

namespace kpv {

class ShowGroup {
public:
    // A new show's number in the group.
    int Join();

    // The entries that the other shows hold: the picture on their screen and the one they prepared.
    std::vector<int64_t> HeldByOthers(int show) const;
    // The show prepared this entry for its next reveal.
    void Prepared(int show, int64_t index);
    // The show revealed what it prepared: that is now the picture on its screen.
    void Revealed(int show);

    // Preparations run one at a time: a show tries until it may begin, and ends when it is done.
    bool TryBeginPreparation() { return preparing_.try_lock(); }
    void EndPreparation() { preparing_.unlock(); }

    // The mouse rule with one reference for every show: the first movement anywhere takes it.
    bool MouseMoveEndsShow(const std::function<ScreenPoint()>& readCursor);

    // True for the first show that asks, which then ends the program for all; false for every later one.
    bool ClaimEnd() { return !ending_.exchange(true); }

private:
    struct Holding {
        int64_t onScreen = -1;
        int64_t prepared = -1;
    };

    mutable std::mutex mutex_;
    std::vector<Holding> holdings_;
    ScreenPoint mouseReference_;
    std::mutex preparing_;
    std::atomic<bool> ending_{false};
};

}  // namespace kpv
