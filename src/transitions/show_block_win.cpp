#include "transitions/show_block_win.h"

#include "runtime/message_loop_win.h"
#include "runtime/units_win.h"
#include "show/block_grid_math.h"
#include "show/frm_main_win.h"
#include "startup/mod_main.h"
#include "transitions/blit_block_win.h"
#include "transitions/pacing.h"

namespace kpv {

void ShowBlock(int32_t c, int32_t r) {
    if (!frmMain) return;
    const PixelRect block = BlockPixelRect(BlockGrid, c, r, frmMain->Width(), frmMain->Height(), rt::TwipsPerPixelX(),
                                           rt::TwipsPerPixelY());
    const int32_t yields = PauseYields(SaverSettings.Speed);
    for (int32_t i = 0; i < yields; ++i) rt::DoEvents();
    // A yield may have ended the show; only a form still loaded is drawn on.
    if (!frmMain || !frmMain->IsLoaded()) return;
    FrmMain& form = *frmMain;
    LastApiResult = BlitBlock(form.hWnd(), form.hDC(), block.x, block.y, block.width, block.height,
                              form.picImage.hWnd(), form.picImage.hDC(), block.x, block.y, block.width, block.height,
                              SRCCOPY);
    form.Refresh(RECT{block.x, block.y, block.x + block.width, block.y + block.height});
    rt::DoEvents();
}

}  // namespace kpv
