#include "runtime/forms/frame_win.h"

#include <new>

#include "runtime/base/guarded_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/forms/dialog_font_win.h"
#include "runtime/forms/kept_image_window_win.h"

namespace kpv::rt {

namespace {

constexpr wchar_t kFrameClass[] = L"KpvFrame";
constexpr LONG_PTR kBordered = 1;
constexpr int kCaptionIndent = 6;  // pixels from the frame's left edge to its caption

struct FrameData {
    HFONT font = nullptr;
    bool bordered = false;
};

FrameData* Data(HWND hwnd) { return reinterpret_cast<FrameData*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

void Paint(HWND hwnd, HDC dc) {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const FrameData* data = Data(hwnd);
    if (!data || !data->bordered) return;
    SelectedObject selected(dc, data->font ? data->font : DialogFont());
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
    caption.resize(static_cast<size_t>(GetWindowTextW(hwnd, caption.data(), length + 1)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT border = client;
    border.top = tm.tmHeight / 2;
    DrawEdge(dc, &border, EDGE_ETCHED, BF_RECT);
    if (caption.empty()) return;
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT text{kCaptionIndent, 0, client.right - kCaptionIndent, tm.tmHeight};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT FrameMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            auto* data = new (std::nothrow) FrameData;
            if (!data) return FALSE;
            data->bordered = reinterpret_cast<LONG_PTR>(create->lpCreateParams) == kBordered;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(data));
            break;
        }
        case WM_NCDESTROY:
            delete Data(hwnd);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        case WM_SETFONT:
            if (FrameData* data = Data(hwnd)) data->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(Data(hwnd) ? Data(hwnd)->font : nullptr);
        case WM_SETTEXT: {
            const LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return r;
        }
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills everything
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            Paint(hwnd, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(hwnd, reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORLISTBOX:
            return SendMessageW(GetParent(hwnd), msg, wParam, lParam);
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    RunGuarded([&] { result = FrameMessage(hwnd, msg, wParam, lParam); });
    return result;
}

void RegisterFrameClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    RegisterClassOnce(wc);
}

}  // namespace

HWND CreateFrame(HWND parent, int id, const std::wstring& caption, const RECT& px, bool bordered, HFONT font) {
    RegisterFrameClass();
    HWND frame = CreateWindowExW(WS_EX_CONTROLPARENT, kFrameClass, caption.c_str(),
                                 WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_GROUP, px.left, px.top,
                                 px.right - px.left, px.bottom - px.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                                 reinterpret_cast<void*>(bordered ? kBordered : 0));
    if (frame) SendMessageW(frame, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return frame;
}

}  // namespace kpv::rt
