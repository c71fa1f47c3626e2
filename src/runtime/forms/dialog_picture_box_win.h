#pragma once
// A picture box inside a dialog: a child window with a sunken border whose drawing goes into a kept image
// (persistent redraw), from which every repaint is served. Colours are colour references (system colours
// included); text is printed with the dialog font at the current position. Positions are in twips of the
// inner area, as the form's code computes them.
#include <windows.h>

#include <cstdint>
#include <string_view>

#include "runtime/forms/kept_image_window_win.h"

namespace kpv::rt {

class DialogPictureBox : public KeptImageWindow {
public:
    // A new box shows the button face and writes in the button text colour.
    DialogPictureBox() : KeptImageWindow(0x8000000Fu) {}

    bool Create(HWND parent, int id, const RECT& pixels, HFONT font);
    HWND hWnd() const { return hwnd_; }

    uint32_t ForeColor() const { return foreColor_; }
    void SetForeColor(uint32_t colourRef) { foreColor_ = colourRef; }
    void Cls() override;  // clears to the background colour, position back to 0, 0

    float ScaleWidth() const;   // inner area, twips
    float ScaleHeight() const;
    float TextWidth(std::wstring_view text) const;
    float TextHeight(std::wstring_view text) const;
    void SetCurrentX(float twips) { currentX_ = twips; }
    void SetCurrentY(float twips) { currentY_ = twips; }
    // Draws the text in the foreground colour with a transparent background at the current position.
    void Print(std::wstring_view text);

private:
    void PaintInto(HDC target, const RECT& part) override;
    void WindowGone() override { hwnd_ = nullptr; }

    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    uint32_t foreColor_ = 0x80000012u;  // the button text
    float currentX_ = 0;
    float currentY_ = 0;
};

}  // namespace kpv::rt
