#pragma once
// Little-endian values (as the registry stores them), JPEG marker streams and BMP files byte by byte, so tests
// control every field; pure, so native and Windows tests share it.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace kpv::test {

using Bytes = std::vector<uint8_t>;

inline void PutBe16(Bytes& b, unsigned v) { b.push_back(uint8_t(v >> 8)); b.push_back(uint8_t(v)); }
inline void PutLe16(Bytes& b, unsigned v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
inline void PutLe32(Bytes& b, uint32_t v) { PutLe16(b, v & 0xFFFF); PutLe16(b, v >> 16); }
inline void PutBe32(Bytes& b, uint32_t v) { PutBe16(b, v >> 16); PutBe16(b, v & 0xFFFF); }
inline Bytes Le16(unsigned v) { Bytes b; PutLe16(b, v); return b; }
inline Bytes Le32(uint32_t v) { Bytes b; PutLe32(b, v); return b; }

class JpegBytes {
public:
    JpegBytes() { bytes_ = {0xFF, 0xD8}; }
    JpegBytes& Segment(uint8_t marker, const Bytes& payload) {
        bytes_.push_back(0xFF);
        bytes_.push_back(marker);
        PutBe16(bytes_, static_cast<unsigned>(payload.size() + 2));
        bytes_.insert(bytes_.end(), payload.begin(), payload.end());
        return *this;
    }
    JpegBytes& App(uint8_t n, size_t size, uint8_t fill = 0x41) { return Segment(uint8_t(0xE0 + n), Bytes(size, fill)); }
    JpegBytes& Exif(const Bytes& tiff) {
        Bytes p = {'E', 'x', 'i', 'f', 0, 0};
        p.insert(p.end(), tiff.begin(), tiff.end());
        return Segment(0xE1, p);
    }
    JpegBytes& Tables() { return Segment(0xDB, Bytes(65, 1)).Segment(0xC4, Bytes(29, 0)); }
    // components: sampling factors as 0xHV, one per component
    JpegBytes& Frame(uint8_t marker, unsigned width, unsigned height, std::initializer_list<uint8_t> sampling = {0x22, 0x11, 0x11}) {
        Bytes p = {8};
        PutBe16(p, height);
        PutBe16(p, width);
        p.push_back(static_cast<uint8_t>(sampling.size()));
        uint8_t id = 1;
        for (uint8_t s : sampling) { p.push_back(id++); p.push_back(s); p.push_back(0); }
        return Segment(marker, p);
    }
    JpegBytes& Scan(size_t dataBytes) {
        Segment(0xDA, Bytes{1, 1, 0, 0, 63, 0});
        for (size_t i = 0; i < dataBytes; ++i) bytes_.push_back(static_cast<uint8_t>(i % 251 == 250 ? 0 : 0x5A));
        return *this;
    }
    JpegBytes& Raw(const Bytes& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); return *this; }
    JpegBytes& End() { bytes_.push_back(0xFF); bytes_.push_back(0xD9); return *this; }
    const Bytes& bytes() const { return bytes_; }
private:
    Bytes bytes_;
};

// A TIFF structure with one image directory holding the given (tag, type, value) entries.
struct TiffEntry { uint16_t tag; uint16_t type; uint32_t value; };
inline Bytes Tiff(bool bigEndian, std::initializer_list<TiffEntry> entries) {
    Bytes b;
    auto u16 = [&](unsigned v) { bigEndian ? PutBe16(b, v) : PutLe16(b, v); };
    auto u32 = [&](uint32_t v) { bigEndian ? PutBe32(b, v) : PutLe32(b, v); };
    b.push_back(bigEndian ? 'M' : 'I');
    b.push_back(bigEndian ? 'M' : 'I');
    u16(42);
    u32(8);
    u16(static_cast<unsigned>(entries.size()));
    for (const TiffEntry& e : entries) {
        u16(e.tag);
        u16(e.type);
        u32(1);
        if (e.type == 3) { u16(e.value); u16(0); } else { u32(e.value); }
    }
    u32(0);  // no further directory
    return b;
}

struct BmpFields {
    uint32_t infoSize = 40;
    int32_t width = 4;
    int32_t height = 3;
    uint16_t bits = 24;
    uint32_t compression = 0;
    uint32_t paletteEntries = 0;
    int64_t pixelOffset = -1;   // -1: right after the headers and palette
    int64_t pixelBytes = -1;    // -1: exactly what the size needs
};

inline Bytes Bmp(const BmpFields& f) {
    const bool core = f.infoSize == 12;
    const uint32_t entrySize = core ? 3 : 4;
    const uint32_t headers = 14 + f.infoSize + f.paletteEntries * entrySize;
    const uint32_t offset = f.pixelOffset < 0 ? headers : static_cast<uint32_t>(f.pixelOffset);
    const uint64_t stride = (uint64_t(f.width) * f.bits + 31) / 32 * 4;
    const uint64_t lines = f.height < 0 ? -int64_t{f.height} : f.height;
    const uint64_t pixels = f.pixelBytes < 0 ? stride * lines : uint64_t(f.pixelBytes);
    Bytes b = {'B', 'M'};
    PutLe32(b, static_cast<uint32_t>(offset + pixels));
    PutLe32(b, 0);
    PutLe32(b, offset);
    PutLe32(b, f.infoSize);
    if (core) {
        PutLe16(b, f.width); PutLe16(b, f.height); PutLe16(b, 1); PutLe16(b, f.bits);
    } else {
        PutLe32(b, f.width); PutLe32(b, f.height); PutLe16(b, 1); PutLe16(b, f.bits);
        PutLe32(b, f.compression);
        b.resize(14 + f.infoSize, 0);
    }
    b.resize(headers, 0x20);
    b.resize(std::max<uint64_t>(b.size(), offset), 0);
    b.resize(std::max<uint64_t>(b.size(), offset + pixels), 0x7F);
    return b;
}

// A 24-bit BMP whose pixel (x, y) is colour(x, y) as 0x00RRGGBB; stored bottom line first, as usual, or top
// line first for a negative height.
template <typename Colour>
Bytes Bmp24(int width, int height, Colour colour) {
    Bytes b = Bmp({.width = width, .height = height});
    const int lines = height < 0 ? -height : height;
    const size_t stride = (size_t(width) * 3 + 3) / 4 * 4;
    for (int y = 0; y < lines; ++y) {
        uint8_t* line = b.data() + 54 + size_t(height < 0 ? y : lines - 1 - y) * stride;
        std::fill(line, line + stride, 0);
        for (int x = 0; x < width; ++x) {
            const uint32_t c = colour(x, y);
            line[x * 3] = uint8_t(c), line[x * 3 + 1] = uint8_t(c >> 8), line[x * 3 + 2] = uint8_t(c >> 16);
        }
    }
    return b;
}

}  // namespace kpv::test
