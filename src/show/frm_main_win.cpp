#include "show/frm_main_win.h"

#include <windows.h>

#include <cstdint>
#include <mutex>
#include <optional>

#include "catalogue/picture_list.h"
#include "runtime/base/api_result.h"
#include "runtime/base/msgbox_win.h"
#include "runtime/base/units_win.h"
#include "show/mouse_cursor_win.h"
#include "show/preparation_worker_win.h"
#include "transitions/block_grid_math.h"
#include "transitions/choose_transition_win.h"

namespace kpv {

namespace {
constexpr UINT kSignalMessage = WM_APP + 1;    // wParam: a ShowSignal
constexpr UINT kPreparedMessage = WM_APP + 2;  // the worker left a result in the mailbox
}  // namespace

void PostShowSignal(HWND window, ShowSignal signal) {
    PostMessageW(window, kSignalMessage, static_cast<WPARAM>(signal), 0);
}

// Where the worker leaves a result for the show's thread. Shared with the delivery, so a result that
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
    if (joined_) setup_.group.Leave(setup_.index);
}

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
    BlockGrid = ComputeBlockGrid(Width(), Height(), setup_.settings.BlockSize, tppX, tppY);
    if (!setup_.preview) ShowMouseCursor(false);
}

void FrmMain::Started() {
    if (joined_ || !hWnd()) return;
    joined_ = true;
    HWND window = hWnd();
    setup_.group.Join(setup_.index, [window](ShowSignal signal) { PostShowSignal(window, signal); });
}

void FrmMain::Form_AppMessage(UINT msg, WPARAM wParam, LPARAM) {
    if (msg == kPreparedMessage) {
        PictureReady();
        return;
    }
    if (msg != kSignalMessage) return;
    switch (static_cast<ShowSignal>(wParam)) {
    case ShowSignal::PicturesReady: BeginCycle(); break;
    case ShowSignal::ScanMessage: ShowScanMessage(); break;
    case ShowSignal::Close: Unload(); break;
    case ShowSignal::CloseSilently: CloseSilently(); break;
    }
}

// The list is complete: the first prepare step begins at once.
void FrmMain::BeginCycle() {
    if (cycleStarted_) return;
    cycleStarted_ = true;
    Timer1_Timer();
}

void FrmMain::Timer1_Timer() {
    Timer1.SetEnabled(false);
    if (PicturePrepared == 0) {
        // The prepare step ends when the worker's picture is here; the Interval runs from then.
        RequestPreparation();
        return;
    }
    ChooseTransition(*this, picImage, BlockGrid, setup_.settings.Speed, *random_, TransitionNumber);
    // A show that ended inside the transition's pauses has no timer left to start.
    if (!IsLoaded()) return;
    setup_.group.Revealed(setup_.index);
    PicturePrepared = 0;
    Timer1.SetEnabled(true);
}

void FrmMain::RequestPreparation() {
    PreparationRequest request;
    request.pictures = setup_.group.Pictures();
    if (!request.pictures || request.pictures->empty()) return;
    request.settings = &setup_.settings;
    request.lastPath = LastPicturePath;
    request.random = random_;
    request.group = &setup_.group;
    request.show = setup_.index;
    request.windowWidth = Width();
    request.windowHeight = Height();
    request.twipsPerPixelX = rt::TwipsPerPixelX();
    request.twipsPerPixelY = rt::TwipsPerPixelY();
    request.pixelWidth = PixelWidth();
    request.pixelHeight = PixelHeight();
    HWND window = hWnd();
    setup_.worker.Request(std::move(request), [mailbox = mailbox_, window](PreparedPicture picture) {
        mailbox->Put(std::move(picture));
        PostMessageW(window, kPreparedMessage, 0, 0);
    });
}

void FrmMain::PictureReady() {
    std::optional<PreparedPicture> prepared = mailbox_->Take();
    if (!prepared) return;
    switch (prepared->outcome) {
    case PreparedPicture::Outcome::Stopped: return;
    case PreparedPicture::Outcome::NoneLoadable: NoPictureLoads(); return;
    case PreparedPicture::Outcome::Ready: break;
    }
    // The prepared picture becomes picImage's image itself: no second copy of a screen.
    picImage.SetAutoRedraw(true);
    picImage.SetAutoSize(true);
    picImage.SetPicture(std::move(prepared->image));
    LastPicturePath = std::move(prepared->path);
    PicturePrepared = 1;
    Timer1.SetEnabled(true);
}

// A message box over a full-screen show needs the cursor to answer it; the count is this thread's, and it
// stays balanced even when the run ends while the box is up. A preview lives in another program's window,
// which its message must not take over: there the box stands on its own.
void FrmMain::ShowMessageOverShow(const std::wstring& text) {
    if (setup_.preview) {
        rt::MsgBoxOwned(nullptr, text);
        return;
    }
    ShowMouseCursor(true);
    rt::MsgBoxOwned(hWnd(), text);
    ShowMouseCursor(false);
}

void FrmMain::ShowScanMessage() {
    const std::optional<std::wstring> text = setup_.group.TakeMessageToShow();
    if (!text) return;
    ShowMessageOverShow(*text);
    setup_.group.MessageShown();
    if (!IsLoaded()) return;
    // The hand that answered the box must not end the show: what it typed or moved is dropped.
    MSG dropped;
    while (PeekMessageW(&dropped, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {}
    while (PeekMessageW(&dropped, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {}
    setup_.group.ForgetMouseReference();
}

// None of the list loads: one show says so, and the run ends.
void FrmMain::NoPictureLoads() {
    if (!setup_.group.ClaimNoneLoadableMessage()) return;
    ShowMessageOverShow(kNoPicturesMessage);
    setup_.group.End(RunEnd::NoneLoadable);
}

void FrmMain::Form_Click() {
    if (!setup_.preview) Unload();
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
    if (setup_.group.MouseMoveEndsShow(readCursor)) Unload();
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

// The end of a show: the cursor back (or the owner asked to close), and the run told. The main thread
// clears the instance flag and ends the program once every show has gone.
void FrmMain::Form_Unload(bool&) {
    if (joined_) {
        setup_.group.Leave(setup_.index);
        joined_ = false;
    }
    if (!setup_.preview) {
        ShowMouseCursor(true);
    } else if (!silent_) {
        // A form made a child of the host has no owner; a close request posted to no window would land in
        // our own queue, so it is sent only where there is an owner to receive it.
        if (HWND owner = GetWindow(hWnd(), GW_OWNER)) LastApiResult = PostMessageA(owner, WM_CLOSE, 1, 1);
    }
    if (!silent_) setup_.group.End(RunEnd::Input);
}

}  // namespace kpv
