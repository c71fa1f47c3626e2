#include "show/picture_placement.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/base/numbers.h"

namespace kpv {

namespace {

int32_t Round32(double v) {
    if (std::isnan(v)) return 0;
    const double r = rt::RoundHalfEven(v);
    if (r <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (r >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(r);
}

}  // namespace

PicturePlacement PlacePicture(float fW, float fH, float pW, float pH, float tx, float ty) {
    if (!(fW > 0) || !(fH > 0) || !(tx > 0) || !(ty > 0)) return {};
    // With the window positive and the picture not negative, every division below has a non-zero divisor:
    // pW is only divided by on the width branch, where pW / fW > pH / fH >= 0.
    const double w = fW, h = fH;
    const double pw = std::max(0.0f, pW), ph = std::max(0.0f, pH);

    PicturePlacement p;
    if (pw > w || ph > h) {
        const float rW = static_cast<float>(pw / w);
        const float rH = static_cast<float>(ph / h);
        int32_t fitWidth = 0, fitHeight = 0;
        if (rH >= rW) {
            fitWidth = Round32(h / ph * pw);
            fitHeight = Round32(h);
        } else {
            fitWidth = Round32(w);
            fitHeight = Round32(w / pw * ph);
        }
        p.X = Round32((w - fitWidth) / 2 / tx);
        p.Y = Round32((h - fitHeight) / 2 / ty);
        p.DestWidth = Round32(fitWidth / static_cast<double>(tx));
        p.DestHeight = Round32(fitHeight / static_cast<double>(ty));
        p.SourceWidth = Round32(pw / tx);
        p.SourceHeight = Round32(ph / ty);
    } else {
        p.X = Round32((w - pw) / 2 / tx);
        p.Y = Round32((h - ph) / 2 / ty);
        p.DestWidth = Round32(pw / tx);
        p.DestHeight = Round32(ph / ty);
        p.SourceWidth = p.DestWidth;
        p.SourceHeight = p.DestHeight;
    }
    return p;
}

}  // namespace kpv
