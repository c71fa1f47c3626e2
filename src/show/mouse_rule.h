#pragma once
// The mouse rule that ends a full-screen show: the first movement only takes a reference point, and the
// show ends once the cursor is more than 10 pixels from it on either axis. A reference whose x is 0 counts
// as not yet taken, so a reference on screen column 0 is taken again at the next movement.
#include <cstdint>
#include <functional>

namespace kpv {

// A position on the screen in pixels.
struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

inline constexpr int32_t kMouseSlackPx = 10;

// Takes the reference from readCursor when it is not yet taken, then reads the cursor again and tells
// whether it is beyond the slack. Coordinates are widened, so positions near the 32-bit limits compare right.
bool MouseMoveEndsShow(ScreenPoint& reference, const std::function<ScreenPoint()>& readCursor);

}  // namespace kpv
