#include "support/show_here_win.h"

#include <windows.h>

#include "runtime/forms/message_loop_win.h"
#include "show/show_start_win.h"

namespace kpv::test {

bool PumpMessagesUntil(const std::function<bool()>& pred, int timeoutMs) {
    const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
    while (!pred()) {
        if (GetTickCount64() > end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        rt::DoEvents();
    }
    return true;
}

bool StartWithPictures(FrmMain& show, ShowGroup& group, std::vector<std::wstring> pictures, int timeoutMs) {
    if (!StartShowWindow(show)) return false;
    group.PublishPictures(std::move(pictures));
    return PumpMessagesUntil([&] { return show.PicturePrepared == 1; }, timeoutMs);
}

}  // namespace kpv::test
