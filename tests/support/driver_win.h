#pragma once
// Drives the real KPV.scr from a test as Windows and a user would: processes, windows, message boxes,
// the registry, the screen and input.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/scratch_win.h"

namespace kpv::test {

// Polls pred every few milliseconds until it holds or the time is up.
bool PollUntil(const std::function<bool()>& pred, int timeoutMs);

class Process {
public:
    Process() = default;
    Process(HANDLE process, DWORD pid) : h_(process), pid_(pid) {}
    ~Process();
    Process(Process&& o) noexcept;
    Process& operator=(Process&& o) noexcept;
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    DWORD pid() const { return pid_; }
    HANDLE handle() const { return h_; }
    bool Running() const;
    // Exit code, or -1 when it is still running after timeoutMs.
    long long Wait(int timeoutMs) const;
    void Kill();
private:
    HANDLE h_ = nullptr;
    DWORD pid_ = 0;
};

// Starts exe with the given argument text (the command line is "exe" args). Under Wine exe may be a host
// program ("/bin/sh"): it runs, but gives no handle to wait on.
Process StartProgram(const std::wstring& exe, const std::wstring& args);
std::wstring BuildDir();      // the build tree, Windows path
std::wstring ScrPath();       // the KPV.scr under test

// Top-level windows of a process.
std::vector<HWND> ProcessWindows(DWORD pid, bool visibleOnly = false);
HWND WaitForWindow(DWORD pid, const std::function<bool(HWND)>& pred, int timeoutMs);
std::wstring WindowText(HWND w);
std::wstring WindowClass(HWND w);

// Message boxes (dialog class #32770 with a text and an OK button) of a process.
HWND WaitForMessageBox(DWORD pid, int timeoutMs);
std::wstring MessageBoxText(HWND box);
void PressButton(HWND dialog, int id);

// Registry, under HKEY_CURRENT_USER\Software\Tarnel Software\KPV\<sub>.
struct RegValue {
    bool exists = false;
    DWORD type = 0;
    std::vector<uint8_t> data;
};
RegValue ReadProgramValue(const std::wstring& sub, const std::wstring& name);
RegValue ReadProgramValueA(const std::wstring& sub, const std::string& name);  // text as code-page bytes
void WriteProgramValue(const std::wstring& sub, const std::wstring& name, DWORD type, const std::vector<uint8_t>& data);
void WriteProgramInt16(const std::wstring& sub, const std::wstring& name, int16_t v);
void WriteProgramInt32(const std::wstring& sub, const std::wstring& name, int32_t v);
void WriteProgramPathA(const std::wstring& sub, const std::wstring& name, const std::string& ansiText);
void DeleteProgramKey();  // the whole product key, for a clean start
int16_t ActiveFlag();     // "Active" as a 16-bit value, 0 when missing

// Every value of "Settings" as the settings dialog stores them; by default a show of one folder without its
// subfolders, a picture a second, no pause between blocks, a fixed black background and no colour effect.
struct StoredSettings {
    std::wstring path;
    int16_t subFolder = 0, interval = 1, blockSize = 32;
    int32_t speed = 0;
    int16_t backGround = 1;
    uint32_t backColor = 0;  // a colour reference, 0x00BBGGRR
    int16_t edit = 0, caseValue = 0;
};
void WriteSettings(const StoredSettings& settings);

// The screen as a top-most window would show it.
struct Screenshot {
    int left = 0;  // where the capture starts, in screen pixels
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top line first
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    bool SaveBmp(const std::wstring& path) const;
};
Screenshot CaptureScreen();
// Every monitor: the virtual screen, starting at its top-left corner (left of or above the primary
// monitor when another monitor lies there).
Screenshot CaptureVirtualScreen();
// Paints every monitor one colour (0x00RRGGBB), so that nothing a program drew before (the screen keeps it
// when no window covers it) can be taken for what the next program draws; true once the screen shows it.
bool PaintScreen(uint32_t rgb);

// Input as SendInput delivers it.
void SendKey(WORD vk);
void MoveMouseTo(int x, int y);
// A move to a point of any monitor, in screen pixels.
void MoveMouseToVirtual(int x, int y);
void ClickMouse();

}  // namespace kpv::test
