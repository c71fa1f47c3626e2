#pragma once
// Dialog windows built at run time, and their modal show. The window is a standard dialog (class #32770)
// with no controls of its own: the form creates them. The modal show runs its own message loop through
// IsDialogMessage, so Tab, the arrow keys, Enter (default button) and Esc (cancel) behave as in any dialog.
#include <windows.h>

#include <string>

namespace kpv::rt {

// Creates the dialog hidden; its procedure gets WM_INITDIALOG with `param`.
HWND CreateDialogWindow(HWND owner, DLGPROC proc, LPARAM param, const std::wstring& caption, DWORD style, DWORD exStyle);

// Runs the message loop until the dialog window is gone. A WM_QUIT that arrives meanwhile ends the loop and
// is put back for the outer loop.
void RunModalLoop(HWND dialog);

}  // namespace kpv::rt
