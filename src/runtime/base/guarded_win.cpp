#include "runtime/base/guarded_win.h"

#include <string>

#include "runtime/base/end_win.h"
#include "runtime/base/msgbox_win.h"
#include "runtime/base/text.h"

namespace kpv::rt {

namespace {
std::function<void(const char*)> g_testHandler;
}  // namespace

void UntrappedError(const char* what) noexcept {
    const char* text = what ? what : "";
    if (g_testHandler) {
        g_testHandler(text);
        return;
    }
    try {
        MsgBox(L"実行時エラー: " + Utf8ToWide(text), kMsgCritical);
    } catch (...) {
        // Not even the message could be made: the end still comes.
    }
    EndProgram(1);
}

void SetUntrappedErrorHandlerForTesting(std::function<void(const char*)> handler) { g_testHandler = std::move(handler); }

}  // namespace kpv::rt
