// LoadPicture against a plain WIC decode of the same file, in time and in peak memory.
//   load       LoadPicture with COM already entered on the thread (header check, banded decode into the DIB)
//   load-com   LoadPicture on a thread that has not entered COM (it enters and leaves COM itself)
//   wic        CreateDecoderFromFilename, converter to 32bppBGR, one CopyPixels into a heap buffer
// Times: every picture in turn, the variants taking turns, medians over the rounds, in this process.
// Memory: each variant in a fresh process (peak figures are per process) after a small warm-up picture that
// loads the codecs; the peak growth over the warm state is given against D, the picture at 32 bits a pixel.
// Run by hand (after a ctest run or tests/harness/session.sh start build/windows):
//   tests/harness/wine-run.sh build/windows/bench/picture_load_bench_win.exe [rounds] [picture ...]
// Without pictures: Debian's mate-backgrounds photos and a generated 4000 x 3000 JPEG.
#include <windows.h>
#include <psapi.h>
#include <wincodec.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "runtime/base/handles_win.h"
#include "runtime/picture/picture_win.h"
#include "run_self_win.h"

namespace {

using Clock = std::chrono::steady_clock;
using kpv::rt::ComPtr;
const wchar_t* const kTimedVariants[] = {L"load", L"load-com", L"wic"};
const wchar_t* const kMemoryVariants[] = {L"load", L"wic"};
const wchar_t* const kMemoryPhoto = L"Z:\\usr\\share\\backgrounds\\mate\\abstract\\Elephants_5640x3172.jpg";
const wchar_t* const kWarmUpPhoto = L"Z:\\usr\\share\\backgrounds\\mate\\nature\\FreshFlower.jpg";

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The plain decode: what any WIC program does to get 32-bit pixels of a file.
size_t DecodeWithWic(const std::wstring& path, std::unique_ptr<uint8_t[]>& pixels) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    UINT w = 0, h = 0;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                  decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(converter->GetSize(&w, &h)))
        return 0;
    const size_t bytes = size_t(w) * h * 4;
    pixels.reset(new uint8_t[bytes]);
    if (FAILED(converter->CopyPixels(nullptr, w * 4, UINT(bytes), pixels.get()))) return 0;
    return bytes;
}

size_t LoadedBytes(const std::wstring& path) {
    const kpv::rt::Picture p = kpv::rt::LoadPicture(path);
    return size_t(p.stride()) * p.height();
}

// Runs one variant once; the picture's size at 32 bits a pixel, 0 on failure.
size_t RunOnce(const std::wstring& variant, const std::wstring& path) {
    if (variant == L"wic") {
        std::unique_ptr<uint8_t[]> pixels;
        return DecodeWithWic(path, pixels);
    }
    if (variant == L"load-com") {
        size_t bytes = 0;
        std::thread([&] { bytes = LoadedBytes(path); }).join();
        return bytes;
    }
    return LoadedBytes(path);
}

// A photo-like picture (smooth shading with fine grain), coded by WIC's own JPEG encoder.
bool WriteGeneratedJpeg(const std::wstring& path, UINT w, UINT h) {
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put())) || FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(w, h)))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
    std::vector<uint8_t> line(size_t(w) * 3);
    uint32_t grain = 12345;
    for (UINT y = 0; y < h; ++y) {
        for (UINT x = 0; x < w; ++x) {
            grain = grain * 1664525u + 1013904223u;
            const double n = double(grain >> 24) / 32.0 - 4.0;
            const double a = std::sin(x * 0.0031) * std::cos(y * 0.0047), b = std::sin((x + y) * 0.0019);
            line[x * 3 + 0] = uint8_t(std::clamp(128 + 90 * a + n, 0.0, 255.0));
            line[x * 3 + 1] = uint8_t(std::clamp(128 + 80 * b + n, 0.0, 255.0));
            line[x * 3 + 2] = uint8_t(std::clamp(128 + 60 * (a - b) + n, 0.0, 255.0));
        }
        if (FAILED(frame->WritePixels(1, w * 3, UINT(line.size()), line.data()))) return false;
    }
    return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::wstring GeneratedJpeg() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path(self);
    path = path.substr(0, path.find_last_of(L'\\')) + L"\\generated_4000x3000.jpg";
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && !WriteGeneratedJpeg(path, 4000, 3000)) {
        DeleteFileW(path.c_str());
        return {};
    }
    return path;
}

void AddPictures(const std::wstring& folder, std::vector<std::wstring>& out) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) AddPictures(folder + L"\\" + name, out);
        else if (name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".jpg") == 0) out.push_back(folder + L"\\" + name);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// In a fresh process: warm up, then one run of the variant; prints the peak growths in bytes, and D.
