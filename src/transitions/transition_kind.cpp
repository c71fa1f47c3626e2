#include "transitions/transition_kind.h"

#include <cmath>

namespace kpv {

std::string_view TransitionName(TransitionKind kind) {
    switch (kind) {
        case TransitionKind::RevealRandomBlocks: return "RevealRandomBlocks";
        case TransitionKind::RevealSpiralInward: return "RevealSpiralInward";
        case TransitionKind::RevealSpiralOutward: return "RevealSpiralOutward";
        case TransitionKind::RevealRowsFromTopLeft: return "RevealRowsFromTopLeft";
        case TransitionKind::RevealRowsFromTopRight: return "RevealRowsFromTopRight";
        case TransitionKind::RevealColumnsFromTopRight: return "RevealColumnsFromTopRight";
        case TransitionKind::RevealColumnsFromBottomRight: return "RevealColumnsFromBottomRight";
        case TransitionKind::RevealRowsFromBottomLeft: return "RevealRowsFromBottomLeft";
        case TransitionKind::RevealRowsFromBottomRight: return "RevealRowsFromBottomRight";
        case TransitionKind::RevealColumnsFromTopLeft: return "RevealColumnsFromTopLeft";
        case TransitionKind::RevealColumnsFromBottomLeft: return "RevealColumnsFromBottomLeft";
    }
    return "?";
}

int16_t TransitionNumberFromDraw(float v) {
    const double n = std::floor(static_cast<double>(v) * 15 + 1);
    if (!(n >= 1)) return 1;
    if (n > 15) return 15;
    return static_cast<int16_t>(n);
}

TransitionKind TransitionForNumber(int16_t number) {
    switch (number) {
        case 2: case 13: return TransitionKind::RevealSpiralInward;
        case 3: case 14: return TransitionKind::RevealSpiralOutward;
        case 4: return TransitionKind::RevealRowsFromTopLeft;
        case 5: return TransitionKind::RevealRowsFromTopRight;
        case 6: return TransitionKind::RevealColumnsFromTopRight;
        case 7: return TransitionKind::RevealColumnsFromBottomRight;
        case 8: return TransitionKind::RevealRowsFromBottomLeft;
        case 9: return TransitionKind::RevealRowsFromBottomRight;
        case 10: return TransitionKind::RevealColumnsFromTopLeft;
        case 11: return TransitionKind::RevealColumnsFromBottomLeft;
        default: return TransitionKind::RevealRandomBlocks;  // 1, 12, 15
    }
}

}  // namespace kpv
