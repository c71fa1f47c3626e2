#include "show/frm_main_win.h"

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>

#include "runtime/base/api_result.h"
#include "runtime/base/msgbox_win.h"
#include "runtime/base/units_win.h"
#include "show/mouse_cursor_win.h"
#include "show/run_state_win.h"
#include "show/view_period.h"
#include "transitions/block_grid_math.h"
#include "transitions/choose_transition_win.h"

namespace kpv {

namespace {
constexpr UINT kSignalMessage = WM_APP + 1;    // wParam: a ShowSignal
constexpr UINT kPreparedMessage = WM_APP + 2;  // a worker left a result in the mailbox
}  // namespace

void PostShowSignal(HWND window, ShowSignal signal) {
    PostMessageW(window, kSignalMessage, static_cast<WPARAM>(signal), 0);
}

// Where a worker leaves a result for the show's thread. Shared with the delivery, so a result that
// comes after the show has gone is freed with the last owner, never leaked.
class PreparedMailbox {
public:
    void Put(PreparedPicture picture) {
        const std::lock_guard lock(mutex_);
        picture_ = std::move(picture);
    }
    std::optional<PreparedPicture> Take() {
        const std::lock_guard lock(mutex_);
        return std::exchange(picture_, std::nullopt);
    }

private:
    std::mutex mutex_;
    std::optional<PreparedPicture> picture_;
};

FrmMain::FrmMain(ShowSetup setup)
    : setup_(std::move(setup)),
      random_(setup_.random ? setup_.random : std::make_shared<rt::ClockSeededRandom>()),
      mailbox_(std::make_shared<PreparedMailbox>()) {
    SetBackColor(0);
}

FrmMain::~FrmMain() {
    if (joined_) Group().Leave(setup_.index);
}

ShowGroup& FrmMain::Group() const { return setup_.run->group; }

void FrmMain::Form_Load() {
    if (!hWnd()) return;  // no window could be made: nothing to size, no cursor to hide
    const float tppX = rt::TwipsPerPixelX();
    const float tppY = rt::TwipsPerPixelY();
    const auto twips = [](int64_t pixels, float tpp) { return static_cast<float>(tpp * static_cast<double>(pixels)); };
    if (!setup_.preview) {
        const RECT& screen = setup_.screen;
        SetLeft(twips(screen.left, tppX));
        SetTop(twips(screen.top, tppY));
        SetWidth(twips(static_cast<int64_t>(screen.right) - screen.left, tppX));
        SetHeight(twips(static_cast<int64_t>(screen.bottom) - screen.top, tppY));
    } else {
        RECT host{};
        LastApiResult = GetWindowRect(setup_.previewHost, &host);
        SetLeft(0);
        SetTop(0);
        SetWidth(twips(static_cast<int64_t>(host.right) - host.left, tppX));
        SetHeight(twips(static_cast<int64_t>(host.bottom) - host.top, tppY));
    }
    BlockGrid = ComputeBlockGrid(Width(), Height(), Run().settings.BlockSize, tppX, tppY);
    if (!setup_.preview) ShowMouseCursor(false);
}

void FrmMain::Started() {
    if (joined_ || !hWnd()) return;
    joined_ = true;
    // The first tick, one Interval from now, reveals the first picture; meanwhile it is prepared.
    const int32_t period = ViewPeriodMilliseconds(Run().settings.Interval);
    Timer1.SetInterval(period);
    Timer1.SetEnabled(true);
    ListWait.SetInterval(period / 2);
    ListWait.SetEnabled(true);
    HWND window = hWnd();
    Group().Join(setup_.index, [window](ShowSignal signal) { PostShowSignal(window, signal); });
}

void FrmMain::Form_AppMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (msg == kPreparedMessage) {
        PictureReady();
        return;
    }
    if (msg != kSignalMessage) return;
    switch (static_cast<ShowSignal>(wParam)) {
    case ShowSignal::PicturesReady: BeginCycle(); break;
    case ShowSignal::MessageWaiting: ShowRunMessage(); break;
    case ShowSignal::MessageUp: StandStill(true); break;
    case ShowSignal::MessageDown: StandStill(false); break;
    case ShowSignal::Close: Unload(); break;
    case ShowSignal::CloseSilently: CloseSilently(); break;
    }
}

// The first prepare step: once the list is complete, or once waiting for it would make the first tick
// come before its picture.
void FrmMain::BeginCycle() {
    ListWait.SetEnabled(false);
    if (cycleStarted_ || preparing_ || PicturePrepared != 0) return;
    RequestPreparation();
}

void FrmMain::Timer1_Timer() {
    Timer1.SetEnabled(false);
    if (PicturePrepared == 1) {
        Reveal();
    } else if (preparing_) {
        revealWhenReady_ = true;  // the picture is on its way: it is revealed the moment it comes
    } else {
        // The prepare step ends when the worker's picture is here; the Interval runs from then.
        RequestPreparation();
    }
}

void FrmMain::Reveal() {
    ChooseTransition(*this, picImage, BlockGrid, Run().settings.Speed, *random_, TransitionNumber);
    // A show that ended inside the transition's pauses has no timer left to start.
    if (!IsLoaded()) return;
    Group().Revealed(setup_.index);
    // The window keeps what it shows: the off-screen copy goes until the next picture comes.
    picImage.SetWidth(0);
    picImage.SetHeight(0);
    picImage.SetPicture(rt::Picture{});
    PicturePrepared = 0;
    Timer1.SetEnabled(true);
}

