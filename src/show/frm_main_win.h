#pragma once
// frmMain, the show window: full screen in a show, inside the host window in a preview. It sizes itself,
// computes the block grid and is on the screen before anything slow begins. Its first picture is prepared
// at once (as soon as the list is complete, or from what can be found before it is) and revealed at the
// first tick of Timer1, one Interval after the window came up; from then on it lives on Timer1's cycle (a
// picture prepared by a worker, an Interval, its reveal, an Interval, ...) until a key, a click or a mouse
// movement ends the run. Its thread only answers input and paint, takes the prepared picture and draws the
// blocks. Everything a show changes belongs to its instance, so several shows run at once, each on its own
// thread.
#include <memory>
#include <string>

#include "runtime/base/random.h"
#include "runtime/forms/form_win.h"
#include "runtime/forms/picture_box_win.h"
#include "runtime/forms/timer_win.h"
#include "show/show_group.h"
#include "show/show_setup_win.h"
#include "transitions/block_grid.h"

namespace kpv {

class PreparedMailbox;
struct RunState;

class FrmMain : public rt::Form {
public:
    explicit FrmMain(ShowSetup setup);
    ~FrmMain() override;

    rt::PictureBox picImage{*this};  // the prepared window-sized picture the transitions copy from
    rt::Timer Timer1{*this, [this] { Timer1_Timer(); }};
    // Preview only: notices a host window that vanished without telling us (its process ended).
    rt::Timer HostWatch{*this, [this] { HostWatch_Timer(); }};
    // How long the first picture waits for the complete list before it is looked for in the folders.
    rt::Timer ListWait{*this, [this] { BeginCycle(); }};

    BlockGridRecord BlockGrid;
    int16_t TransitionNumber = 0;
    int16_t PicturePrepared = 0;  // 1: a prepared picture waits in picImage for the next tick
    std::wstring LastPicturePath;

    const ShowSetup& Setup() const { return setup_; }
    RunState& Run() const { return *setup_.run; }

    // The window is on the screen: the show joins its run, its first tick is set, and it hears from the
    // run from now on.
    void Started();
    void Timer1_Timer();

protected:
    void Form_Load() override;
    void Form_Click() override;
    void Form_KeyDown(int keyCode, int shift) override;
    void Form_KeyPress(int keyAscii) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_Unload(bool& cancel) override;
    void Form_DisplayChange() override;
    void Form_AppMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    ShowGroup& Group() const;
    void HostWatch_Timer();
    void BeginCycle();
    void RequestPreparation();
    void PictureReady();
    void Reveal();
    void ShowRunMessage();
    void StandStill(bool still);
    void DropQueuedInput();
    void CloseSilently();

    const ShowSetup setup_;
    std::shared_ptr<rt::RandomSource> random_;
    std::shared_ptr<PreparedMailbox> mailbox_;
    bool cycleStarted_ = false;
    bool preparing_ = false;        // a preparation is on its way
    bool revealWhenReady_ = false;  // a tick came while it was: the picture is revealed when it comes
    bool standingStill_ = false;    // another show's message box is up
    bool joined_ = false;
    bool silent_ = false;  // closing without a show's end
};

inline constexpr int kHostWatchMilliseconds = 250;

// Tells the show in that window something; it hears it on its own thread.
void PostShowSignal(HWND window, ShowSignal signal);

}  // namespace kpv
