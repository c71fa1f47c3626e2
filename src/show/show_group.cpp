#include "show/show_group.h"

#include <algorithm>
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

// The primary show hears of a waiting message when no box is up.
void ShowGroup::TellPrimaryLocked(std::vector<Notify>& tell) {
    const int primary = PrimaryLocked();
    if (primary >= 0 && !messageUp_ && !messages_.empty()) tell.push_back(shows_[static_cast<size_t>(primary)].notify);
}

ShowSignal ShowGroup::CloseFor(RunEnd why) { return why == RunEnd::Input ? ShowSignal::Close : ShowSignal::CloseSilently; }

void ShowGroup::OnEnd(std::function<void(RunEnd)> hook) {
    const std::lock_guard lock(mutex_);
    endHooks_.push_back(std::move(hook));
}

void ShowGroup::Join(int show, Notify notify) {
    std::vector<std::pair<Notify, ShowSignal>> tell;
    {
        const std::lock_guard lock(mutex_);
        Show* s = At(show);
        if (!s || !notify) return;
        s->notify = std::move(notify);
        if (end_ != RunEnd::None) {
            tell.emplace_back(s->notify, CloseFor(end_));
        } else {
            if (pictures_) tell.emplace_back(s->notify, ShowSignal::PicturesReady);
            if (messageUp_) tell.emplace_back(s->notify, ShowSignal::MessageUp);
            std::vector<Notify> primary;
            TellPrimaryLocked(primary);
            for (Notify& n : primary) tell.emplace_back(std::move(n), ShowSignal::MessageWaiting);
        }
    }
    for (const auto& [notify_, signal] : tell) notify_(signal);
}

void ShowGroup::Leave(int show) {
    std::vector<Notify> tell;
    {
        const std::lock_guard lock(mutex_);
        if (Show* s = At(show)) s->notify = nullptr;
        if (end_ == RunEnd::None) TellPrimaryLocked(tell);
        changed_.notify_all();
    }
    for (const Notify& notify : tell) notify(ShowSignal::MessageWaiting);
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
        if (pictures_ || end_ != RunEnd::None) return;
        pictures_ = std::make_shared<const std::vector<std::wstring>>(std::move(list));
    }
    SignalAll(ShowSignal::PicturesReady);
}

PictureListPtr ShowGroup::Pictures() const {
    const std::lock_guard lock(mutex_);
    return pictures_;
}

std::vector<std::wstring> ShowGroup::HeldByOthers(int show) const {
    const std::lock_guard lock(mutex_);
    std::vector<std::wstring> held;
    for (size_t i = 0; i < shows_.size(); ++i) {
        if (static_cast<int>(i) == show) continue;
        for (const std::wstring* path : {&shows_[i].onScreen, &shows_[i].prepared})
            if (!path->empty()) held.push_back(*path);
    }
    return held;
}

void ShowGroup::Prepared(int show, std::wstring path) {
    const std::lock_guard lock(mutex_);
    if (Show* s = At(show)) s->prepared = std::move(path);
}

void ShowGroup::Revealed(int show) {
    const std::lock_guard lock(mutex_);
    Show* s = At(show);
    if (!s || s->prepared.empty()) return;
    s->onScreen = std::move(s->prepared);
    s->prepared.clear();
}

bool ShowGroup::AskPrimaryToShow(std::wstring text) {
    auto message = std::make_shared<Message>(Message{std::move(text)});
    std::vector<Notify> tell;
    std::unique_lock lock(mutex_);
    if (end_ != RunEnd::None || PrimaryLocked() < 0) return false;
    messages_.push_back(message);
    TellPrimaryLocked(tell);
    lock.unlock();
    for (const Notify& notify : tell) notify(ShowSignal::MessageWaiting);
    lock.lock();
    changed_.wait(lock, [&] { return end_ != RunEnd::None || message->closed || PrimaryLocked() < 0; });
    if (!message->closed) std::erase(messages_, message);
    return message->closed && end_ == RunEnd::None;
}

