// No exception travels back into Windows: a handler that the platform calls and that throws ends in the
// program's own report (here a recorder), and the exception goes no further.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/base/guarded_win.h"
#include "runtime/base/monitors_win.h"
#include "runtime/forms/dialog_font_win.h"
#include "runtime/forms/form_win.h"
#include "runtime/forms/frame_win.h"
#include "settings_dialog/folder_browser_win.h"

namespace kpv {
namespace {

class GuardedCallbacks : public ::testing::Test {
protected:
    void SetUp() override {
        rt::SetUntrappedErrorHandlerForTesting([this](const char* what) { reports.emplace_back(what); });
    }
    void TearDown() override {
        rt::SetUntrappedErrorHandlerForTesting(nullptr);
        if (window) DestroyWindow(window);
        // A form that went asked this thread's loop to end: later tests must not find that request.
        MSG quit;
        while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {}
    }

    // A top-level window whose procedure throws on every message the platform sends it after creation, as a
    // parent or a dialog the code under test talks to.
    HWND ThrowingWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = [](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
            if (msg == WM_COMMAND || msg == BFFM_SETSTATUSTEXTW) throw std::runtime_error("thrown by the other window");
            return DefWindowProcW(w, msg, wp, lp);
        };
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"KPVThrowingWindow";
        RegisterClassW(&wc);
        window = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                                 nullptr);
        return window;
    }

    std::vector<std::string> reports;
    HWND window = nullptr;
};

class ThrowingForm final : public rt::Form {
protected:
    void Form_KeyPress(int) override { throw std::runtime_error("thrown by a form's handler"); }
};

TEST_F(GuardedCallbacks, AKeptImageWindowStopsWhatItsHandlerThrows) {
    ThrowingForm form;
    form.Load();
    EXPECT_NO_THROW(SendMessageW(form.hWnd(), WM_CHAR, 'a', 0));
    EXPECT_EQ(reports, std::vector<std::string>{"thrown by a form's handler"});
}

TEST_F(GuardedCallbacks, AFrameStopsWhatItsParentThrowsForAControlsReport) {
    HWND frame = rt::CreateFrame(ThrowingWindow(), 1, L"frame", RECT{0, 0, 50, 50}, true, nullptr);
    ASSERT_TRUE(frame);
    EXPECT_NO_THROW(SendMessageW(frame, WM_COMMAND, MAKEWPARAM(2, BN_CLICKED), 0));
    EXPECT_EQ(reports.size(), 1u);
}

TEST_F(GuardedCallbacks, TheFolderBrowserCallbackStopsWhatTheBrowserThrows) {
    EXPECT_NO_THROW(FolderBrowserCallback(ThrowingWindow(), BFFM_SELCHANGED, 0, 0));
    EXPECT_EQ(reports, std::vector<std::string>{"thrown by the other window"});
}

TEST_F(GuardedCallbacks, TheFontEnumerationStopsAtTheFirstFaceThatThrows) {
    int visited = 0;
    EXPECT_NO_THROW(rt::EnumerateFaces(DEFAULT_CHARSET, [&](const LOGFONTW&, const TEXTMETRICW&) {
        ++visited;
        throw std::runtime_error("thrown while collecting faces");
    }));
    EXPECT_EQ(visited, 1);
    EXPECT_EQ(reports, std::vector<std::string>{"thrown while collecting faces"});
}

TEST_F(GuardedCallbacks, TheMonitorListingStopsWhatItsVisitThrows) {
    int visited = 0;
    EXPECT_NO_THROW(rt::EnumerateMonitors([&](const MONITORINFO&) {
        ++visited;
        throw std::runtime_error("thrown while listing monitors");
    }));
    EXPECT_EQ(visited, 1);
    EXPECT_EQ(reports, std::vector<std::string>{"thrown while listing monitors"});
}

}  // namespace
}  // namespace kpv
