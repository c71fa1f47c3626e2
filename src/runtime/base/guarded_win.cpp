#include "runtime/base/guarded_win.h"

#include "runtime/base/end_win.h"
#include "runtime/base/msgbox_win.h"
#include "runtime/base/text.h"

namespace kpv::rt {

void EndOnUntrappedError(const char* what) {
    MsgBox(L"実行時エラー: " + Utf8ToWide(what ? what : ""), kMsgCritical);
    EndProgram(1);
}

}  // namespace kpv::rt
