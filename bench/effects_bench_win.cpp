// What a colour effect adds to preparing a large photo for a 1024 x 768 window: time and peak memory.
// Every variant runs in a fresh process (so that its peak memory is its own), the variants taking turns.
// The show's own picture preparation, preparing the photo again after the window's first preparation:
//   prepare        no effect
//   prepare-sepia  sepia always, recoloured where the picture landed after the scaled copy (as the show does)
// and both alternating in one process, which cancels most of the drift of a busy machine.
// Alternatives, on the decoded photo and the same pixel-picking copy, for comparison:
//   plain          decode, copy
//   scaled         decode, copy, sepia where the picture landed
//   inmemory       decode, sepia on the whole photo in its own memory, copy
// Run by hand (after a ctest run or tests/harness/session.sh start build/windows):
//   tests/harness/wine-run.sh build/windows/bench/effects_bench_win.exe [photo] [rounds]
// The default photo is Debian's 5640 x 3172 Elephants from mate-backgrounds.
#include <windows.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "effects/colour_effect_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/base/units_win.h"
#include "show/prepare_picture_win.h"
#include "show/run_state_win.h"
#include "run_self_win.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWindowWidth = 1024, kWindowHeight = 768;
const wchar_t* const kShowVariants[] = {L"prepare", L"prepare-sepia"};
const wchar_t* const kAlternatives[] = {L"plain", L"scaled", L"inmemory"};
constexpr int kPreparationsPerProcess = 3;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double PeakWorkingSetMb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize / 1048576.0;
}

// What a variant reports: its time, a second time (after decoding, or the other half of the alternation)
// and its peak working set.
struct Figures {
    double ms = 0, otherMs = 0, peakMb = 0;
};

void Report(const Figures& f) { std::printf("%.2f %.2f %.1f\n", f.ms, f.otherMs, f.peakMb); }

// A preparation called directly: nothing ever stops it.
class NeverStop final : public kpv::PreparationControl {
public:
    bool Continue() override { return true; }
    void Attempting(const std::wstring&) override {}
};

// A run with one picture and the given colour effect (0 none, 2 sepia).
std::shared_ptr<kpv::RunState> OnePictureRun(const std::wstring& path, int16_t edit) {
    kpv::SaverSettingsRecord settings;
    settings.BlockSize = 5;
    settings.Interval = 1;
    settings.BackGround = 1;
    settings.BackColor = 0x00996633;
    settings.Edit = edit;
    settings.Case = 0;
    auto run = std::make_shared<kpv::RunState>(settings, 1);
    run->group.PublishPictures({path});
    return run;
}

// The preparation worker's own work for a 1024 x 768 window, called directly, the photo prepared again
// and again.
int RunShowVariant(const std::wstring& variant, const std::wstring& path, int rounds) {
    const bool alternate = variant == L"prepare-alternating";
    const auto plainRun = OnePictureRun(path, 0);
    const auto sepiaRun = OnePictureRun(path, 2);
    kpv::PreparationRequest request;
    request.run = variant == L"prepare-sepia" ? sepiaRun : plainRun;
    request.random = std::make_shared<kpv::rt::ClockSeededRandom>();
    request.windowWidth = static_cast<float>(kWindowWidth * double{kpv::rt::TwipsPerPixelX()});
    request.windowHeight = static_cast<float>(kWindowHeight * double{kpv::rt::TwipsPerPixelY()});
    request.twipsPerPixelX = kpv::rt::TwipsPerPixelX();
    request.twipsPerPixelY = kpv::rt::TwipsPerPixelY();
    request.pixelWidth = kWindowWidth;
    request.pixelHeight = kWindowHeight;
    NeverStop control;
    std::vector<double> plain, sepia;
    const int preparations = alternate ? 2 * rounds : kPreparationsPerProcess;
    for (int i = 0; i < preparations; ++i) {
        if (alternate) request.run = i % 2 == 0 ? plainRun : sepiaRun;
        const auto start = Clock::now();
        const kpv::PreparedPicture prepared = kpv::PreparePicture(request, control);  // the same photo every time
        (request.run == plainRun ? plain : sepia).push_back(Ms(Clock::now() - start));
    }
    plainRun->group.End(kpv::RunEnd::Stopped);
    sepiaRun->group.End(kpv::RunEnd::Stopped);
    if (alternate) {
        Report({Median(plain), Median(sepia), PeakWorkingSetMb()});
    } else {
        Report({Median(plain.empty() ? sepia : plain), 0, PeakWorkingSetMb()});
    }
    return 0;
}

struct Image {
    kpv::rt::UniqueBitmap bitmap;
    uint32_t* bits = nullptr;
    int width = 0, height = 0;
};

Image TopDownImage(int w, int h) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    Image image;
    void* bits = nullptr;
    image.bitmap.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    image.bits = static_cast<uint32_t*>(bits);
    image.width = w;
    image.height = h;
    return image;
}

Image Decode(const std::wstring& path) {
    kpv::rt::ComPtr<IWICImagingFactory> factory;
    kpv::rt::ComPtr<IWICBitmapDecoder> decoder;
    kpv::rt::ComPtr<IWICBitmapFrameDecode> frame;
    kpv::rt::ComPtr<IWICFormatConverter> converter;
    UINT w = 0, h = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&w, &h)))
        return {};
    Image image = TopDownImage(static_cast<int>(w), static_cast<int>(h));
    if (!image.bits || FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, reinterpret_cast<BYTE*>(image.bits))))
        return {};
    return image;
}

