#include "runtime/guarded_win.h"

#include "runtime/end_win.h"
#include "runtime/msgbox_win.h"
#include "runtime/text.h"

namespace kpv::rt {

void EndOnUntrappedError(const char* what) {
    MsgBox(L"実行時エラー: " + Utf8ToWide(what ? what : ""), kMsgCritical);
    EndProgram(1);
}

}  // namespace kpv::rt
