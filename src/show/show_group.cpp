#include "show/show_group.h"

namespace kpv {

int ShowGroup::Join() {
    const std::lock_guard<std::mutex> lock(mutex_);
    holdings_.emplace_back();
    return static_cast<int>(holdings_.size()) - 1;
}

std::vector<int64_t> ShowGroup::HeldByOthers(int show) const {
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<int64_t> held;
    for (size_t i = 0; i < holdings_.size(); ++i) {
        if (static_cast<int>(i) == show) continue;
        for (const int64_t index : {holdings_[i].onScreen, holdings_[i].prepared})
            if (index >= 0) held.push_back(index);
    }
    return held;
}

void ShowGroup::Prepared(int show, int64_t index) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (show >= 0 && static_cast<size_t>(show) < holdings_.size()) holdings_[static_cast<size_t>(show)].prepared = index;
}

void ShowGroup::Revealed(int show) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (show < 0 || static_cast<size_t>(show) >= holdings_.size()) return;
    Holding& h = holdings_[static_cast<size_t>(show)];
    if (h.prepared >= 0) h.onScreen = h.prepared;
    h.prepared = -1;
}

bool ShowGroup::MouseMoveEndsShow(const std::function<ScreenPoint()>& readCursor) {
    const std::lock_guard<std::mutex> lock(mutex_);
    return kpv::MouseMoveEndsShow(mouseReference_, readCursor);
}

}  // namespace kpv
