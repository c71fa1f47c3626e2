#include "runtime/picture/picture_header.h"

#include <algorithm>
#include <cstring>

#include "runtime/picture/picture_header_formats.h"

namespace kpv::rt {

size_t MemoryByteSource::ReadAt(uint64_t offset, uint8_t* out, size_t n) {
    if (offset >= bytes_.size()) return 0;
    const size_t count = static_cast<size_t>(std::min<uint64_t>(n, bytes_.size() - offset));
    std::memcpy(out, bytes_.data() + offset, count);
    return count;
}

namespace detail {

PictureHeader WithinBounds(PictureHeader header) {
    if (header.verdict != HeaderVerdict::Accepted) return header;
    const int64_t pixels = int64_t{header.width} * header.height;
    if (header.width > kMaxPictureSide || header.height > kMaxPictureSide || pixels > kMaxPicturePixels)
        header.verdict = HeaderVerdict::TooLarge;
    return header;
}

}  // namespace detail

PictureHeader ReadPictureHeader(ByteSource& file) {
    uint8_t magic[2] = {};
    if (file.ReadAt(0, magic, 2) == 2) {
        if (magic[0] == 0xFF && magic[1] == 0xD8) return detail::WithinBounds(detail::ReadJpegHeader(file));
        if (magic[0] == 'B' && magic[1] == 'M') return detail::WithinBounds(detail::ReadBmpHeader(file));
    }
    return PictureHeader{};
}

PictureHeader ReadPictureHeader(std::span<const uint8_t> bytes) {
    MemoryByteSource source(bytes);
    return ReadPictureHeader(source);
}

}  // namespace kpv::rt
