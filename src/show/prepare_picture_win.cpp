#include "show/prepare_picture_win.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "effects/colour_effect.h"
#include "effects/colour_effect_win.h"
#include "effects/effect_choice.h"
#include "runtime/base/api_result.h"
#include "runtime/base/blit_block_win.h"
#include "runtime/base/colour_win.h"
#include "runtime/base/handles_win.h"
#include "show/picture_attempts.h"
#include "show/picture_placement.h"

namespace kpv {

namespace {

uint32_t RandomBackground(rt::RandomSource& rng) {
    const auto component = [&rng] { return static_cast<uint32_t>(std::floor(rng.Next() * 256.0)) & 0xFFu; };
    const uint32_t red = component();
    const uint32_t green = component();
    const uint32_t blue = component();
    return red + 256u * green + 65536u * blue;
}

// The loaded picture copied onto the background at its place: the one stretching copy, pixel-picking.
void DrawPlaced(rt::Picture& image, const rt::Picture& loaded, const PicturePlacement& place) {
    const rt::UniqueMemoryDc dest(CreateCompatibleDC(nullptr));
    const rt::UniqueMemoryDc source(CreateCompatibleDC(nullptr));
    if (!dest || !source) return;
    const rt::SelectedObject destBitmap(dest.get(), image.bitmap());
    const rt::SelectedObject sourceBitmap(source.get(), loaded.bitmap());
    LastApiResult = BlitBlock(dest.get(), place.X, place.Y, place.DestWidth, place.DestHeight, source.get(), 0, 0,
                              place.SourceWidth, place.SourceHeight, SRCCOPY);
    GdiFlush();  // the picture is handed to another thread: every drawing into it is done
}

}  // namespace

PreparedPicture PreparePicture(const PreparationRequest& request, const std::atomic<bool>& stop) {
    const std::vector<std::wstring>& pictures = *request.pictures;
    const SaverSettingsRecord& settings = *request.settings;
    rt::RandomSource& rng = *request.random;
    rng.Reseed();

    // Pictures on the other monitors, or prepared for them, come after the others.
    const std::vector<int64_t> held = request.group->HeldByOthers(request.show);
    const auto heldElsewhere = [&held](int64_t i) { return std::find(held.begin(), held.end(), i) != held.end(); };
    rt::Picture picGetpic;
    const int64_t index = PickLoadablePicture(
        pictures, request.lastPath, rng,
        [&](int64_t i) {
            if (stop.load()) return false;
            picGetpic = rt::LoadPicture(pictures[static_cast<size_t>(i)]);
            return !picGetpic.empty();
        },
        held.empty() ? std::function<bool(int64_t)>() : heldElsewhere);
    PreparedPicture result;
    if (stop.load()) return result;
    if (index < 0) {
        result.outcome = PreparedPicture::Outcome::NoneLoadable;
        return result;
    }
    request.group->Prepared(request.show, index);
    result.outcome = PreparedPicture::Outcome::Ready;
    result.path = pictures[static_cast<size_t>(index)];

    const float tx = request.twipsPerPixelX;
    const float ty = request.twipsPerPixelY;
    const PicturePlacement place =
        PlacePicture(request.windowWidth, request.windowHeight, static_cast<float>(picGetpic.width() * double{tx}),
                     static_cast<float>(picGetpic.height() * double{ty}), tx, ty);
    // The effect is decided here, in the order of the draws, but applied after the scaled copy: recolouring
    // only where the picture landed gives the same pixels as recolouring the whole picture first.
    const EffectDecision effect =
        ChooseEffect(settings.Edit, settings.Case, static_cast<int64_t>(pictures.size()), rng, rt::Clock());
    const uint32_t background = settings.BackGround != 0 ? settings.BackColor : RandomBackground(rng);

    rt::Picture picImage = rt::Picture::Create(request.pixelWidth, request.pixelHeight);
    if (picImage.empty()) return result;  // a window without size: nothing to draw
    const uint32_t pixel = rt::ColourToPixel(rt::ResolveColour(background));
    std::fill(picImage.bits(), picImage.bits() + static_cast<size_t>(picImage.width()) * picImage.height(), pixel);
    DrawPlaced(picImage, picGetpic, place);
    picGetpic.reset();  // the photo's memory goes before the recolour
    if (effect.apply) {
        ApplyColourEffectToImage(picImage.bits(), picImage.width(), picImage.height(),
                                 RECT{place.X, place.Y, place.X + place.DestWidth, place.Y + place.DestHeight},
                                 static_cast<EffectKind>(effect.kind));
    }
    result.image = std::move(picImage);
    return result;
}

}  // namespace kpv
