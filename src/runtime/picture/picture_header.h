#pragma once
// Reads a picture file's size and EXIF orientation from the file's own header, before any decoder sees it,
// and refuses sizes no decoder should be asked to allocate: a tiny JPEG that claims 60000 x 60000 pixels is
// enough to kill some decoders outright.
#include <cstddef>
#include <cstdint>
#include <span>

namespace kpv::rt {

// Random access to a file's bytes; the parser never needs the whole file in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t Size() const = 0;
    // Copies up to n bytes from offset; fewer only past the end or on a read error.
    virtual size_t ReadAt(uint64_t offset, uint8_t* out, size_t n) = 0;
};

class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t Size() const override { return bytes_.size(); }
    size_t ReadAt(uint64_t offset, uint8_t* out, size_t n) override;
private:
    std::span<const uint8_t> bytes_;
};

// Bounds on what the loader accepts. A picture at the pixel bound takes 512 MB as a 32-bit bitmap, and a
// decoder typically holds a 24-bit copy of its own (another 384 MB) until it is released; that still admits
// the 108-megapixel photos of current phone cameras. Both bounds keep every byte count inside 31 bits.
inline constexpr int kMaxPictureSide = 32767;
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 27;

enum class PictureFormat { Unknown, Bmp, Jpeg };

enum class HeaderVerdict {
    Accepted,
    NotAPicture,  // neither BMP nor JPEG by its first bytes, or a kind the loader does not decode (BMP with
                  // embedded JPEG or PNG data, arithmetic-coded JPEG)
    Damaged,      // truncated, malformed, or a size inconsistent with the file's length
    TooLarge,     // beyond kMaxPictureSide or kMaxPicturePixels
};

struct PictureHeader {
    HeaderVerdict verdict = HeaderVerdict::NotAPicture;
    PictureFormat format = PictureFormat::Unknown;
    int width = 0;         // as stored in the file; meaningful when Accepted or TooLarge
    int height = 0;
    int orientation = 1;   // EXIF orientation 1..8; 1 when absent or out of range
};

PictureHeader ReadPictureHeader(ByteSource& file);
PictureHeader ReadPictureHeader(std::span<const uint8_t> bytes);

}  // namespace kpv::rt
