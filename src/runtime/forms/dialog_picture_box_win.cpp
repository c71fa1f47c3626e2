#include "runtime/forms/dialog_picture_box_win.h"

#include <string>

#include "runtime/base/colour_win.h"
#include "runtime/forms/dialog_font_win.h"
#include "runtime/base/twips.h"
#include "runtime/base/units_win.h"

namespace kpv::rt {

namespace {

constexpr wchar_t kClass[] = L"KpvPictureBox";

void RegisterPictureBoxClass(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

}  // namespace

bool DialogPictureBox::Create(HWND parent, int id, const RECT& px, HFONT font) {
    RegisterPictureBoxClass(WindowProc);
    font_ = font;
    hwnd_ = CreateWindowExW(WS_EX_CLIENTEDGE, kClass, L"", WS_CHILD | WS_VISIBLE, px.left, px.top, px.right - px.left,
                            px.bottom - px.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            GetModuleHandleW(nullptr), this);
    if (!hwnd_) return false;
    RECT client;
    GetClientRect(hwnd_, &client);
    image_.Resize(client.right, client.bottom, ResolveColour(backColor_));
    return true;
}

void DialogPictureBox::SetBackColor(uint32_t colourRef) {
    backColor_ = colourRef;
    Cls();
}

void DialogPictureBox::Cls() {
    image_.Fill(ResolveColour(backColor_));
    currentX_ = currentY_ = 0;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

float DialogPictureBox::ScaleWidth() const { return static_cast<float>(image_.width()) * TwipsPerPixelX(); }
float DialogPictureBox::ScaleHeight() const { return static_cast<float>(image_.height()) * TwipsPerPixelY(); }

float DialogPictureBox::TextWidth(std::wstring_view text) const {
    const SIZE s = TextExtent(font_ ? font_ : DialogFont(), text.data(), static_cast<int>(text.size()));
    return static_cast<float>(s.cx) * TwipsPerPixelX();
}

float DialogPictureBox::TextHeight(std::wstring_view text) const {
    const SIZE s = TextExtent(font_ ? font_ : DialogFont(), text.data(), static_cast<int>(text.size()));
    return static_cast<float>(s.cy) * TwipsPerPixelY();
}

void DialogPictureBox::Print(std::wstring_view text) {
    HDC dc = image_.dc();
    if (!dc || image_.empty()) return;
    const int x = TwipsToPixels(currentX_, TwipsPerPixelX());
    const int y = TwipsToPixels(currentY_, TwipsPerPixelY());
    const HGDIOBJ before = SelectObject(dc, font_ ? font_ : DialogFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ResolveColour(foreColor_));
    TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
    SelectObject(dc, before);
    GdiFlush();
    currentX_ = 0;
    currentY_ += TextHeight(text);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void DialogPictureBox::Paint(HDC target) {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(target, &client, GetSysColorBrush(COLOR_BTNFACE));
    image_.CopyTo(target, 0, 0, image_.width(), image_.height());
}

LRESULT CALLBACK DialogPictureBox::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<DialogPictureBox*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (self) self->Paint(dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            if (self) self->Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_NCDESTROY:
            if (self) self->hwnd_ = nullptr;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace kpv::rt
