#include "runtime/forms/dialog_picture_box_win.h"

#include <string>

#include "runtime/base/colour_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/forms/dialog_font_win.h"
#include "runtime/base/twips.h"
#include "runtime/base/units_win.h"

namespace kpv::rt {

namespace {
constexpr wchar_t kClass[] = L"KpvPictureBox";
}  // namespace

bool DialogPictureBox::Create(HWND parent, int id, const RECT& px, HFONT font) {
    font_ = font;
    // It starts a group of its own, so the arrow keys of the option buttons before it never land on it.
    hwnd_ = CreateKeptImageWindow(kClass, 0, WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | WS_GROUP, px, parent, id);
    if (!hwnd_) return false;
    RECT client;
    GetClientRect(hwnd_, &client);
    image_.Resize(client.right, client.bottom, ResolveColour(backColor_));
    return true;
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
    {
        const SelectedObject font(dc, font_ ? font_ : DialogFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ResolveColour(foreColor_));
        TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
    }
    GdiFlush();
    currentX_ = 0;
    currentY_ += TextHeight(text);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

// The client area may be larger than the image by the border's rounding: the rest shows the button face.
void DialogPictureBox::PaintInto(HDC target, const RECT&) {
    RECT client{};
    if (hwnd_ && GetClientRect(hwnd_, &client)) FillRect(target, &client, GetSysColorBrush(COLOR_BTNFACE));
    image_.CopyTo(target, 0, 0, image_.width(), image_.height());
}

}  // namespace kpv::rt
