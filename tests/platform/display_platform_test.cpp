// The platform that the multi-monitor and DPI tests stand on, one case per session of
// tests/harness/display-session.sh: the monitors Wine reports, a capture of the whole virtual screen that
// sees a top-most window on the second monitor, the mouse reaching that monitor, and the 192-DPI prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kFill = 0x30C060;  // as 0x00RRGGBB; no desktop of Wine is this colour
constexpr int kWaitMs = 10000;

bool PollUntil(const std::function<bool()>& done, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
}

struct Monitor {
    RECT rect;
    bool primary;
};

std::vector<Monitor> Monitors() {
    std::vector<Monitor> found;
    EnumDisplayMonitors(nullptr, nullptr, [](HMONITOR m, HDC, RECT*, LPARAM list) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (GetMonitorInfoW(m, &info))
            reinterpret_cast<std::vector<Monitor>*>(list)->push_back({info.rcMonitor, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

RECT VirtualScreen() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

std::string Text(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

// The screen as GetDC(NULL) + BitBlt reads it (as a test driver would) over the whole virtual screen, in
// virtual-screen coordinates.
struct Capture {
    RECT area{};
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top line first
    uint32_t At(int x, int y) const {
        return pixels[static_cast<size_t>(y - area.top) * (area.right - area.left) + (x - area.left)] & 0xFFFFFF;
    }
};

struct ScreenDcRelease { void operator()(HDC dc) const { ReleaseDC(nullptr, dc); } };
struct DcDelete { void operator()(HDC dc) const { DeleteDC(dc); } };
struct ObjectDelete { void operator()(HGDIOBJ o) const { DeleteObject(o); } };

Capture CaptureVirtualScreen() {
    Capture c;
    c.area = VirtualScreen();
    const int w = c.area.right - c.area.left, h = c.area.bottom - c.area.top;
    std::unique_ptr<HDC__, ScreenDcRelease> screen(GetDC(nullptr));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;  // top line first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    std::unique_ptr<HBITMAP__, ObjectDelete> dib(CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::unique_ptr<HDC__, DcDelete> mem(CreateCompatibleDC(screen.get()));
    if (!dib || !mem) return c;
    const HGDIOBJ old = SelectObject(mem.get(), dib.get());
    const bool copied = BitBlt(mem.get(), 0, 0, w, h, screen.get(), c.area.left, c.area.top, SRCCOPY) != FALSE;
    GdiFlush();
    if (copied) c.pixels.assign(static_cast<const uint32_t*>(bits), static_cast<const uint32_t*>(bits) + static_cast<size_t>(w) * h);
    SelectObject(mem.get(), old);
    return c;
}

// A top-most popup filled with kFill over one rectangle, as a show window covers its monitor. It keeps
// the client position of the last mouse move it received.
class FilledWindow {
public:
    explicit FilledWindow(const RECT& r) : brush_(CreateSolidBrush(RGB(kFill >> 16, (kFill >> 8) & 0xFF, kFill & 0xFF))) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = static_cast<HBRUSH>(brush_.get());
        wc.lpszClassName = L"KpvPlatformProbe";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(window_, SW_SHOW);
        UpdateWindow(window_);
    }
    ~FilledWindow() {
        DestroyWindow(window_);
        UnregisterClassW(L"KpvPlatformProbe", GetModuleHandleW(nullptr));
    }
    FilledWindow(const FilledWindow&) = delete;
    FilledWindow& operator=(const FilledWindow&) = delete;
    HWND handle() const { return window_; }
    POINT lastMouseMove() const { return lastMouseMove_; }

private:
    static LRESULT CALLBACK Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_MOUSEMOVE) {
            if (auto* self = reinterpret_cast<FilledWindow*>(GetWindowLongPtrW(w, GWLP_USERDATA)))
                self->lastMouseMove_ = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        }
        return DefWindowProcW(w, msg, wp, lp);
    }
    std::unique_ptr<HBRUSH__, ObjectDelete> brush_;
    HWND window_ = nullptr;
    POINT lastMouseMove_{-1, -1};
};

// A window filled over the second monitor shows in the capture on exactly that monitor: its four corner
// pixels, and not the pixel just outside it. A mouse move as SendInput gives it in virtual-desktop
// coordinates, from the primary to the middle of the second monitor, puts the cursor there and reaches
// the window. (One window for both: taking a window down costs Wine ~2 s without a window manager.)
void ExpectSecondMonitorUsable(const RECT& second, const POINT& justOutside) {
    FilledWindow window(second);
    ASSERT_NE(window.handle(), nullptr);
    Capture shot;
    const auto filled = [&] {
        shot = CaptureVirtualScreen();
        return !shot.pixels.empty() && shot.At(second.left, second.top) == kFill &&
               shot.At(second.right - 1, second.bottom - 1) == kFill;
    };
    ASSERT_TRUE(PollUntil(filled, kWaitMs)) << "window over " << Text(second) << " never captured";
    EXPECT_EQ(shot.At(second.right - 1, second.top), kFill);
    EXPECT_EQ(shot.At(second.left, second.bottom - 1), kFill);
    EXPECT_NE(shot.At(justOutside.x, justOutside.y), kFill);

    POINT at{};
    ASSERT_TRUE(SetCursorPos(512, 384));
    ASSERT_TRUE(PollUntil([&] { return GetCursorPos(&at) && at.x == 512 && at.y == 384; }, kWaitMs));
    const RECT desk = VirtualScreen();
    const POINT to{(second.left + second.right) / 2, (second.top + second.bottom) / 2};
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((to.x - desk.left) * 65535.0 / (desk.right - desk.left - 1) + 0.5);
    in.mi.dy = static_cast<LONG>((to.y - desk.top) * 65535.0 / (desk.bottom - desk.top - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    ASSERT_EQ(SendInput(1, &in, sizeof in), 1u);
    EXPECT_TRUE(PollUntil([&] { return GetCursorPos(&at) && at.x == to.x && at.y == to.y; }, kWaitMs))
        << "cursor at " << at.x << "," << at.y << " instead of " << to.x << "," << to.y;
    const POINT client{to.x - second.left, to.y - second.top};
    EXPECT_TRUE(PollUntil([&] {
        const POINT p = window.lastMouseMove();
        return p.x == client.x && p.y == client.y;
    }, kWaitMs)) << "last move at " << window.lastMouseMove().x << "," << window.lastMouseMove().y;
}

// Session monitors_right: 1024x768 primary, 800x600 to its right.
TEST(TwoMonitorPlatform, SecondMonitorRightOfThePrimary) {
    const std::vector<Monitor> monitors = Monitors();
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_EQ(Text(monitors[0].rect), "0,0-1024,768");
    EXPECT_TRUE(monitors[0].primary);
    EXPECT_EQ(Text(monitors[1].rect), "1024,0-1824,600");
    EXPECT_FALSE(monitors[1].primary);
    EXPECT_EQ(Text(VirtualScreen()), "0,0-1824,768");
    ExpectSecondMonitorUsable(monitors[1].rect, {1023, 300});
}

// Session monitors_left: the 800x600 monitor left of the primary, at negative coordinates.
TEST(TwoMonitorPlatform, SecondMonitorLeftOfThePrimary) {
    const std::vector<Monitor> monitors = Monitors();
    ASSERT_EQ(monitors.size(), 2u);
    EXPECT_EQ(Text(monitors[0].rect), "0,0-1024,768");
    EXPECT_TRUE(monitors[0].primary);
    EXPECT_EQ(Text(monitors[1].rect), "-800,0-0,600");
    EXPECT_FALSE(monitors[1].primary);
    EXPECT_EQ(Text(VirtualScreen()), "-800,0-1024,768");
    ExpectSecondMonitorUsable(monitors[1].rect, {0, 300});
}

// Session dpi192: LogPixels 192 on one 1024x768 monitor. Wine 8 makes every process per-monitor aware,
// so the screen is measured in pixels and a window of that size covers it to the last pixel.
TEST(HighDpiPlatform, LogPixels192WithTheScreenInPixels) {
    std::unique_ptr<HDC__, ScreenDcRelease> screen(GetDC(nullptr));
    EXPECT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSX), 192);
    EXPECT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), 192);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    const std::vector<Monitor> monitors = Monitors();
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_EQ(Text(monitors[0].rect), "0,0-1024,768");
    FilledWindow window({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    Capture shot;
    EXPECT_TRUE(PollUntil([&] {
        shot = CaptureVirtualScreen();
        return !shot.pixels.empty() && shot.At(0, 0) == kFill && shot.At(1023, 767) == kFill;
    }, kWaitMs)) << "the last pixel is " << std::hex << (shot.pixels.empty() ? 0 : shot.At(1023, 767));
}

}  // namespace
