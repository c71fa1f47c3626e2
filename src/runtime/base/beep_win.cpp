#include "runtime/base/beep_win.h"

#include <windows.h>

namespace kpv::rt {

namespace {
void (*g_hook)() = nullptr;
}

void Beep() {
    if (g_hook) g_hook();
    else MessageBeep(MB_OK);
}

void SetBeepHookForTesting(void (*hook)()) { g_hook = hook; }

}  // namespace kpv::rt
