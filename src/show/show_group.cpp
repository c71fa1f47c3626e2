#include "show/show_group.h"

#include <utility>

namespace kpv {

ShowGroup::ShowGroup(int shows) : shows_(static_cast<size_t>(shows > 0 ? shows : 1)) {}

ShowGroup::Show* ShowGroup::At(int show) {
    return show >= 0 && static_cast<size_t>(show) < shows_.size() ? &shows_[static_cast<size_t>(show)] : nullptr;
}

int ShowGroup::PrimaryLocked() const {
    for (size_t i = 0; i < shows_.size(); ++i)
        if (shows_[i].notify) return static_cast<int>(i);
    return -1;
}

void ShowGroup::Join(int show, Notify notify) {
    Notify tell;
    {
        const std::lock_guard lock(mutex_);
        Show* s = At(show);
        if (!s) return;
        s->notify = std::move(notify);
        // A show that comes up after the scan has finished is told at once.
        if (pictures_) tell = s->notify;
    }
    if (tell) tell(ShowSignal::PicturesReady);
}

void ShowGroup::Leave(int show) {
    const std::lock_guard lock(mutex_);
    if (Show* s = At(show)) s->notify = nullptr;
    changed_.notify_all();
}

void ShowGroup::SignalAll(ShowSignal signal) {
    std::vector<Notify> targets;
    {
        const std::lock_guard lock(mutex_);
        for (const Show& s : shows_)
            if (s.notify) targets.push_back(s.notify);
    }
    for (const Notify& notify : targets) notify(signal);
}

void ShowGroup::PublishPictures(std::vector<std::wstring> list) {
    {
        const std::lock_guard lock(mutex_);
        if (pictures_) return;
        pictures_ = std::make_shared<const std::vector<std::wstring>>(std::move(list));
    }
    SignalAll(ShowSignal::PicturesReady);
}

PictureListPtr ShowGroup::Pictures() const {
    const std::lock_guard lock(mutex_);
    return pictures_;
}

std::vector<int64_t> ShowGroup::HeldByOthers(int show) const {
    const std::lock_guard lock(mutex_);
    std::vector<int64_t> held;
    for (size_t i = 0; i < shows_.size(); ++i) {
        if (static_cast<int>(i) == show) continue;
        for (const int64_t index : {shows_[i].onScreen, shows_[i].prepared})
            if (index >= 0) held.push_back(index);
    }
    return held;
}

void ShowGroup::Prepared(int show, int64_t index) {
    const std::lock_guard lock(mutex_);
    if (Show* s = At(show)) s->prepared = index;
}

void ShowGroup::Revealed(int show) {
    const std::lock_guard lock(mutex_);
    Show* s = At(show);
    if (!s) return;
    if (s->prepared >= 0) s->onScreen = s->prepared;
    s->prepared = -1;
}

bool ShowGroup::AskPrimaryToShow(std::wstring text) {
    Notify tell;
    std::unique_lock lock(mutex_);
    // One message at a time: the one before is closed first.
    changed_.wait(lock, [&] { return end_ != RunEnd::None || (!message_ && !messageUp_); });
    const int primary = PrimaryLocked();
    if (end_ != RunEnd::None || primary < 0) return false;
    message_ = std::move(text);
    tell = shows_[static_cast<size_t>(primary)].notify;
    lock.unlock();
    tell(ShowSignal::ScanMessage);
    lock.lock();
    changed_.wait(lock, [&] {
        return end_ != RunEnd::None || (!message_ && !messageUp_) || (message_ && PrimaryLocked() < 0);
    });
    const bool shown = !message_ && !messageUp_;
    message_.reset();
    return shown && end_ == RunEnd::None;
}

std::optional<std::wstring> ShowGroup::TakeMessageToShow() {
    const std::lock_guard lock(mutex_);
    if (!message_) return std::nullopt;
    messageUp_ = true;
    return std::exchange(message_, std::nullopt);
}

void ShowGroup::MessageShown() {
    const std::lock_guard lock(mutex_);
    messageUp_ = false;
    changed_.notify_all();
}

bool ShowGroup::ClaimNoneLoadableMessage() {
    const std::lock_guard lock(mutex_);
    return !std::exchange(noneLoadableTold_, true);
}

bool ShowGroup::MouseMoveEndsShow(const std::function<ScreenPoint()>& readCursor) {
    const std::lock_guard lock(mutex_);
    return kpv::MouseMoveEndsShow(mouseReference_, readCursor);
}

void ShowGroup::ForgetMouseReference() {
    const std::lock_guard lock(mutex_);
    mouseReference_ = ScreenPoint{};
}

bool ShowGroup::End(RunEnd why) {
    const std::lock_guard lock(mutex_);
    if (end_ != RunEnd::None || why == RunEnd::None) return false;
    end_ = why;
    changed_.notify_all();
    return true;
}

RunEnd ShowGroup::Ended() const {
    const std::lock_guard lock(mutex_);
    return end_;
}

RunEnd ShowGroup::WaitForEnd() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return end_ != RunEnd::None; });
    return end_;
}

}  // namespace kpv
