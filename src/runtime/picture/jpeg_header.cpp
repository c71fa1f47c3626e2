// Walks a JPEG's marker segments up to its first scan: the frame header (any SOFn) gives the size, the first
// APP1 "Exif" segment the orientation. Garbage between segments is skipped the way common decoders skip it.
#include <algorithm>
#include <array>
#include <vector>

#include "runtime/picture/exif_orientation.h"
#include "runtime/picture/picture_header_formats.h"

namespace kpv::rt::detail {
namespace {

constexpr uint8_t kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA, kApp1 = 0xE1, kTem = 0x01;

bool IsFrameMarker(uint8_t m) {
    // C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning) share the range but are no frames.
    return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool IsStandalone(uint8_t m) { return m == kTem || (m >= 0xD0 && m <= 0xD7); }

// The least coded data a frame's scans need, in bits per 8x8 block: every block's DC difference takes a
// Huffman code of at least one bit, and in sequential frames its end-of-block code one more. Arithmetic
// coding has no such floor, so a few bytes could claim any size: such frames are refused (Windows' own
// codec does not decode them either).
int MinimumBitsPerBlock(uint8_t frameMarker) {
    if (frameMarker == 0xC0 || frameMarker == 0xC1) return 2;
    return frameMarker >= 0xC9 ? 0 : 1;
}

// Sequential reads through a small window, so hunting for a marker byte by byte stays cheap.
class ByteCursor {
public:
    explicit ByteCursor(ByteSource& file) : file_(file), size_(file.Size()) {}
    uint64_t Remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
    bool Next(uint8_t& b) {
        if (pos_ < start_ || pos_ - start_ >= length_) {
            start_ = pos_;
            length_ = file_.ReadAt(pos_, window_.data(), window_.size());
            if (length_ == 0) return false;
        }
        b = window_[pos_ - start_];
        ++pos_;
        return true;
    }
    bool Skip(uint64_t n) {
        if (n > Remaining()) return false;
        pos_ += n;
        return true;
    }
    bool Read(uint8_t* out, size_t n) {
        if (n > Remaining() || file_.ReadAt(pos_, out, n) != n) return false;
        pos_ += n;
        return true;
    }
private:
    ByteSource& file_;
    uint64_t size_;
    uint64_t pos_ = 0;
    uint64_t start_ = 0;
    size_t length_ = 0;
    std::array<uint8_t, 4096> window_{};
};

// The next marker code: skips bytes up to an 0xFF, fill bytes 0xFF, and stuffed zeros.
bool NextMarker(ByteCursor& in, uint8_t& marker) {
    uint8_t b = 0;
    for (;;) {
        do {
            if (!in.Next(b)) return false;
        } while (b != 0xFF);
        do {
            if (!in.Next(b)) return false;
        } while (b == 0xFF);
        if (b != 0) {
            marker = b;
            return true;
        }
    }
}

struct Frame {
    int width = 0;
    int height = 0;
    uint64_t minimumBlocks = 0;  // 8x8 blocks every complete set of scans must code
};

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

bool ParseFrame(const std::vector<uint8_t>& s, Frame& frame) {
    if (s.size() < 6) return false;
    const int height = (s[1] << 8) | s[2];
    const int width = (s[3] << 8) | s[4];
    const size_t components = s[5];
    // A zero height would come later in a DNL segment, which decoders commonly do not support.
    if (width == 0 || height == 0 || components == 0 || s.size() != 6 + 3 * components) return false;
    int maxH = 1, maxV = 1;
    for (size_t i = 0; i < components; ++i) {
        const int h = s[7 + 3 * i] >> 4, v = s[7 + 3 * i] & 15;
        if (h < 1 || h > 4 || v < 1 || v > 4) return false;
        maxH = std::max(maxH, h);
        maxV = std::max(maxV, v);
    }
    uint64_t blocks = 0;
    for (size_t i = 0; i < components; ++i) {
        const int h = s[7 + 3 * i] >> 4, v = s[7 + 3 * i] & 15;
        blocks += CeilDiv(CeilDiv(uint64_t(width) * h, maxH), 8) * CeilDiv(CeilDiv(uint64_t(height) * v, maxV), 8);
    }
    frame = Frame{width, height, blocks};
    return true;
}

}  // namespace

PictureHeader ReadJpegHeader(ByteSource& file) {
    PictureHeader header;
    header.format = PictureFormat::Jpeg;
    header.verdict = HeaderVerdict::Damaged;
    ByteCursor in(file);
    if (!in.Skip(2)) return header;
    bool haveFrame = false, haveExif = false;
    int bitsPerBlock = 0;
    Frame frame;
    std::vector<uint8_t> segment;
    for (;;) {
        uint8_t marker = 0;
        if (!NextMarker(in, marker)) return header;
        if (marker == kSoi || marker == kEoi) return header;  // a second image start, or an end with no scan
        if (IsStandalone(marker)) continue;
        uint8_t length[2];
        if (!in.Read(length, 2)) return header;
        const unsigned segmentLength = (length[0] << 8) | length[1];
        if (segmentLength < 2) return header;
        const size_t payload = segmentLength - 2;
        if (payload > in.Remaining()) return header;
        if (IsFrameMarker(marker)) {
            segment.resize(payload);
            if (haveFrame || !in.Read(segment.data(), payload) || !ParseFrame(segment, frame)) return header;
            haveFrame = true;
            bitsPerBlock = MinimumBitsPerBlock(marker);
            header.width = frame.width;
            header.height = frame.height;
            // An absurd size is refused as such, whatever follows it.
            if (WithinBounds({HeaderVerdict::Accepted, header.format, frame.width, frame.height}).verdict !=
                HeaderVerdict::Accepted) {
                header.verdict = HeaderVerdict::TooLarge;
                return header;
            }
            if (bitsPerBlock == 0) {
                header.verdict = HeaderVerdict::NotAPicture;
                return header;
            }
        } else if (marker == kApp1 && !haveExif) {
            segment.resize(payload);
            if (!in.Read(segment.data(), payload)) return header;
            static constexpr uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
            if (payload >= 6 && std::equal(kExif, kExif + 6, segment.begin())) {
                haveExif = true;
                header.orientation = ExifOrientation(std::span(segment).subspan(6));
            }
        } else if (marker == kSos) {
            if (!haveFrame || !in.Skip(payload)) return header;
            // A file too short for its size is cut off or lies about the size; decoders fill the rest grey.
            if (in.Remaining() < CeilDiv(frame.minimumBlocks * bitsPerBlock, 8)) return header;
            header.verdict = HeaderVerdict::Accepted;
            return header;
        } else if (!in.Skip(payload)) {
            return header;
        }
    }
}

}  // namespace kpv::rt::detail
