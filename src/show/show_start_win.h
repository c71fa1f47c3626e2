#pragma once
// Starting a show once the settings and the picture list are ready: load the show window (which prepares
// the first picture), paint the desktop snapshot onto it, make it top-most or a child of the preview
// window, show it, start its timer.
namespace kpv {

class FrmMain;

void StartShowWindow(FrmMain& form);

}  // namespace kpv
