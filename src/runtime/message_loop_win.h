#pragma once
// The message loop: one pass for DoEvents, and the loop the program lives in after Main returns.
namespace kpv::rt {

// One pass of the message loop: deliver everything pending (paint and input included), then return.
void DoEvents();

// Runs until the last form is gone (or WM_QUIT); returns at once when no form was ever opened.
int RunMessageLoop();

// Forms count themselves in and out, so the loop knows when the program has nothing left to show.
void FormOpened();
void FormClosed();
int OpenFormCount();

}  // namespace kpv::rt
