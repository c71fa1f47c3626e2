#pragma once
// A picture box on a form: a hidden child window with a kept image. With AutoRedraw on, hDC draws into
// that image; a loaded Picture becomes the image itself when the box has the picture's size (AutoSize),
// so a large photo is never held twice. With AutoRedraw off, hDC is the box window's own DC.
// Sizes are in twips; colours are colour references (system colours included).
#include <windows.h>

#include <cstdint>

#include "runtime/forms/kept_image_window_win.h"
#include "runtime/picture/picture_win.h"

namespace kpv::rt {

class Form;

class PictureBox : public KeptImageWindow {
public:
    explicit PictureBox(Form& parent);
    ~PictureBox() override;
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    HWND hWnd();
    HDC hDC();

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on) { autoRedraw_ = on; }

    // Takes the picture; an empty one releases the picture the box held. With AutoSize on the box takes
    // the picture's size. The picture's own bitmap is released before the box lets go of it.
    void SetPicture(Picture picture);
    bool HasPicture() const { return !picture_.empty(); }

    // Clears what was drawn to the background colour; a picture the box shows stays.
    void Cls() override;

    float Width() const;
    float Height() const;
    void SetWidth(float twips);
    void SetHeight(float twips);
    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }

private:
    void WindowGone() override { hwnd_ = nullptr; }
    void EnsureWindow();
    void Rebuild();  // makes the kept image match the size, the picture and the background

    Form& parent_;
    HWND hwnd_ = nullptr;
    Picture picture_;
    bool autoSize_ = false;
    bool autoRedraw_ = false;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kpv::rt
