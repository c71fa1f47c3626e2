#include "runtime/base/blit_block_win.h"

#include "runtime/base/api_result.h"

namespace kpv {

int32_t BlitBlock(HDC destDc, int32_t destX, int32_t destY, int32_t destWidth, int32_t destHeight, HDC sourceDc,
                  int32_t sourceX, int32_t sourceY, int32_t sourceWidth, int32_t sourceHeight, DWORD rasterOperation) {
    LastApiResult = SetStretchBltMode(destDc, COLORONCOLOR);
    LastApiResult = StretchBlt(destDc, destX, destY, destWidth, destHeight, sourceDc, sourceX, sourceY, sourceWidth,
                               sourceHeight, rasterOperation);
    return 0;
}

}  // namespace kpv
