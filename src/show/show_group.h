#pragma once
// The shows of one run, one on each monitor (or the one in a preview), and all that they share: the picture
// list once the scan has made it; which pictures each show holds, so that each monitor shows its own; the
// run's messages, shown one at a time by the primary monitor's show while every show stands still; one
// mouse reference; and one end for the whole run. Everything else of a show is its own. Every member may be
// called from any thread.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
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
    PicturesReady,   // the list is complete
    MessageWaiting,  // a message of the run waits to be shown (the primary show only)
    MessageUp,       // a message box of the run is up: show the cursor, take no input
    MessageDown,     // it was answered: hide the cursor again and measure the mouse afresh
    Close,           // the run ends: unload as on a key
    CloseSilently,   // the run ends without a show's end: the window goes, the cursor comes back
};

// Why the run ends; the first reason given is the one that holds.
enum class RunEnd {
    None,
    Input,       // a key, a click, a mouse movement, the host window closing, the monitors changing
    NoPictures,  // the scan found none, or none of those found can be loaded
    Failure,     // a thread of the run failed; the user has been told
    NoWindow,    // the start failed: no show window could be made
    Stopped,     // the run's owner stopped it
};

using PictureListPtr = std::shared_ptr<const std::vector<std::wstring>>;

class ShowGroup {
public:
    using Notify = std::function<void(ShowSignal)>;
    using Clock = std::chrono::steady_clock;

    // shows: how many shows the run has, numbered from 0; show 0 is the primary monitor's.
    explicit ShowGroup(int shows = 1);

    // Runs when the run ends, on the thread that ends it, before any show is told. Hooks only raise flags
    // and cancel waits: they never wait themselves. Add them before the run's threads start.
    void OnEnd(std::function<void(RunEnd)> hook);

    // A show whose window is up, and how to tell it things. A show that joins after the end is told to
    // close at once.
    void Join(int show, Notify notify);
    void Leave(int show);
    void SignalAll(ShowSignal signal);

    // The scan's list, once and complete; every show that has joined is told. Empty when not yet made.
    void PublishPictures(std::vector<std::wstring> list);
    PictureListPtr Pictures() const;

    // The pictures that the other shows hold: the one on their screen and the one they prepared.
    std::vector<std::wstring> HeldByOthers(int show) const;
    // The show prepared this picture for its next reveal.
    void Prepared(int show, std::wstring path);
    // The show revealed what it prepared: that is now the picture on its screen.
    void Revealed(int show);

    // The run's messages, one at a time, in the order asked. The scan asks and waits until the primary show
    // (the lowest one joined) has shown the text and the user has closed it; false when no show can show it
    // or the run is ending, and the scan should stop.
    bool AskPrimaryToShow(std::wstring text);
    // A failure: the primary show tells the user, and the run then ends for `why`. Never waits; with no
    // show to tell it, the run ends at once.
    void ShowAndEnd(std::wstring text, RunEnd why);
    // The primary show takes the next message; every show is told that a box is up.
    std::optional<std::wstring> TakeMessageToShow();
    // The box was answered: every show is told, and the mouse is measured from a new reference.
    void MessageShown();
    // While a box of the run is up, no show ends on the mouse.
    bool MessageUp() const;

    // The mouse rule with one reference for every show: the first movement anywhere takes it.
    bool MouseMoveEndsShow(const std::function<ScreenPoint()>& readCursor);

    // Ends the run for the given reason: the first reason given holds and its time is taken now. The hooks
    // run, then every show is told to close (as on a key after input, silently otherwise). True for the
    // first reason given.
    bool End(RunEnd why);
    RunEnd Ended() const;
    Clock::time_point EndedAt() const;
    // Waits until the run ends, and says why.
    RunEnd WaitForEnd();
    // Waits until every show that joined has left (its unload done), at most until `deadline`.
    bool WaitUntilAllLeft(Clock::time_point deadline);

private:
    struct Show {
        Notify notify;
        std::wstring onScreen;
        std::wstring prepared;
    };
    struct Message {
        std::wstring text;
        RunEnd endAfter = RunEnd::None;  // None: the scan waits for it and goes on
        bool closed = false;
    };
    Show* At(int show);
    int PrimaryLocked() const;
    void TellPrimaryLocked(std::vector<Notify>& tell);
    static ShowSignal CloseFor(RunEnd why);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Show> shows_;
    std::vector<std::function<void(RunEnd)>> endHooks_;
    PictureListPtr pictures_;
    std::deque<std::shared_ptr<Message>> messages_;  // waiting to be taken by the primary show
    std::shared_ptr<Message> messageUp_;              // taken, and not answered yet
    ScreenPoint mouseReference_;
    RunEnd end_ = RunEnd::None;
    Clock::time_point endedAt_{};
};

}  // namespace kpv
