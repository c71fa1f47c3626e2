#include "transitions/sweep_walk.h"

namespace kpv {

namespace {

struct SweepRule {
    bool alongRows;
    int32_t innerStep;
    int32_t outerStep;
};

SweepRule RuleFor(TransitionKind kind) {
    switch (kind) {
        case TransitionKind::RevealRowsFromTopLeft: return {true, +1, +1};
        case TransitionKind::RevealRowsFromTopRight: return {true, -1, +1};
        case TransitionKind::RevealColumnsFromTopRight: return {false, +1, -1};
        case TransitionKind::RevealColumnsFromBottomRight: return {false, -1, -1};
        case TransitionKind::RevealRowsFromBottomLeft: return {true, +1, -1};
        case TransitionKind::RevealRowsFromBottomRight: return {true, -1, -1};
        case TransitionKind::RevealColumnsFromTopLeft: return {false, +1, +1};
        case TransitionKind::RevealColumnsFromBottomLeft: return {false, -1, +1};
        default: return {true, +1, +1};
    }
}

// The side a line starts from: 1 when stepping forward, the far end when stepping back.
int32_t StartSide(int32_t step, int32_t count) { return step > 0 ? 1 : count; }

}  // namespace

SweepWalk::SweepWalk(TransitionKind kind, int32_t columns, int32_t rows) {
    const SweepRule rule = RuleFor(kind);
    alongRows_ = rule.alongRows;
    innerStep_ = rule.innerStep;
    outerStep_ = rule.outerStep;
    innerCount_ = alongRows_ ? columns : rows;
    const int32_t outerCount = alongRows_ ? rows : columns;
    const int32_t inner = StartSide(innerStep_, innerCount_);
    const int32_t outer = StartSide(outerStep_, outerCount);
    pos_ = alongRows_ ? BlockPosition{inner, outer} : BlockPosition{outer, inner};
}

void SweepWalk::Advance() {
    int32_t& inner = alongRows_ ? pos_.c : pos_.r;
    int32_t& outer = alongRows_ ? pos_.r : pos_.c;
    const int32_t lineEnd = innerStep_ > 0 ? innerCount_ : 1;
    if (inner == lineEnd) {
        inner = StartSide(innerStep_, innerCount_);
        outer += outerStep_;
    } else {
        inner += innerStep_;
    }
}

}  // namespace kpv
