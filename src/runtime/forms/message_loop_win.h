#pragma once
// The message loop: one pass for DoEvents, and the loop the program lives in after Main returns.
namespace kpv::rt {

// One pass of the message loop: deliver everything pending (paint and input included), then return.
void DoEvents();

// Runs until the last form of this thread is gone (or WM_QUIT); returns at once when none was opened.
int RunMessageLoop();

// Forms count themselves in and out, so the loop knows when its thread has nothing left to show. The count
// is per thread: a form belongs to the thread that made its window.
void FormOpened();
void FormClosed();
int OpenFormCount();

}  // namespace kpv::rt
