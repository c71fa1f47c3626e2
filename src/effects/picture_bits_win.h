#pragma once
// Moves a bitmap's pixels into a PixelGrid and back through the device-independent bitmap calls, always as
// 32 bits per pixel, uncompressed. Works on device-dependent bitmaps and DIB sections alike.
#include <windows.h>

#include "effects/pixel_grid.h"

namespace kpv {

// The bitmap's width and height in pixels; 0 x 0 when the handle names no bitmap.
SIZE PictureSize(HBITMAP image);

// Copies the image into the grid, the picture's top line into grid line 0. boxDc is the device context the
// image may be selected into (nullptr when it is in none); on return it holds what it held before.
// The grid must have the image's size. On any failure the user is told "ビットマップデータの取得に失敗しました。",
// the grid keeps its contents, and the result is false.
bool ReadPictureBits(HDC boxDc, HBITMAP image, PixelGrid& grid);

// Replaces the image's pixels with the grid's, which must have the image's size. On any failure the user is
// told "ビットマップデータの書き込みに失敗しました。" and the result is false; when nothing could be written
// (wrong size, no bitmap) the image keeps its pixels.
bool WritePictureBits(HDC boxDc, HBITMAP image, const PixelGrid& grid);

}  // namespace kpv
