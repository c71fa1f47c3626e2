#pragma once
// frmMain, the show window: full screen in a show, inside the host window in a preview. It sizes itself,
// computes the block grid, prepares the first picture while still hidden, then lives on Timer1's cycle
// (prepare a picture, reveal it, ...) until a key, a click or a mouse movement ends the show.
#include <memory>
#include <string>

#include "runtime/form_win.h"
#include "runtime/picture_box_win.h"
#include "runtime/timer_win.h"

namespace kpv {

class FrmMain : public rt::Form {
public:
    FrmMain();

    rt::PictureBox picGetpic{*this};  // the loaded file, never visible
    rt::PictureBox picImage{*this};   // the prepared window-sized picture the transitions copy from
    rt::Timer Timer1{*this, [this] { Timer1_Timer(); }};
    // Preview only: notices a host window that vanished without telling us (its process ended).
    rt::Timer HostWatch{*this, [this] { HostWatch_Timer(); }};

    int16_t PicturePrepared = 0;  // 1: a prepared picture waits in picImage for the next tick
    std::wstring LastPicturePath;

    void Timer1_Timer();

protected:
    void Form_Load() override;
    void Form_Click() override;
    void Form_KeyDown(int keyCode, int shift) override;
    void Form_KeyPress(int keyAscii) override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void Form_Unload(bool& cancel) override;

private:
    void HostWatch_Timer();
};

// The program's one show window; empty until the show starts.
extern std::unique_ptr<FrmMain> frmMain;

inline constexpr int kHostWatchMilliseconds = 250;

}  // namespace kpv
