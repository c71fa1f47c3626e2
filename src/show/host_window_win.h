#pragma once
// The preview's host window from the 32-bit handle value on the command line (sign-extended, as the
// platform widens 32-bit handle values).
#include <windows.h>

#include "startup/mod_main.h"

namespace kpv {

inline HWND PreviewHostWindow() {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(PreviewParent));
}

}  // namespace kpv