void ShowGroup::ShowAndEnd(std::wstring text, RunEnd why) {
    std::vector<Notify> tell;
    bool nobody = false;
    {
        const std::lock_guard lock(mutex_);
        if (end_ != RunEnd::None) return;
        nobody = PrimaryLocked() < 0;
        if (!nobody) {
            messages_.push_back(std::make_shared<Message>(Message{std::move(text), why}));
            TellPrimaryLocked(tell);
        }
    }
    if (nobody) {
        End(why);  // nobody can show it: the run ends all the same
        return;
    }
    for (const Notify& notify : tell) notify(ShowSignal::MessageWaiting);
}

std::optional<std::wstring> ShowGroup::TakeMessageToShow() {
    std::vector<Notify> others;
    std::wstring text;
    {
        const std::lock_guard lock(mutex_);
        if (messageUp_ || messages_.empty() || end_ != RunEnd::None) return std::nullopt;
        messageUp_ = std::move(messages_.front());
        messages_.pop_front();
        text = messageUp_->text;
        const int primary = PrimaryLocked();
        for (size_t i = 0; i < shows_.size(); ++i)
            if (shows_[i].notify && static_cast<int>(i) != primary) others.push_back(shows_[i].notify);
    }
    for (const Notify& notify : others) notify(ShowSignal::MessageUp);
    return text;
}

void ShowGroup::MessageShown() {
    std::vector<Notify> others, primary;
    RunEnd endAfter = RunEnd::None;
    {
        const std::lock_guard lock(mutex_);
        if (!messageUp_) return;
        messageUp_->closed = true;
        endAfter = messageUp_->endAfter;
        messageUp_.reset();
        // The hand that answered the box moved the mouse: the next movement takes a new reference.
        mouseReference_ = ScreenPoint{};
        const int first = PrimaryLocked();
        for (size_t i = 0; i < shows_.size(); ++i)
            if (shows_[i].notify && static_cast<int>(i) != first) others.push_back(shows_[i].notify);
        if (endAfter == RunEnd::None) TellPrimaryLocked(primary);
        changed_.notify_all();
    }
    for (const Notify& notify : others) notify(ShowSignal::MessageDown);
    for (const Notify& notify : primary) notify(ShowSignal::MessageWaiting);
    if (endAfter != RunEnd::None) End(endAfter);
}

bool ShowGroup::MessageUp() const {
    const std::lock_guard lock(mutex_);
    return messageUp_ != nullptr;
}

bool ShowGroup::MouseMoveEndsShow(const std::function<ScreenPoint()>& readCursor) {
    const std::lock_guard lock(mutex_);
    if (messageUp_) return false;
    return kpv::MouseMoveEndsShow(mouseReference_, readCursor);
}

bool ShowGroup::End(RunEnd why) {
    std::vector<std::function<void(RunEnd)>> hooks;
    std::vector<Notify> targets;
    {
        const std::lock_guard lock(mutex_);
        if (end_ != RunEnd::None || why == RunEnd::None) return false;
        end_ = why;
        endedAt_ = Clock::now();
        hooks = endHooks_;
        for (const Show& s : shows_)
            if (s.notify) targets.push_back(s.notify);
        changed_.notify_all();
    }
    for (const auto& hook : hooks) hook(why);
    for (const Notify& notify : targets) notify(CloseFor(why));
    return true;
}

RunEnd ShowGroup::Ended() const {
    const std::lock_guard lock(mutex_);
    return end_;
}

ShowGroup::Clock::time_point ShowGroup::EndedAt() const {
    const std::lock_guard lock(mutex_);
    return endedAt_;
}

RunEnd ShowGroup::WaitForEnd() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return end_ != RunEnd::None; });
    return end_;
}

bool ShowGroup::WaitUntilAllLeft(Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    return changed_.wait_until(lock, deadline, [&] { return PrimaryLocked() < 0; });
}

}  // namespace kpv
