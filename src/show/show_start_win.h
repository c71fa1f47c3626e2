#pragma once
// Starting the show or the preview once the settings and the picture list are ready: load frmMain,
// paint the desktop snapshot, make it top-most or a child of the preview window, show it, start the timer.
namespace kpv {

void StartShowWindow();

}  // namespace kpv