void FrmMain::RequestPreparation() {
    cycleStarted_ = true;
    ListWait.SetEnabled(false);
    PreparationRequest request;
    request.run = setup_.run;
    request.show = setup_.index;
    request.lastPath = LastPicturePath;
    request.random = random_;
    request.windowWidth = Width();
    request.windowHeight = Height();
    request.twipsPerPixelX = rt::TwipsPerPixelX();
    request.twipsPerPixelY = rt::TwipsPerPixelY();
    request.pixelWidth = PixelWidth();
    request.pixelHeight = PixelHeight();
    preparing_ = true;
    HWND window = hWnd();
    Run().pool.Request(std::move(request), [mailbox = mailbox_, window](PreparedPicture picture) {
        mailbox->Put(std::move(picture));
        PostMessageW(window, kPreparedMessage, 0, 0);
    });
}

void FrmMain::PictureReady() {
    std::optional<PreparedPicture> prepared = mailbox_->Take();
    if (!prepared) return;
    preparing_ = false;
    switch (prepared->outcome) {
    case PreparedPicture::Outcome::Stopped: return;
    case PreparedPicture::Outcome::NoneLoadable: Group().End(RunEnd::NoPictures); return;
    case PreparedPicture::Outcome::Failed: Group().ShowAndEnd(std::move(prepared->path), RunEnd::Failure); return;
    case PreparedPicture::Outcome::NothingFound:
        // Nothing to show yet: the show stays as it is until its next tick.
        revealWhenReady_ = false;
        if (!Timer1.Enabled()) Timer1.SetEnabled(true);
        return;
    case PreparedPicture::Outcome::Ready: break;
    }
    // The prepared picture becomes picImage's image itself: no second copy of a screen.
    picImage.SetAutoRedraw(true);
    picImage.SetAutoSize(true);
    picImage.SetPicture(std::move(prepared->image));
    LastPicturePath = std::move(prepared->path);
    PicturePrepared = 1;
    if (std::exchange(revealWhenReady_, false)) {
        Timer1_Timer();
    } else if (!Timer1.Enabled()) {
        Timer1.SetEnabled(true);
    }
}

// The primary show tells the user; a full-screen show's cursor is up meanwhile. A preview lives in another
// program's window, which its message must not take over: there the box stands on its own.
void FrmMain::ShowRunMessage() {
    const std::optional<std::wstring> text = Group().TakeMessageToShow();
    if (!text) return;
    if (setup_.preview) {
        rt::MsgBoxOwned(nullptr, *text);
    } else {
        ShowMouseCursor(true);
        rt::MsgBoxOwned(hWnd(), *text);
        ShowMouseCursor(false);
    }
    if (IsLoaded()) DropQueuedInput();
    Group().MessageShown();
}

// While another show's box is up this one shows the cursor and takes no input, so the hand that goes to
// the box from this monitor neither ends the run nor takes the keys from the box.
void FrmMain::StandStill(bool still) {
    if (setup_.preview || still == standingStill_ || !IsLoaded()) return;
    standingStill_ = still;
    ShowMouseCursor(still);
    EnableWindow(hWnd(), still ? FALSE : TRUE);
    if (!still) DropQueuedInput();
}

// What the hand that answered a box typed or moved is dropped: it must not end the show.
void FrmMain::DropQueuedInput() {
    MSG dropped;
    while (PeekMessageW(&dropped, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {}
    while (PeekMessageW(&dropped, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {}
}

void FrmMain::Form_Click() {
    if (!setup_.preview && !Group().MessageUp()) Unload();
}

void FrmMain::Form_KeyDown(int, int) { Unload(); }

void FrmMain::Form_KeyPress(int) { Unload(); }

void FrmMain::Form_MouseMove(int, int, float, float) {
    if (setup_.preview) return;
    const auto readCursor = [] {
        POINT p{};
        LastApiResult = GetCursorPos(&p);
        return ScreenPoint{p.x, p.y};
    };
    if (Group().MouseMoveEndsShow(readCursor)) Unload();
}

void FrmMain::HostWatch_Timer() {
    if (!IsWindow(setup_.previewHost)) Unload();
}

// A new monitor, one taken away or another resolution: the screen the show covered is not the screen any
// more, and the show ends as it does on a key.
void FrmMain::Form_DisplayChange() {
    if (!setup_.preview) Unload();
}

void FrmMain::CloseSilently() {
    silent_ = true;
    Unload();
}

// The end of a show: the cursor back (or the owner asked to close), then the run told; once the show has
// left, the run's end need not wait for it. The run's end takes care of the instance flag and of the other
// shows.
void FrmMain::Form_Unload(bool&) {
    if (!setup_.preview) {
        // Standing still, the cursor is already shown.
        if (!standingStill_) ShowMouseCursor(true);
    } else if (!silent_) {
        // A form made a child of the host has no owner; a close request posted to no window would land in
        // our own queue, so it is sent only where there is an owner to receive it.
        if (HWND owner = GetWindow(hWnd(), GW_OWNER)) LastApiResult = PostMessageA(owner, WM_CLOSE, 1, 1);
    }
    if (joined_) {
        Group().Leave(setup_.index);
        joined_ = false;
    }
    if (!silent_) Group().End(RunEnd::Input);
}

}  // namespace kpv
