// LoadPicture: the header is checked by our own parser before the decoder sees the file, then WIC decodes
// through a 32bppBGR converter band by band straight into the picture's DIB section. Bands keep the
// converter's scratch copy small; a quarter-turned picture goes through one band buffer on its way in.
#include <wincodec.h>

#include <algorithm>
#include <exception>
#include <vector>

#include "runtime/base/extended_path_win.h"
#include "runtime/picture/picture_header.h"
#include "runtime/picture/picture_orientation.h"
#include "runtime/picture/picture_win.h"

namespace kpv::rt {
namespace {

// Lines decoded per CopyPixels call: large enough that the call overhead vanishes, small enough that the
// converter's scratch copy (a band in the decoder's own format) stays a few megabytes.
constexpr int kBandLines = 64;

class FileBytes final : public ByteSource {
public:
    FileBytes(HANDLE file, uint64_t size) : file_(file), size_(size) {}
    uint64_t Size() const override { return size_; }
    size_t ReadAt(uint64_t offset, uint8_t* out, size_t n) override {
        if (offset >= size_) return 0;
        n = static_cast<size_t>(std::min<uint64_t>({n, size_ - offset, 1u << 30}));
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!ReadFile(file_, out, static_cast<DWORD>(n), &read, &at)) return 0;
        return read;
    }
private:
    HANDLE file_;
    uint64_t size_;
};

PictureLoadError ErrorOf(HeaderVerdict verdict) {
    switch (verdict) {
    case HeaderVerdict::Accepted: return PictureLoadError::None;
    case HeaderVerdict::NotAPicture: return PictureLoadError::NotAPicture;
    case HeaderVerdict::TooLarge: return PictureLoadError::TooLarge;
    case HeaderVerdict::Damaged: break;
    }
    return PictureLoadError::DecodeFailed;
}

GUID ContainerOf(PictureFormat format) {
    return format == PictureFormat::Jpeg ? GUID_ContainerFormatJpeg : GUID_ContainerFormatBmp;
}

bool Continues(LoadWatch* watch) { return !watch || watch->Continue(); }

// Decodes the whole frame into picture, which already has the seen size.
bool CopyInto(IWICBitmapSource* source, const PictureHeader& header, Picture& picture, LoadWatch* watch) {
    const int w = header.width, h = header.height;
    const UINT stride = static_cast<UINT>(picture.stride());
    if (header.orientation == 1) {
        for (int y = 0; y < h; y += kBandLines) {
            const int lines = std::min(kBandLines, h - y);
            const WICRect band{0, y, w, lines};
            auto* first = reinterpret_cast<BYTE*>(picture.bits()) + size_t{stride} * y;
            if (FAILED(source->CopyPixels(&band, stride, stride * lines, first))) return false;
            ClearFourthByte(reinterpret_cast<uint32_t*>(first), size_t(w) * lines);
            if (!Continues(watch)) return false;
        }
        return true;
    }
    std::vector<uint32_t> buffer(size_t(w) * kBandLines);
    const BandLayout layout{w, h, header.orientation};
    for (int y = 0; y < h; y += kBandLines) {
        const int lines = std::min(kBandLines, h - y);
        const WICRect band{0, y, w, lines};
        if (FAILED(source->CopyPixels(&band, w * 4, w * 4 * lines, reinterpret_cast<BYTE*>(buffer.data()))))
            return false;
        PlaceBand(layout, buffer.data(), size_t(w), y, lines, picture.bits(), size_t(picture.width()));
        if (!Continues(watch)) return false;
    }
    return true;
}

Picture Decode(const std::wstring& openPath, const PictureHeader& header, LoadWatch* watch) {
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))))
        return {};
    // By name rather than by our handle: from a handle WIC maps the whole file, which costs the compressed
    // file's size in memory on top of the decode. The caller's handle keeps the file from being changed.
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(openPath.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())))
        return {};
    GUID container{};
    if (FAILED(decoder->GetContainerFormat(&container)) || container != ContainerOf(header.format)) return {};
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return {};
    UINT w = 0, h = 0;
    // The bounds were checked on the header's size; the decoder must agree with it.
    if (FAILED(frame->GetSize(&w, &h)) || int(w) != header.width || int(h) != header.height) return {};
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return {};
    const bool turned = SwapsAxes(header.orientation);
    Picture picture = Picture::Create(turned ? header.height : header.width, turned ? header.width : header.height);
    if (picture.empty() || !CopyInto(converter.get(), header, picture, watch)) return {};
    return picture;
}

}  // namespace

Picture LoadPicture(const std::wstring& path, PictureLoadError* error, LoadWatch* watch) {
    PictureLoadError ignored;
    PictureLoadError& why = error ? *error : ignored;
    why = PictureLoadError::DecodeFailed;
    try {
        // Shared for reading only, and held until the decode is done: nobody can write, delete or replace the
        // file in between, so the decoder opens the very file whose header was checked. Both open it by its
        // extended-length name, so neither the path's length nor a name like a device's keeps it out.
        const std::wstring openPath = FileOpenPath(path);
        UniqueFile file(CreateFileW(openPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
        LARGE_INTEGER size{};
        if (!file || !GetFileSizeEx(file.get(), &size)) {
            why = PictureLoadError::Missing;
            return {};
        }
        FileBytes bytes(file.get(), static_cast<uint64_t>(size.QuadPart));
        const PictureHeader header = ReadPictureHeader(bytes);
        if (header.verdict != HeaderVerdict::Accepted) {
            why = ErrorOf(header.verdict);
            return {};
        }
        if (!Continues(watch)) {
            why = PictureLoadError::Stopped;
            return {};
        }
        // COM for this thread while Decode runs (if the caller has not entered it); Decode releases every
        // object it made before it returns.
        ComApartment apartment;
        Picture picture = Decode(openPath, header, watch);
        if (!picture.empty()) why = PictureLoadError::None;
        else if (!Continues(watch)) why = PictureLoadError::Stopped;
        return picture;
    } catch (const std::exception&) {  // memory for the band buffer; never past the caller's window procedure
        return {};
    }
}

}  // namespace kpv::rt
