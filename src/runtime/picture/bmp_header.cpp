// A BMP's size from its file header and its core, info, v4 or v5 header; the pixel data an uncompressed
// bitmap claims must lie inside the file.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "runtime/picture/picture_header_formats.h"

namespace kpv::rt::detail {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }

bool KnownInfoHeaderSize(uint32_t size) {
    // info, the two extended info variants, the OS/2 version 2 header, v4 and v5
    return size == 40 || size == 52 || size == 56 || size == 64 || size == 108 || size == 124;
}

bool DepthFits(uint32_t compression, unsigned bits) {
    switch (compression) {
    case kBiRgb: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kBiRle8: return bits == 8;
    case kBiRle4: return bits == 4;
    case kBiBitfields:
    case kBiAlphaBitfields: return bits == 16 || bits == 32;
    default: return false;
    }
}

}  // namespace

PictureHeader ReadBmpHeader(ByteSource& file) {
    PictureHeader header;
    header.format = PictureFormat::Bmp;
    header.verdict = HeaderVerdict::Damaged;
    const uint64_t fileSize = file.Size();
    uint8_t h[kFileHeaderSize + 40] = {};
    if (file.ReadAt(0, h, kFileHeaderSize + 4) != kFileHeaderSize + 4) return header;
    const uint32_t pixelOffset = U32(h + 10);
    const uint32_t infoSize = U32(h + 14);
    const bool core = infoSize == kCoreHeaderSize;
    if (!core && !KnownInfoHeaderSize(infoSize)) return header;
    const size_t needed = core ? kCoreHeaderSize : 40;
    if (file.ReadAt(kFileHeaderSize, h + kFileHeaderSize, needed) != needed) return header;

    int64_t width, height;
    unsigned bits;
    uint32_t compression = kBiRgb;
    if (core) {
        width = U16(h + 18);
        height = U16(h + 20);
        bits = U16(h + 24);
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return header;
    } else {
        width = static_cast<int32_t>(U32(h + 18));
        height = static_cast<int32_t>(U32(h + 22));  // negative: stored top line first
        bits = U16(h + 28);
        compression = U32(h + 30);
        if (!DepthFits(compression, bits)) {
            // Embedded JPEG or PNG data and the like: a kind of BMP this loader does not decode.
            header.verdict = HeaderVerdict::NotAPicture;
            return header;
        }
    }
    const bool runLength = compression == kBiRle8 || compression == kBiRle4;
    if (width <= 0 || height == 0 || (runLength && height < 0)) return header;
    const int64_t lines = std::llabs(height);

    header.width = static_cast<int>(std::min<int64_t>(width, INT32_MAX));
    header.height = static_cast<int>(std::min<int64_t>(lines, INT32_MAX));
    if (WithinBounds({HeaderVerdict::Accepted, header.format, header.width, header.height}).verdict !=
        HeaderVerdict::Accepted) {
        header.verdict = HeaderVerdict::TooLarge;
        return header;
    }
    // Pixels that start inside the headers, or beyond the end, are not pixels.
    if (pixelOffset < kFileHeaderSize + infoSize || pixelOffset >= fileSize) return header;
    if (!runLength) {
        const uint64_t rowBytes = (uint64_t(width) * bits + 31) / 32 * 4;
        const uint64_t lastRowBytes = (uint64_t(width) * bits + 7) / 8;  // its padding may be missing
        if (uint64_t{pixelOffset} + rowBytes * uint64_t(lines - 1) + lastRowBytes > fileSize) return header;
    }
    header.verdict = HeaderVerdict::Accepted;
    return header;
}

}  // namespace kpv::rt::detail
