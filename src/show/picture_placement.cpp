#include "show/picture_placement.h"

#include <algorithm>

#include "runtime/base/numbers.h"

namespace kpv {

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
            fitWidth = rt::RoundHeldToInt32(h / ph * pw);
            fitHeight = rt::RoundHeldToInt32(h);
        } else {
            fitWidth = rt::RoundHeldToInt32(w);
            fitHeight = rt::RoundHeldToInt32(w / pw * ph);
        }
        p.X = rt::RoundHeldToInt32((w - fitWidth) / 2 / tx);
        p.Y = rt::RoundHeldToInt32((h - fitHeight) / 2 / ty);
        p.DestWidth = rt::RoundHeldToInt32(fitWidth / static_cast<double>(tx));
        p.DestHeight = rt::RoundHeldToInt32(fitHeight / static_cast<double>(ty));
        p.SourceWidth = rt::RoundHeldToInt32(pw / tx);
        p.SourceHeight = rt::RoundHeldToInt32(ph / ty);
    } else {
        p.X = rt::RoundHeldToInt32((w - pw) / 2 / tx);
        p.Y = rt::RoundHeldToInt32((h - ph) / 2 / ty);
        p.DestWidth = rt::RoundHeldToInt32(pw / tx);
        p.DestHeight = rt::RoundHeldToInt32(ph / ty);
        p.SourceWidth = p.DestWidth;
        p.SourceHeight = p.DestHeight;
    }
    return p;
}

}  // namespace kpv
