#pragma once
// Answers the message boxes that an in-process call shows, so a test can check what the user was told.
#include <windows.h>

#include <atomic>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "support/driver_win.h"

namespace kpv::test {

struct ShownMessage {
    std::wstring caption;
    std::wstring text;
};

// Runs action on this thread while another thread presses OK on every message box of this process.
inline std::vector<ShownMessage> MessagesShownBy(const std::function<void()>& action) {
    std::atomic<bool> done{false};
    auto answerer = std::async(std::launch::async, [&done] {
        std::vector<ShownMessage> shown;
        while (!done) {
            HWND box = WaitForMessageBox(GetCurrentProcessId(), 100);
            if (!box) continue;
            shown.push_back({WindowText(box), MessageBoxText(box)});
            PressButton(box, IDOK);
            PollUntil([box] { return !IsWindow(box); }, 5000);
        }
        return shown;
    });
    action();
    done = true;
    return answerer.get();
}

}  // namespace kpv::test
