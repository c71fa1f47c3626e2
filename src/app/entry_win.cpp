// The process entry: harden DLL loading, then hand over to Main, which ends the program itself.
#include <windows.h>

#include "runtime/base/end_win.h"
#include "runtime/base/guarded_win.h"
#include "app/main_win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Only System32 may supply DLLs loaded from here on: nothing planted beside the .scr is picked up.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The manifest asks for per-monitor v2; where the platform refuses, we run with what it gives.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    if (HMODULE user = GetModuleHandleW(L"user32.dll")) {
        if (auto set = reinterpret_cast<SetContext>(
                reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")))) {
            set(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
        }
    }
    // An exception that reaches here ends in the program's own error message, never in std::terminate.
    kpv::rt::RunGuarded([] { kpv::Main(); });
    kpv::rt::EndProgram(0);
}
