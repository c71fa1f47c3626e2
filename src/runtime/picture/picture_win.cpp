#include "runtime/picture/picture_win.h"

#include "runtime/picture/picture_header.h"

namespace kpv::rt {

Picture Picture::Create(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide ||
        int64_t{width} * height > kMaxPicturePixels)
        return {};
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top line first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    Picture picture;
    picture.bitmap_ = std::move(bitmap);
    picture.bits_ = static_cast<uint32_t*>(bits);
    picture.width_ = width;
    picture.height_ = height;
    return picture;
}

}  // namespace kpv::rt
