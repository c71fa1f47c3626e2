#pragma once
// A show driven on the calling thread, for in-process tests and benchmarks: put on the screen, handed its
// pictures as the scan would hand them, and its messages delivered while waiting.
#include <functional>
#include <string>
#include <vector>

#include "show/frm_main_win.h"
#include "show/show_group.h"

namespace kpv::test {

// Delivers this thread's messages until pred holds (true) or the time is up (false).
bool PumpMessagesUntil(const std::function<bool()>& pred, int timeoutMs);

// Puts the show on the screen, publishes the pictures to its group and waits until the first picture is
// prepared; false when any step fails. The show's timer is then on, as after a prepare step.
bool StartWithPictures(FrmMain& show, ShowGroup& group, std::vector<std::wstring> pictures, int timeoutMs = 20000);

}  // namespace kpv::test
