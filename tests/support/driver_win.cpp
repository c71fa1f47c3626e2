#include "support/driver_win.h"

#include <chrono>
#include <thread>

#include "runtime/base/handles_win.h"
#include "runtime/base/text_win.h"
#include "support/bytes.h"

namespace kpv::test {

namespace {
const wchar_t kProgramKey[] = L"Software\\Tarnel Software\\KPV";
}

bool PollUntil(const std::function<bool()>& pred, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (pred()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(15));
    }
}

Process::~Process() {
    Kill();
    if (h_) CloseHandle(h_);
}

Process::Process(Process&& o) noexcept : h_(o.h_), pid_(o.pid_) { o.h_ = nullptr; o.pid_ = 0; }

Process& Process::operator=(Process&& o) noexcept {
    if (this != &o) {
        Kill();
        if (h_) CloseHandle(h_);
        h_ = o.h_; pid_ = o.pid_;
        o.h_ = nullptr; o.pid_ = 0;
    }
    return *this;
}

bool Process::Running() const { return h_ && WaitForSingleObject(h_, 0) == WAIT_TIMEOUT; }

long long Process::Wait(int timeoutMs) const {
    if (!h_) return -1;
    if (WaitForSingleObject(h_, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(h_, &code);
    return code;
}

void Process::Kill() {
    if (Running()) {
        TerminateProcess(h_, 999);
        WaitForSingleObject(h_, 5000);
    }
}

Process StartProgram(const std::wstring& exe, const std::wstring& args) {
    std::wstring line = L"\"" + exe + L"\"";
    if (!args.empty()) line += L" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return Process();
    if (pi.hThread) CloseHandle(pi.hThread);
    return Process(pi.hProcess, pi.dwProcessId);
}

// The test programs live in <build>/tests; the screen saver and the scratch folder in <build>.
std::wstring BuildDir() {
    std::wstring self(MAX_PATH, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), MAX_PATH));
    self = self.substr(0, self.find_last_of(L'\\'));
    return self.substr(0, self.find_last_of(L'\\'));
}

std::wstring ScrPath() { return BuildDir() + L"\\KPV.scr"; }

std::vector<HWND> ProcessWindows(DWORD pid, bool visibleOnly) {
    struct Ctx { DWORD pid; bool visible; std::vector<HWND> found; } ctx{pid, visibleOnly, {}};
    EnumWindows([](HWND w, LPARAM p) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == c->pid && (!c->visible || IsWindowVisible(w))) c->found.push_back(w);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&ctx));
    return ctx.found;
}

HWND WaitForWindow(DWORD pid, const std::function<bool(HWND)>& pred, int timeoutMs) {
    HWND hit = nullptr;
    PollUntil([&] {
        for (HWND w : ProcessWindows(pid)) if (pred(w)) { hit = w; return true; }
        return false;
    }, timeoutMs);
    return hit;
}

std::wstring WindowText(HWND w) {
    const LRESULT n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    const LRESULT got = SendMessageW(w, WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(got));
    return s;
}

std::wstring WindowClass(HWND w) {
    wchar_t name[256] = {};
    GetClassNameW(w, name, 256);
    return name;
}

HWND WaitForMessageBox(DWORD pid, int timeoutMs) {
    return WaitForWindow(pid, [](HWND w) {
        return IsWindowVisible(w) && WindowClass(w) == L"#32770" && GetDlgItem(w, IDOK) != nullptr &&
               !MessageBoxText(w).empty();
    }, timeoutMs);
}

std::wstring MessageBoxText(HWND box) {
    // The text is the longest static control; the icon is a static without text.
    std::wstring best;
    EnumChildWindows(box, [](HWND c, LPARAM p) -> BOOL {
        auto* b = reinterpret_cast<std::wstring*>(p);
        if (WindowClass(c) == L"Static") {
            std::wstring t = WindowText(c);
            if (t.size() > b->size()) *b = t;
        }
        return TRUE;
    }, reinterpret_cast<LPARAM>(&best));
    return best;
}

void PressButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (button) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

namespace {
std::wstring SubKey(const std::wstring& sub) { return sub.empty() ? kProgramKey : std::wstring(kProgramKey) + L"\\" + sub; }
}

// Through the wide or the ANSI query, which differ in how text comes back.
template <typename Char, typename Query>
RegValue ReadValue(const std::wstring& sub, const Char* name, Query query) {
    RegValue v;
    rt::UniqueHKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SubKey(sub).c_str(), 0, KEY_READ, key.put()) != ERROR_SUCCESS) return v;
    DWORD size = 0;
    if (query(key.get(), name, nullptr, &v.type, nullptr, &size) == ERROR_SUCCESS) {
        v.data.resize(size);
        v.exists = query(key.get(), name, nullptr, &v.type, v.data.data(), &size) == ERROR_SUCCESS;
        v.data.resize(size);
    }
    return v;
}

RegValue ReadProgramValue(const std::wstring& sub, const std::wstring& name) {
    return ReadValue(sub, name.c_str(), RegQueryValueExW);
}

