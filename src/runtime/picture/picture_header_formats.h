#pragma once
// The per-format halves of ReadPictureHeader; each expects a file whose magic bytes it has already been
// chosen by.
#include "runtime/picture/picture_header.h"

namespace kpv::rt::detail {

PictureHeader ReadJpegHeader(ByteSource& file);
PictureHeader ReadBmpHeader(ByteSource& file);

// Accepted stays Accepted only when the size is within kMaxPictureSide and kMaxPicturePixels.
PictureHeader WithinBounds(PictureHeader header);

}  // namespace kpv::rt::detail
