#pragma once
// Putting a show on the screen, before anything slow: load the show window (size and block grid), paint the
// desktop snapshot onto it, make it top-most or a child of the preview window, show it, and let it join its
// run, which starts its cycle.
namespace kpv {

class FrmMain;

// False when the show window could not be made; nothing is then on the screen for this show.
bool StartShowWindow(FrmMain& form);

}  // namespace kpv