RegValue ReadProgramValueA(const std::wstring& sub, const std::string& name) {
    return ReadValue(sub, name.c_str(), RegQueryValueExA);
}

void WriteProgramValue(const std::wstring& sub, const std::wstring& name, DWORD type, const std::vector<uint8_t>& data) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SubKey(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    RegSetValueExW(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

void WriteProgramInt16(const std::wstring& sub, const std::wstring& name, int16_t v) {
    WriteProgramValue(sub, name, REG_BINARY, Le16(static_cast<uint16_t>(v)));
}

void WriteProgramInt32(const std::wstring& sub, const std::wstring& name, int32_t v) {
    WriteProgramValue(sub, name, REG_BINARY, Le32(static_cast<uint32_t>(v)));
}

void WriteProgramPathA(const std::wstring& sub, const std::wstring& name, const std::string& ansiText) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, SubKey(sub).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) return;
    char nameA[256] = {};
    WideCharToMultiByte(CP_ACP, 0, name.c_str(), -1, nameA, 255, nullptr, nullptr);
    RegSetValueExA(key, nameA, 0, REG_SZ, reinterpret_cast<const BYTE*>(ansiText.c_str()), static_cast<DWORD>(ansiText.size() + 1));
    RegCloseKey(key);
}

void DeleteProgramKey() { RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKey); }

int16_t ActiveFlag() {
    const RegValue v = ReadProgramValue(L"Flags", L"Active");
    if (!v.exists || v.data.size() < 2) return 0;
    return static_cast<int16_t>(v.data[0] | (v.data[1] << 8));
}

void WriteSettings(const StoredSettings& settings) {
    WriteProgramPathA(L"Settings", L"Path", rt::WideToAnsi(settings.path));
    WriteProgramInt16(L"Settings", L"SubFolder", settings.subFolder);
    WriteProgramInt16(L"Settings", L"Interval", settings.interval);
    WriteProgramInt16(L"Settings", L"BlockSize", settings.blockSize);
    WriteProgramInt32(L"Settings", L"Speed", settings.speed);
    WriteProgramInt16(L"Settings", L"BackGround", settings.backGround);
    WriteProgramInt32(L"Settings", L"BackColor", static_cast<int32_t>(settings.backColor));
    WriteProgramInt16(L"Settings", L"Edit", settings.edit);
    WriteProgramInt16(L"Settings", L"Case", settings.caseValue);
}

namespace {

Screenshot Capture(int left, int top, int width, int height) {
    Screenshot s;
    HDC screen = GetDC(nullptr);
    s.left = left;
    s.top = top;
    s.width = width;
    s.height = height;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = s.width;
    bi.bmiHeader.biHeight = -s.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, s.width, s.height, screen, s.left, s.top, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const uint32_t*>(bits);
    s.pixels.assign(p, p + static_cast<size_t>(s.width) * s.height);
    for (auto& px : s.pixels) px &= 0x00FFFFFF;
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(dib);
    ReleaseDC(nullptr, screen);
    return s;
}

}  // namespace

Screenshot CaptureScreen() { return Capture(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)); }

Screenshot CaptureVirtualScreen() {
    return Capture(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                   GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN));
}

bool PaintScreen(uint32_t rgb) {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const RECT all{x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN), y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    HDC screen = GetDC(nullptr);
    if (!screen) return false;
    HBRUSH brush = CreateSolidBrush(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    RECT local = all;
    OffsetRect(&local, -x, -y);
    FillRect(screen, &local, brush);
    DeleteObject(brush);
    ReleaseDC(nullptr, screen);
    GdiFlush();
    return PollUntil([&] {
        const Screenshot shot = CaptureVirtualScreen();
        return shot.width > 0 && (shot.At(shot.width / 2, shot.height / 2) & 0xFFFFFF) == rgb &&
               (shot.At(0, 0) & 0xFFFFFF) == rgb;
    }, 5000);
}

bool Screenshot::SaveBmp(const std::wstring& path) const {
    return WriteBmp(path, width, height, [this](int x, int y) { return At(x, y); });
}

void SendKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = INPUT_KEYBOARD;
    in[0].ki.wVk = vk;
    in[1] = in[0];
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

void MoveMouseTo(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x * 65535.0) / (GetSystemMetrics(SM_CXSCREEN) - 1) + 0.5);
    in.mi.dy = static_cast<LONG>((y * 65535.0) / (GetSystemMetrics(SM_CYSCREEN) - 1) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}

void MoveMouseToVirtual(int x, int y) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>((x - GetSystemMetrics(SM_XVIRTUALSCREEN)) * 65536.0 / GetSystemMetrics(SM_CXVIRTUALSCREEN) + 0.5);
    in.mi.dy = static_cast<LONG>((y - GetSystemMetrics(SM_YVIRTUALSCREEN)) * 65536.0 / GetSystemMetrics(SM_CYVIRTUALSCREEN) + 0.5);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    SendInput(1, &in, sizeof(INPUT));
}

void ClickMouse() {
    INPUT in[2] = {};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

}  // namespace kpv::test
