#include "effects/picture_bits_win.h"

#include <cstdint>
#include <new>
#include <optional>
#include <vector>

#include "effects/transfer_layout.h"
#include "runtime/base/handles_win.h"
#include "runtime/base/msgbox_win.h"

namespace kpv {

namespace {

constexpr wchar_t kReadFailed[] = L"ビットマップデータの取得に失敗しました。";
constexpr wchar_t kWriteFailed[] = L"ビットマップデータの書き込みに失敗しました。";

// 32 bits per pixel, uncompressed, positive height: the buffer starts with the picture's bottom line.
BITMAPINFO TransferHeader(int32_t width, int32_t height, int32_t imageBytes) {
    BITMAPINFO info{};
    BITMAPINFOHEADER& h = info.bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(imageBytes);
    return info;
}

// Windows reads and writes a bitmap's bits only while no device context holds it. A one-pixel scratch bitmap
// takes the image's place in the box's context for the transfer; the previous selection goes back before
// the scratch is deleted, on every path. Without a box context, a memory context serves the calls.
class TransferDc {
public:
    explicit TransferDc(HDC boxDc)
        : own_(boxDc ? nullptr : CreateCompatibleDC(nullptr)),
          dc_(boxDc ? boxDc : own_.get()),
          scratch_(boxDc ? CreateCompatibleBitmap(boxDc, 1, 1) : nullptr),
          selected_(dc_, scratch_.get()) {}
    HDC get() const { return dc_; }

private:
    rt::UniqueMemoryDc own_;
    HDC dc_;
    rt::UniqueBitmap scratch_;
    rt::SelectedObject selected_;  // declared last: restored first
};

// The transfer's size when the image and the grid agree on one that fits; nothing otherwise.
std::optional<int32_t> CheckedTransfer(HBITMAP image, const PixelGrid& grid) {
    const SIZE size = PictureSize(image);
    if (grid.Width() != size.cx || grid.Height() != size.cy) return std::nullopt;
    return TransferImageBytes(size.cx, size.cy);
}

bool Fail(const wchar_t* message) {
    rt::MsgBox(message, rt::kMsgExclamation);
    return false;
}

}  // namespace

SIZE PictureSize(HBITMAP image) {
    BITMAP record{};
    if (!image || GetObjectW(image, sizeof(record), &record) != sizeof(record)) return SIZE{0, 0};
    return SIZE{record.bmWidth, record.bmHeight < 0 ? -record.bmHeight : record.bmHeight};
}

bool ReadPictureBits(HDC boxDc, HBITMAP image, PixelGrid& grid) {
    const std::optional<int32_t> bytes = CheckedTransfer(image, grid);
    if (!bytes) return Fail(kReadFailed);
    std::vector<uint32_t> buffer;
    try {
        buffer.assign(static_cast<size_t>(*bytes) / 4, 0u);
    } catch (const std::bad_alloc&) {
        return Fail(kReadFailed);
    }
    BITMAPINFO info = TransferHeader(grid.Width(), grid.Height(), *bytes);
    int lines = 0;
    {
        TransferDc dc(boxDc);
        lines = GetDIBits(dc.get(), image, 0, static_cast<UINT>(grid.Height()), buffer.data(), &info,
                          DIB_RGB_COLORS);
    }
    // Fewer lines than asked for would leave part of the picture black: as bad as none.
    if (lines != grid.Height()) return Fail(kReadFailed);
    BufferToGrid(buffer.data(), grid);
    return true;
}

bool WritePictureBits(HDC boxDc, HBITMAP image, const PixelGrid& grid) {
    const std::optional<int32_t> bytes = CheckedTransfer(image, grid);
    if (!bytes) return Fail(kWriteFailed);
    std::vector<uint32_t> buffer;
    try {
        buffer.resize(static_cast<size_t>(*bytes) / 4);
    } catch (const std::bad_alloc&) {
        return Fail(kWriteFailed);
    }
    GridToBuffer(grid, buffer.data());
    const BITMAPINFO info = TransferHeader(grid.Width(), grid.Height(), *bytes);
    int lines = 0;
    {
        TransferDc dc(boxDc);
        lines = SetDIBits(dc.get(), image, 0, static_cast<UINT>(grid.Height()), buffer.data(), &info,
                          DIB_RGB_COLORS);
    }
    if (lines != grid.Height()) return Fail(kWriteFailed);
    return true;
}

}  // namespace kpv
