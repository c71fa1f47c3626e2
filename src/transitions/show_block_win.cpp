#include "transitions/show_block_win.h"

#include "runtime/base/api_result.h"
#include "runtime/base/units_win.h"
#include "runtime/forms/message_loop_win.h"
#include "transitions/blit_block_win.h"
#include "transitions/block_grid_math.h"
#include "transitions/pacing.h"

namespace kpv {

void ShowBlock(const BlockCanvas& canvas, int32_t c, int32_t r) {
    rt::Form& window = canvas.window;
    if (!window.IsLoaded()) return;
    const PixelRect block = BlockPixelRect(canvas.grid, c, r, window.Width(), window.Height(), rt::TwipsPerPixelX(),
                                           rt::TwipsPerPixelY());
    const int32_t yields = PauseYields(canvas.speed);
    for (int32_t i = 0; i < yields && window.IsLoaded(); ++i) rt::DoEvents();
    if (!window.IsLoaded()) return;
    LastApiResult = BlitBlock(window.hWnd(), window.hDC(), block.x, block.y, block.width, block.height,
                              canvas.source.hWnd(), canvas.source.hDC(), block.x, block.y, block.width,
                              block.height, SRCCOPY);
    window.Refresh(RECT{block.x, block.y, block.x + block.width, block.y + block.height});
    rt::DoEvents();
}

}  // namespace kpv
