#pragma once
// The eleven transitions and the random number from 1 to 15 that picks one of them.
#include <array>
#include <cstdint>
#include <string_view>

namespace kpv {

enum class TransitionKind {
    RevealRandomBlocks,
    RevealSpiralInward,
    RevealSpiralOutward,
    RevealRowsFromTopLeft,
    RevealRowsFromTopRight,
    RevealColumnsFromTopRight,
    RevealColumnsFromBottomRight,
    RevealRowsFromBottomLeft,
    RevealRowsFromBottomRight,
    RevealColumnsFromTopLeft,
    RevealColumnsFromBottomLeft,
};

inline constexpr std::array<TransitionKind, 11> kAllTransitions = {
    TransitionKind::RevealRandomBlocks,          TransitionKind::RevealSpiralInward,
    TransitionKind::RevealSpiralOutward,         TransitionKind::RevealRowsFromTopLeft,
    TransitionKind::RevealRowsFromTopRight,      TransitionKind::RevealColumnsFromTopRight,
    TransitionKind::RevealColumnsFromBottomRight, TransitionKind::RevealRowsFromBottomLeft,
    TransitionKind::RevealRowsFromBottomRight,   TransitionKind::RevealColumnsFromTopLeft,
    TransitionKind::RevealColumnsFromBottomLeft,
};

std::string_view TransitionName(TransitionKind kind);

// floor(v * 15 + 1) in double precision: 1 to 15 for every draw 0 <= v < 1. A value outside that range
// (a faulty generator) is held to 1..15.
int16_t TransitionNumberFromDraw(float v);

// 1, 12 and 15 give the random reveal, 2 and 13 the inward spiral, 3 and 14 the outward spiral, 4 to 11
// one sweep each. Any other number gives the random reveal, so a reveal tick always shows the picture.
TransitionKind TransitionForNumber(int16_t number);

}  // namespace kpv
