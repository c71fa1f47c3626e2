#pragma once
// The orientation tag (0x0112) of an EXIF block: the TIFF structure that follows "Exif\0\0" in a JPEG's APP1
// segment, in either byte order. Some decoders give no metadata, so the loader reads it itself.
#include <cstdint>
#include <span>

namespace kpv::rt {

// The orientation 1..8 named in the first image directory of tiff; 1 when absent, malformed or out of range.
int ExifOrientation(std::span<const uint8_t> tiff);

}  // namespace kpv::rt
