#include "runtime/forms/picture_box_win.h"

#include <algorithm>

#include "runtime/base/colour_win.h"
#include "runtime/forms/form_win.h"
#include "runtime/base/twips.h"
#include "runtime/base/units_win.h"

namespace kpv::rt {

namespace {
constexpr wchar_t kBoxClass[] = L"KPVPictureBox";
}  // namespace

// A new box shows the system's face colour.
PictureBox::PictureBox(Form& parent) : KeptImageWindow(0x8000000Fu), parent_(parent) {}

PictureBox::~PictureBox() {
    image_.ReleaseForeign();
    if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void PictureBox::EnsureWindow() {
    if (hwnd_ && IsWindow(hwnd_)) return;
    hwnd_ = nullptr;
    HWND owner = parent_.hWnd();
    if (!owner) return;
    // Its own DC: hDC with AutoRedraw off stays valid, and ReleaseDC on it changes nothing.
    hwnd_ = CreateKeptImageWindow(kBoxClass, CS_OWNDC, 0, WS_CHILD, RECT{0, 0, std::max(width_, 1), std::max(height_, 1)},
                                  owner, 0);
}

HWND PictureBox::hWnd() {
    EnsureWindow();
    return hwnd_;
}

HDC PictureBox::hDC() {
    if (autoRedraw_) return image_.dc();
    EnsureWindow();
    return hwnd_ ? GetDC(hwnd_) : nullptr;  // the class's own DC: the same one every time
}

void PictureBox::SetAutoSize(bool on) {
    autoSize_ = on;
    if (on && HasPicture() && (width_ != picture_.width() || height_ != picture_.height())) {
        width_ = picture_.width();
        height_ = picture_.height();
        Rebuild();
    }
}

void PictureBox::SetPicture(Picture picture) {
    image_.ReleaseForeign();
    picture_ = std::move(picture);
    if (autoSize_ && HasPicture()) {
        width_ = picture_.width();
        height_ = picture_.height();
    }
    Rebuild();
}

void PictureBox::Rebuild() {
    if (hwnd_) SetWindowPos(hwnd_, nullptr, 0, 0, std::max(width_, 1), std::max(height_, 1),
                            SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    const COLORREF back = ResolveColour(backColor_);
    if (HasPicture() && width_ == picture_.width() && height_ == picture_.height()) {
        // The picture is the image: no second full-size copy.
        image_.ShowForeign(picture_.bitmap(), picture_.bits(), picture_.width(), picture_.height());
        return;
    }
    image_.ReleaseForeign();
    image_.Resize(width_, height_, back);
    if (HasPicture() && !image_.empty()) {
        image_.Fill(back);
        UniqueMemoryDc source(CreateCompatibleDC(nullptr));
        if (source) {
            SelectedObject selected(source.get(), picture_.bitmap());
            BitBlt(image_.dc(), 0, 0, picture_.width(), picture_.height(), source.get(), 0, 0, SRCCOPY);
        }
        GdiFlush();
    }
}

void PictureBox::Cls() {
    if (image_.ShowsForeign()) return;  // the picture is the background; nothing else was drawn over it
    image_.Fill(ResolveColour(backColor_));
    if (HasPicture()) Rebuild();
}

float PictureBox::Width() const { return static_cast<float>(width_ * static_cast<double>(TwipsPerPixelX())); }
float PictureBox::Height() const { return static_cast<float>(height_ * static_cast<double>(TwipsPerPixelY())); }

void PictureBox::SetWidth(float twips) {
    const int w = std::max(0, TwipsToPixels(twips, TwipsPerPixelX()));
    if (w == width_ && (image_.width() == w || w == 0)) return;
    width_ = w;
    Rebuild();
}

void PictureBox::SetHeight(float twips) {
    const int h = std::max(0, TwipsToPixels(twips, TwipsPerPixelY()));
    if (h == height_ && (image_.height() == h || h == 0)) return;
    height_ = h;
    Rebuild();
}

}  // namespace kpv::rt
