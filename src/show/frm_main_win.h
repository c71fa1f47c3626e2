#pragma once
// frmMain, the show window: full screen in a show, inside the host window in a preview. It sizes itself,
// computes the block grid, prepares the first picture while still hidden, then lives on Timer1's cycle
// (prepare a picture, reveal it, ...) until a key, a click or a mouse movement ends the show. Everything a
// show changes belongs to its instance, so several shows can run at once, each on its own thread.
#include <string>

#include "runtime/base/random.h"
#include "runtime/forms/form_win.h"
#include "runtime/forms/picture_box_win.h"
#include "runtime/forms/timer_win.h"
#include "show/mouse_rule.h"
#include "show/show_setup_win.h"
#include "transitions/block_grid.h"
#include "transitions/show_block_win.h"

namespace kpv {

class FrmMain : public rt::Form {
public:
    // random: the generator this show draws from; its own clock-seeded one when none is given.
    explicit FrmMain(ShowSetup setup, rt::RandomSource* random = nullptr);

    rt::PictureBox picGetpic{*this};  // the loaded file, never visible
    rt::PictureBox picImage{*this};   // the prepared window-sized picture the transitions copy from
    rt::Timer Timer1{*this, [this] { Timer1_Timer(); }};
    // Preview only: notices a host window that vanished without telling us (its process ended).
    rt::Timer HostWatch{*this, [this] { HostWatch_Timer(); }};

    BlockGridRecord BlockGrid;
    int16_t TransitionNumber = 0;
    ScreenPoint MouseReference;
    int16_t PicturePrepared = 0;  // 1: a prepared picture waits in picImage for the next tick
    std::wstring LastPicturePath;

    const ShowSetup& Setup() const { return setup_; }
    int GroupIndex() const { return groupIndex_; }
    rt::RandomSource& Random() { return *random_; }

    void Timer1_Timer();

protected:
    void Form_Load() override;
    void Form_Click() override;
    void Form_KeyDown(int keyCode, int shift) override;
    void Form_KeyPress(int keyAscii) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_Unload(bool& cancel) override;
    void Form_DisplayChange() override;

private:
    void HostWatch_Timer();
    BlockCanvas Canvas() { return BlockCanvas{*this, picImage, BlockGrid, setup_.settings.Speed}; }

    const ShowSetup setup_;
    const int groupIndex_;  // this show's number in its group; -1 alone
    rt::ClockSeededRandom ownRandom_;
    rt::RandomSource* random_;
};

inline constexpr int kHostWatchMilliseconds = 250;

}  // namespace kpv
