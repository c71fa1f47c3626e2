#include "transitions/show_block_win.h"

#include "runtime/base/api_result.h"
#include "runtime/base/blit_block_win.h"
#include "runtime/base/units_win.h"
#include "runtime/forms/message_loop_win.h"
#include "runtime/forms/pause_wait_win.h"
#include "transitions/block_grid_math.h"

namespace kpv {

PauseClock StartPauseClock(int32_t speed) {
    return PauseClock(PauseTicks(speed, rt::PerformanceCounterFrequency()), rt::PauseWaitStep(),
                      rt::PerformanceCounterNow());
}

void ShowBlock(const BlockCanvas& canvas, int32_t c, int32_t r) {
    rt::Form& window = canvas.window;
    if (!window.IsLoaded()) return;
    const PixelRect block = BlockPixelRect(canvas.grid, c, r, window.Width(), window.Height(), rt::TwipsPerPixelX(),
                                           rt::TwipsPerPixelY());
    if (canvas.pauses.ShouldWait(rt::PerformanceCounterNow()))
        rt::WaitUntil(canvas.pauses.Deadline(), [&window] { return window.IsLoaded(); });
    if (!window.IsLoaded()) return;
    const int64_t started = rt::PerformanceCounterNow();
    LastApiResult = BlitBlock(window.hDC(), block.x, block.y, block.width, block.height, canvas.source.hDC(), block.x,
                              block.y, block.width, block.height, SRCCOPY);
    window.Refresh(RECT{block.x, block.y, block.x + block.width, block.y + block.height});
    rt::DoEvents();
    canvas.pauses.BlockDrawn(started, rt::PerformanceCounterNow());
}

}  // namespace kpv
