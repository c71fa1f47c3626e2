#pragma once
// A form: a borderless window whose drawing goes into a kept image (memory DC + DIB section the size of
// the window). hDC draws into that image; Refresh puts it, or just the part that changed, on the screen;
// WM_PAINT, WM_PRINT and WM_PRINTCLIENT are served from it. Sizes are in twips.
// Events are delivered only from the message loop, as virtual handlers named like the events.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/forms/kept_image_window_win.h"

namespace kpv::rt {

class Timer;

class Form : public KeptImageWindow {
public:
    Form();
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window (hidden) and runs Form_Load. A form counts as open from here until it unloads.
    void Load();
    // Shows the form modeless; a top-level form is brought to the front so that it gets the keyboard.
    void Show();
    // Runs Form_Unload; unless it cancels, the window goes and the form no longer counts as open.
    void Unload();
    bool IsLoaded() const { return loaded_; }

    HWND hWnd() const { return hwnd_; }
    HDC hDC() const { return image_.dc(); }

    float Left() const;
    float Top() const;
    float Width() const;
    float Height() const;
    void SetLeft(float twips);
    void SetTop(float twips);
    void SetWidth(float twips);
    void SetHeight(float twips);
    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }

    void SetCaption(const std::wstring& caption);

    // Puts the whole kept image on the screen.
    void Refresh();
    // Puts only the given part of the kept image on the screen: the cost stays that of the part.
    void Refresh(const RECT& changed);

protected:
    virtual void Form_Load() {}
    virtual void Form_Click() {}
    virtual void Form_KeyDown(int keyCode, int shift) { (void)keyCode; (void)shift; }
    virtual void Form_KeyPress(int keyAscii) { (void)keyAscii; }
    virtual void Form_MouseMove(int button, int shift, float x, float y) {
        (void)button; (void)shift; (void)x; (void)y;
    }
    // The display configuration changed (a monitor added or removed, another resolution).
    virtual void Form_DisplayChange() {}
    // cancel = true keeps the form loaded (ignored when the window is already being destroyed from outside).
    virtual void Form_Unload(bool& cancel) { (void)cancel; }
    // A message of the program's own (WM_APP and above), sent or posted to the form's window.
    virtual void Form_AppMessage(UINT msg, WPARAM wParam, LPARAM lParam) { (void)msg; (void)wParam; (void)lParam; }

private:
    friend class Timer;
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    void WindowGone() override;
    void EnsureWindow();
    void ApplyBounds();
    void Closed();
    void UnloadFromOutside();
    UINT_PTR AddTimer(Timer* timer);  // gives the timer its id on this form
    void RemoveTimer(Timer* timer);

    HWND hwnd_ = nullptr;
    std::vector<Timer*> timers_;
    UINT_PTR nextTimerId_ = 1;
    bool loaded_ = false;
    bool unloading_ = false;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
};

// Mouse and key state as the events report it: buttons 1 left, 2 right, 4 middle; shift 1, ctrl 2, alt 4.
int MouseButtonsFromWParam(WPARAM wParam);
int ShiftStateNow();

}  // namespace kpv::rt
