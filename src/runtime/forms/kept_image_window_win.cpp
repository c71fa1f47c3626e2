#include "runtime/forms/kept_image_window_win.h"

#include <mutex>

#include "runtime/base/colour_win.h"
#include "runtime/base/guarded_win.h"
#include "runtime/base/resource_ids.h"

namespace kpv::rt {

void RegisterClassOnce(const WNDCLASSEXW& wc) {
    static std::mutex registering;
    const std::lock_guard<std::mutex> lock(registering);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) RegisterClassExW(&wc);
}

void KeptImageWindow::SetBackColor(uint32_t colourRef) {
    backColor_ = colourRef;
    Cls();
}

void KeptImageWindow::Cls() { image_.Fill(ResolveColour(backColor_)); }

HWND KeptImageWindow::CreateKeptImageWindow(const wchar_t* className, UINT classStyle, DWORD exStyle, DWORD style,
                                            const RECT& px, HWND parent, INT_PTR id) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = &KeptImageWindow::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(wc.hInstance, MAKEINTRESOURCEW(IDI_KPV));
    wc.lpszClassName = className;
    RegisterClassOnce(wc);
    return CreateWindowExW(exStyle, className, L"", style, px.left, px.top, px.right - px.left, px.bottom - px.top,
                           parent, reinterpret_cast<HMENU>(id), wc.hInstance, this);
}

LRESULT KeptImageWindow::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;  // everything is painted from the kept image
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (HDC dc = BeginPaint(hwnd, &ps)) {
                PaintInto(dc, ps.rcPaint);
                EndPaint(hwnd, &ps);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintInto(reinterpret_cast<HDC>(wParam), RECT{0, 0, image_.width(), image_.height()});
            return 0;
        case WM_PRINT:
            // A kept-image window draws nothing outside its client area.
            if (lParam & PRF_CLIENT) PaintInto(reinterpret_cast<HDC>(wParam), RECT{0, 0, image_.width(), image_.height()});
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

void KeptImageWindow::PaintInto(HDC target, const RECT& part) {
    image_.CopyTo(target, part.left, part.top, part.right - part.left, part.bottom - part.top);
}

LRESULT CALLBACK KeptImageWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<KeptImageWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    LRESULT result = 0;
    RunGuarded([&] {
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->WindowGone();
            result = DefWindowProcW(hwnd, msg, wParam, lParam);
            return;
        }
        result = self->OnMessage(hwnd, msg, wParam, lParam);
    });
    return result;
}

}  // namespace kpv::rt
