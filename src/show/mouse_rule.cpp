#include "show/mouse_rule.h"

#include <cstdint>

namespace kpv {

bool MouseMoveEndsShow(ScreenPoint& reference, const std::function<ScreenPoint()>& readCursor) {
    if (reference.x == 0) reference = readCursor();
    const ScreenPoint now = readCursor();
    const int64_t rx = reference.x;
    const int64_t ry = reference.y;
    return now.x < rx - kMouseSlackPx || now.x > rx + kMouseSlackPx || now.y < ry - kMouseSlackPx ||
           now.y > ry + kMouseSlackPx;
}

}  // namespace kpv
