#pragma once
// A picture box on a form: a hidden child window with a kept image. With AutoRedraw on, hDC draws into
// that image; a loaded Picture becomes the image itself when the box has the picture's size (AutoSize),
// so a large photo is never held twice. With AutoRedraw off, hDC is the box window's own DC.
// Sizes are in twips; colours are colour references (system colours included).
#include <windows.h>

#include <cstdint>

#include "runtime/forms/persistent_image_win.h"
#include "runtime/picture/picture_win.h"

namespace kpv::rt {

class Form;

class PictureBox {
public:
    explicit PictureBox(Form& parent);
    ~PictureBox();
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;

    HWND hWnd();
    HDC hDC();
    HBITMAP Image() const { return image_.bitmap(); }
    PersistentImage& KeptImage() { return image_; }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    bool AutoRedraw() const { return autoRedraw_; }
    void SetAutoRedraw(bool on) { autoRedraw_ = on; }

    // Takes the picture; an empty one releases the picture the box held. With AutoSize on the box takes
    // the picture's size. The picture's own bitmap is released before the box lets go of it.
    void SetPicture(Picture picture);
    bool HasPicture() const { return !picture_.empty(); }
    const Picture& CurrentPicture() const { return picture_; }

    uint32_t BackColor() const { return backColor_; }
    // A new background colour clears the box to it.
    void SetBackColor(uint32_t colourRef);
    // Clears what was drawn to the background colour; a picture the box shows stays.
    void Cls();

    float Width() const;
    float Height() const;
    void SetWidth(float twips);
    void SetHeight(float twips);
    int PixelWidth() const { return width_; }
    int PixelHeight() const { return height_; }

private:
    void EnsureWindow();
    void Rebuild();  // makes the kept image match the size, the picture and the background

    Form& parent_;
    HWND hwnd_ = nullptr;
    PersistentImage image_;
    Picture picture_;
    bool autoSize_ = false;
    bool autoRedraw_ = false;
    uint32_t backColor_ = 0x8000000Fu;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kpv::rt
