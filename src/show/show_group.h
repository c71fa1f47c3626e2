#pragma once
// The shows of one run, one on each monitor (or the one in a preview), and all that they share: the picture
// list once the scan has made it; which pictures each show holds, so that each monitor shows its own; the
// scan's messages, shown one at a time by the primary monitor's show; one mouse reference; and one end for
// the whole run. Everything else of a show is its own. Every member may be called from any thread.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "show/mouse_rule.h"

namespace kpv {

// What a show is told; each reaches it as a message on its own thread.
enum class ShowSignal {
    PicturesReady,  // the list is complete: the cycle may begin
    ScanMessage,    // a message of the scan waits to be shown (the primary show only)
    Close,          // the run ends: unload as on a key
    CloseSilently,  // the run ends without a show's end: the window goes, the cursor comes back
};

// Why the run ends; the first reason given is the one that holds.
enum class RunEnd {
    None,
    Input,         // a key, a click, a mouse movement, the host window closing, the monitors changing
    NoPictures,    // the scan found none
    NoneLoadable,  // none of the pictures found can be loaded (the user has been told)
    NoWindow,      // no show window could be made
    Stopped,       // the run's owner stopped it
};

using PictureListPtr = std::shared_ptr<const std::vector<std::wstring>>;

class ShowGroup {
public:
    using Notify = std::function<void(ShowSignal)>;

    // shows: how many shows the run has, numbered from 0; show 0 is the primary monitor's.
    explicit ShowGroup(int shows = 1);

    // A show whose window is up, and how to tell it things. Until it leaves it may be sent signals.
    void Join(int show, Notify notify);
    void Leave(int show);
    void SignalAll(ShowSignal signal);

    // The scan's list, once and complete; every show that has joined is told. Empty when not yet made.
    void PublishPictures(std::vector<std::wstring> list);
    PictureListPtr Pictures() const;

    // The entries that the other shows hold: the picture on their screen and the one they prepared.
    std::vector<int64_t> HeldByOthers(int show) const;
    // The show prepared this entry for its next reveal.
    void Prepared(int show, int64_t index);
    // The show revealed what it prepared: that is now the picture on its screen.
    void Revealed(int show);

    // The scan's messages, one at a time, in the walk's order. The scan asks and waits until the primary
    // show (the lowest one joined) has shown the text and the user has closed it; false when no show can
    // show it or the run is ending, and the scan should stop.
    bool AskPrimaryToShow(std::wstring text);
    std::optional<std::wstring> TakeMessageToShow();
    void MessageShown();

    // True for the one show that tells the user that no picture can be loaded.
    bool ClaimNoneLoadableMessage();

    // The mouse rule with one reference for every show: the first movement anywhere takes it.
    bool MouseMoveEndsShow(const std::function<ScreenPoint()>& readCursor);
    // After a message box the cursor has moved to answer it: the next movement takes a new reference.
    void ForgetMouseReference();

    // Ends the run for the given reason; true when it is the first reason given.
    bool End(RunEnd why);
    RunEnd Ended() const;
    // Waits until the run ends, and says why.
    RunEnd WaitForEnd();

private:
    struct Show {
        Notify notify;
        int64_t onScreen = -1;
        int64_t prepared = -1;
    };
    Show* At(int show);
    int PrimaryLocked() const;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Show> shows_;
    PictureListPtr pictures_;
    std::optional<std::wstring> message_;  // waiting to be taken by the primary show
    bool messageUp_ = false;               // taken, and not closed yet
    bool noneLoadableTold_ = false;
    ScreenPoint mouseReference_;
    RunEnd end_ = RunEnd::None;
};

}  // namespace kpv
