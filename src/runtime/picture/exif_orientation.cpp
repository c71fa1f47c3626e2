#include "runtime/picture/exif_orientation.h"

#include <cstddef>

namespace kpv::rt {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
constexpr size_t kEntrySize = 12;

class TiffBytes {
public:
    TiffBytes(std::span<const uint8_t> bytes, bool bigEndian) : bytes_(bytes), bigEndian_(bigEndian) {}
    bool Has(uint64_t offset, uint64_t n) const { return offset <= bytes_.size() && n <= bytes_.size() - offset; }
    uint16_t U16(size_t at) const {
        const uint16_t a = bytes_[at], b = bytes_[at + 1];
        return static_cast<uint16_t>(bigEndian_ ? (a << 8) | b : (b << 8) | a);
    }
    uint32_t U32(size_t at) const {
        const uint32_t hi = U16(at), lo = U16(at + 2);
        return bigEndian_ ? (hi << 16) | lo : (lo << 16) | hi;
    }
private:
    std::span<const uint8_t> bytes_;
    bool bigEndian_;
};

}  // namespace

int ExifOrientation(std::span<const uint8_t> tiff) {
    if (tiff.size() < 8) return 1;
    bool bigEndian;
    if (tiff[0] == 'I' && tiff[1] == 'I') bigEndian = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M') bigEndian = true;
    else return 1;
    const TiffBytes t(tiff, bigEndian);
    if (t.U16(2) != 42) return 1;
    const uint64_t directory = t.U32(4);
    if (!t.Has(directory, 2)) return 1;
    const unsigned entries = t.U16(directory);
    for (unsigned i = 0; i < entries; ++i) {
        const uint64_t entry = directory + 2 + uint64_t{i} * kEntrySize;
        if (!t.Has(entry, kEntrySize)) return 1;
        if (t.U16(entry) != kOrientationTag) continue;
        const uint16_t type = t.U16(entry + 2);
        if (t.U32(entry + 4) < 1) return 1;
        // A single value sits in the entry itself, at the start of the value field.
        const uint32_t value = type == kTypeShort ? t.U16(entry + 8) : type == kTypeLong ? t.U32(entry + 8) : 0;
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
    return 1;
}

}  // namespace kpv::rt