int MeasureMemoryHere(const std::wstring& variant, const std::wstring& path, const std::wstring& warmUp) {
    kpv::rt::ComApartment com;
    if (RunOnce(variant, warmUp) == 0) return 2;
    PROCESS_MEMORY_COUNTERS before{};
    GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
    const size_t d = RunOnce(variant, path);
    PROCESS_MEMORY_COUNTERS after{};
    GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
    if (d == 0) return 2;
    std::printf("%.0f %.0f %.0f\n", double(after.PeakWorkingSetSize) - double(before.WorkingSetSize),
                double(after.PeakPagefileUsage) - double(before.PagefileUsage), double(d));
    return 0;
}

bool MeasureMemory(const std::wstring& variant, const std::wstring& path, const std::wstring& warmUp,
                   double* peakSet, double* peakCommit, double* d) {
    std::string output;
    if (!RunSelfAndCapture(L"--memory " + variant + L" \"" + path + L"\" \"" + warmUp + L"\"", &output))
        return false;
    return std::sscanf(output.c_str(), "%lf %lf %lf", peakSet, peakCommit, d) == 3;
}

std::wstring ShortName(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 5 && std::wcscmp(argv[1], L"--memory") == 0) return MeasureMemoryHere(argv[2], argv[3], argv[4]);

    kpv::rt::ComApartment com;
    const int rounds = argc >= 2 ? std::max(1, _wtoi(argv[1])) : 5;
    std::vector<std::wstring> pictures(argv + std::min(argc, 2), argv + argc);
    if (pictures.empty()) {
        AddPictures(L"Z:\\usr\\share\\backgrounds\\mate", pictures);
        const std::wstring generated = GeneratedJpeg();
        if (!generated.empty()) pictures.push_back(generated);
    }
    if (pictures.empty()) {
        std::fwprintf(stderr, L"no pictures\n");
        return 1;
    }

    std::wprintf(L"time per picture, %d rounds, medians (ms); ratio = load / wic, com = load-com / wic\n", rounds);
    std::wprintf(L"%-28ls %11ls %9ls %9ls %9ls %7ls %7ls\n", L"picture", L"size", L"load", L"load-com", L"wic",
                 L"ratio", L"com");
    double sumLoad = 0, sumCom = 0, sumWic = 0;
    for (const std::wstring& path : pictures) {
        std::vector<double> t[3];
        RunOnce(L"wic", path);  // the file in the system cache for every variant alike
        for (int round = 0; round < rounds; ++round) {
            for (int v = 0; v < 3; ++v) {
                const auto start = Clock::now();
                const size_t bytes = RunOnce(kTimedVariants[v], path);
                t[v].push_back(Ms(Clock::now() - start));
                if (bytes == 0) std::fwprintf(stderr, L"%ls failed on %ls\n", kTimedVariants[v], path.c_str());
            }
        }
        const double load = Median(t[0]), loadCom = Median(t[1]), wic = Median(t[2]);
        sumLoad += load;
        sumCom += loadCom;
        sumWic += wic;
        const kpv::rt::Picture p = kpv::rt::LoadPicture(path);
        const std::wstring size = std::to_wstring(p.width()) + L"x" + std::to_wstring(p.height());
        std::wprintf(L"%-28ls %11ls %9.1f %9.1f %9.1f %7.3f %7.3f\n", ShortName(path).c_str(), size.c_str(), load,
                     loadCom, wic, load / wic, loadCom / wic);
    }
    std::wprintf(L"%-28ls %11ls %9.1f %9.1f %9.1f %7.3f %7.3f\n", L"all", L"", sumLoad, sumCom, sumWic,
                 sumLoad / sumWic, sumCom / sumWic);

    std::wprintf(L"\npeak memory growth while loading %ls, %d fresh processes per variant, medians\n",
                 ShortName(kMemoryPhoto).c_str(), rounds);
    std::wprintf(L"%-8ls %14ls %8ls %14ls %8ls\n", L"variant", L"working set MB", L"x D", L"commit MB", L"x D");
    const double mb = 1048576.0;
    double d = 0;
    for (const wchar_t* variant : kMemoryVariants) {
        std::vector<double> set, commit;
        for (int round = 0; round < rounds; ++round) {
            double s = 0, c = 0;
            if (!MeasureMemory(variant, kMemoryPhoto, kWarmUpPhoto, &s, &c, &d)) {
                std::fwprintf(stderr, L"memory run of %ls failed\n", variant);
                return 1;
            }
            set.push_back(s);
            commit.push_back(c);
        }
        std::wprintf(L"%-8ls %14.1f %8.3f %14.1f %8.3f\n", variant, Median(set) / mb, Median(set) / d,
                     Median(commit) / mb, Median(commit) / d);
    }
    std::wprintf(L"D = %.1f MB\n", d / mb);
    return 0;
}
