#include "runtime/base/end_win.h"

#include <windows.h>

namespace kpv::rt {

void EndProgram(unsigned exitCode) {
    // ExitProcess tears down every window of the process without sending them further messages.
    ExitProcess(exitCode);
}

}  // namespace kpv::rt
