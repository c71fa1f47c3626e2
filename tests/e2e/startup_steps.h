#pragma once
// Steps shared by the start-up tests: a clean product key, a scratch picture folder, message boxes answered.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/driver_win.h"
#include "runtime/base/text_win.h"

namespace kpv::test {

inline const std::wstring kNoPicturesText = L"指定されたフォルダには、表示できる画像ファイルが存在しません。";
inline const std::wstring kSettingsReadFailedText = L"設定情報の取得に失敗しました。";

constexpr int kStartTimeoutMs = 30000;  // a cold Wine process on a busy machine

// Waits for the next message box of the process, presses OK and waits until it is gone.
// Returns its text, or nothing when none came in time.
inline std::wstring AnswerMessageBox(const Process& p, int timeoutMs = kStartTimeoutMs) {
    HWND box = WaitForMessageBox(p.pid(), timeoutMs);
    if (!box) return {};
    const std::wstring text = MessageBoxText(box);
    PressButton(box, IDOK);
    PollUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 10000);
    return text;
}

// Waits until the process has ended or shows a visible top-level window; returns that window, or null
// when the process ended (or the time ran out: check Running()).
inline HWND WaitForEndOrWindow(const Process& p, int timeoutMs = kStartTimeoutMs) {
    HWND shown = nullptr;
    PollUntil([&] {
        for (HWND w : ProcessWindows(p.pid(), true)) { shown = w; return true; }
        return !p.Running();
    }, timeoutMs);
    return shown;
}

inline const std::wstring kSettingsDialogTitle = L"スクリーンセーバーの設定";

// Waits for the settings dialog of the process; null when it did not come in time.
inline HWND WaitForSettingsDialog(const Process& p, int timeoutMs = kStartTimeoutMs) {
    return WaitForWindow(p.pid(), [](HWND w) { return IsWindowVisible(w) && WindowText(w) == kSettingsDialogTitle; },
                         timeoutMs);
}

// True when, for `ms`, the process shows no visible window but `only`: a scan would have put up its message by
// then, worker or not.
inline bool OnlyWindowFor(const Process& p, HWND only, int ms) {
    return !PollUntil([&] { return ProcessWindows(p.pid(), true) != std::vector<HWND>{only}; }, ms);
}

inline std::string Narrow(const std::wstring& w) { return kpv::rt::WideToAnsi(w); }

// Each start-up test begins and ends without the product key, and owns a scratch folder.
class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteProgramKey();
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = FreshFolder(L"startup\\" + std::wstring(name.begin(), name.end())) + L"\\";
    }
    void TearDown() override {
        DeleteProgramKey();
        RemoveTree(root_.substr(0, root_.size() - 1));
    }

    std::wstring Folder(const std::wstring& relative) {
        const std::wstring path = root_ + relative + L"\\";
        EXPECT_TRUE(MakeDirectory(path));
        return path;
    }
    // The picture folder and whether to descend, as the settings dialog would store them.
    static void UsePictureFolder(const std::wstring& folder, int16_t subFolder = 1) {
        WriteProgramPathA(L"Settings", L"Path", kpv::rt::WideToAnsi(folder));
        WriteProgramInt16(L"Settings", L"SubFolder", subFolder);
    }
    static bool WritePicture(const std::wstring& path) {
        return WriteBmp(path, 64, 48, [](int x, int y) { return static_cast<uint32_t>((x * 4) << 16 | (y * 5) << 8); });
    }

    std::wstring root_;
};

}  // namespace kpv::test