// The fitted place of the picture in the window, as picture preparation computes it for the common cases.
RECT Fitted(int w, int h) {
    if (w <= kWindowWidth && h <= kWindowHeight)
        return RECT{(kWindowWidth - w) / 2, (kWindowHeight - h) / 2, (kWindowWidth + w) / 2, (kWindowHeight + h) / 2};
    const double scale = std::min(double(kWindowWidth) / w, double(kWindowHeight) / h);
    const int dw = int(w * scale + 0.5), dh = int(h * scale + 0.5);
    const int x = (kWindowWidth - dw) / 2, y = (kWindowHeight - dh) / 2;
    return RECT{x, y, x + dw, y + dh};
}

void CopyFitted(const Image& picture, const Image& window, const RECT& place) {
    kpv::rt::UniqueMemoryDc to(CreateCompatibleDC(nullptr)), from(CreateCompatibleDC(nullptr));
    kpv::rt::SelectedObject toSel(to.get(), window.bitmap.get()), fromSel(from.get(), picture.bitmap.get());
    SetStretchBltMode(to.get(), COLORONCOLOR);
    StretchBlt(to.get(), place.left, place.top, place.right - place.left, place.bottom - place.top, from.get(), 0, 0,
               picture.width, picture.height, SRCCOPY);
    GdiFlush();
}

int RunAlternative(const std::wstring& variant, const std::wstring& path) {
    kpv::rt::ComApartment com;
    Image window = TopDownImage(kWindowWidth, kWindowHeight);
    std::fill(window.bits, window.bits + kWindowWidth * kWindowHeight, 0x00336699u);
    const auto start = Clock::now();
    Image picture = Decode(path);
    if (!picture.bits) {
        std::fwprintf(stderr, L"cannot decode %ls\n", path.c_str());
        return 2;
    }
    const auto decoded = Clock::now();
    const RECT whole{0, 0, picture.width, picture.height};
    if (variant == L"inmemory")
        kpv::ApplyColourEffectToImage(picture.bits, picture.width, picture.height, whole, kpv::EffectKind::Sepia);
    const RECT place = Fitted(picture.width, picture.height);
    CopyFitted(picture, window, place);
    if (variant == L"scaled")
        kpv::ApplyColourEffectToImage(window.bits, kWindowWidth, kWindowHeight, place, kpv::EffectKind::Sepia);
    const auto end = Clock::now();
    Report({Ms(end - start), Ms(end - decoded), PeakWorkingSetMb()});
    return 0;
}

// Runs this program for one variant in a fresh process and reads back its figures.
bool Measure(const std::wstring& variant, const std::wstring& path, int rounds, Figures* f) {
    std::string output;
    if (!RunSelfAndCapture(L"--variant " + variant + L" \"" + path + L"\" " + std::to_wstring(rounds), &output))
        return false;
    return std::sscanf(output.c_str(), "%lf %lf %lf", &f->ms, &f->otherMs, &f->peakMb) == 3;
}

// Runs the variants in turns and prints their medians, the first variant as the base of the ratios.
template <size_t N>
bool Table(const wchar_t* const (&variants)[N], const std::wstring& path, int rounds, bool afterDecode) {
    std::map<std::wstring, std::vector<double>> times, rest, peaks;
    for (int round = 0; round < rounds; ++round) {
        for (const wchar_t* variant : variants) {
            Figures f;
            if (!Measure(variant, path, rounds, &f)) {
                std::fwprintf(stderr, L"variant %ls failed\n", variant);
                return false;
            }
            times[variant].push_back(f.ms);
            rest[variant].push_back(f.otherMs);
            peaks[variant].push_back(f.peakMb);
        }
    }
    const double base = Median(times[variants[0]]);
    std::wprintf(L"%-14ls %9ls %7ls %16ls %12ls\n", L"variant", L"ms", L"ratio",
                 afterDecode ? L"after decode ms" : L"", L"peak RSS MB");
    for (const wchar_t* variant : variants) {
        const double ms = Median(times[variant]);
        if (afterDecode) {
            std::wprintf(L"%-14ls %9.1f %7.3f %16.2f %12.1f\n", variant, ms, ms / base, Median(rest[variant]),
                         Median(peaks[variant]));
        } else {
            std::wprintf(L"%-14ls %9.1f %7.3f %16ls %12.1f\n", variant, ms, ms / base, L"", Median(peaks[variant]));
        }
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 5 && std::wcscmp(argv[1], L"--variant") == 0) {
        const std::wstring variant = argv[2];
        if (variant.rfind(L"prepare", 0) == 0) return RunShowVariant(variant, argv[3], std::max(1, _wtoi(argv[4])));
        return RunAlternative(variant, argv[3]);
    }

    const std::wstring path = argc >= 2 ? argv[1]
                                        : L"Z:\\usr\\share\\backgrounds\\mate\\abstract\\Elephants_5640x3172.jpg";
    const int rounds = argc >= 3 ? std::max(1, _wtoi(argv[2])) : 5;
    std::wprintf(L"%ls, %d rounds, medians\n\nThe show's picture preparation (per preparation):\n", path.c_str(),
                 rounds);
    if (!Table(kShowVariants, path, rounds, false)) return 1;
    Figures both;
    if (!Measure(L"prepare-alternating", path, rounds, &both)) return 1;
    std::wprintf(L"alternating in one process, %d each: no effect %.1f ms, sepia %.1f ms, ratio %.3f\n", rounds,
                 both.ms, both.otherMs, both.otherMs / both.ms);
    std::wprintf(L"\nAlternatives on the decoded photo (whole run):\n");
    if (!Table(kAlternatives, path, rounds, true)) return 1;
    return 0;
}
