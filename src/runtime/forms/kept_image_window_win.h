#pragma once
// What every window that keeps an image shares: its class registered once, its object found from the
// window for every message and every message handled under a guard (no exception reaches Windows),
// WM_PAINT, WM_PRINT and WM_PRINTCLIENT served from the kept image, and the background colour that Cls
// clears the image to.
#include <windows.h>

#include <cstdint>

#include "runtime/forms/persistent_image_win.h"

namespace kpv::rt {

// Registers a class of this process once, whatever thread asks first.
void RegisterClassOnce(const WNDCLASSEXW& wc);

class KeptImageWindow {
public:
    explicit KeptImageWindow(uint32_t backColor) : backColor_(backColor) {}
    virtual ~KeptImageWindow() = default;
    KeptImageWindow(const KeptImageWindow&) = delete;
    KeptImageWindow& operator=(const KeptImageWindow&) = delete;

    PersistentImage& KeptImage() { return image_; }
    const PersistentImage& KeptImage() const { return image_; }
    HBITMAP Image() const { return image_.bitmap(); }

    // Colour references: 0x00BBGGRR, or a system colour. A new background colour clears to it.
    uint32_t BackColor() const { return backColor_; }
    void SetBackColor(uint32_t colourRef);
    // Clears what was drawn to the background colour.
    virtual void Cls();

protected:
    // Creates a window of the class (registered on first use) whose messages come to OnMessage.
    HWND CreateKeptImageWindow(const wchar_t* className, UINT classStyle, DWORD exStyle, DWORD style, const RECT& px,
                               HWND parent, INT_PTR id);

    // The messages of the window; the default paints from the kept image and leaves the rest to Windows.
    virtual LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Puts part of the kept image into target at the same place.
    virtual void PaintInto(HDC target, const RECT& part);
    // The window is gone (WM_NCDESTROY): no message comes for it after this.
    virtual void WindowGone() {}

    PersistentImage image_;
    uint32_t backColor_;

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

}  // namespace kpv::rt
