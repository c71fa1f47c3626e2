#pragma once
// A settings dialog's stand-in for the preview tests: a top-level window with a child where the preview goes.
#include <windows.h>

#include <functional>
#include <string>

#include "support/driver_win.h"

namespace kpv::test {

constexpr int kPreviewWidth = 152;
constexpr int kPreviewHeight = 112;

inline bool PumpUntil(const std::function<bool()>& pred, int timeoutMs) {
    return PollUntil([&] {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        return pred();
    }, timeoutMs);
}

struct HostWindows {
    HostWindows() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        wc.lpszClassName = L"KPVTestPreviewHost";
        RegisterClassW(&wc);
        top = CreateWindowExW(0, wc.lpszClassName, L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 400, 300,
                              nullptr, nullptr, wc.hInstance, nullptr);
        preview = CreateWindowExW(0, wc.lpszClassName, L"", WS_CHILD | WS_VISIBLE, 20, 20, kPreviewWidth,
                                  kPreviewHeight, top, nullptr, wc.hInstance, nullptr);
    }
    ~HostWindows() {
        if (IsWindow(top)) DestroyWindow(top);
    }
    HWND top = nullptr;
    HWND preview = nullptr;
};

inline std::wstring HandleText(HWND w) { return std::to_wstring(static_cast<long long>(reinterpret_cast<LONG_PTR>(w))); }

}  // namespace kpv::test
