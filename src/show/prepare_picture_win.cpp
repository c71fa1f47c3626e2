#include "show/prepare_picture_win.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "catalogue/catalogue_win.h"
#include "effects/colour_effect.h"
#include "effects/colour_effect_win.h"
#include "effects/effect_choice.h"
#include "runtime/base/api_result.h"
#include "runtime/base/blit_block_win.h"
#include "runtime/base/colour_win.h"
#include "runtime/base/handles_win.h"
#include "show/picture_attempts.h"
#include "show/picture_placement.h"
#include "show/run_state_win.h"

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

namespace {

// The picture found and loaded, and the list size the effect's draws take.
struct LoadedPicture {
    PreparedPicture::Outcome outcome = PreparedPicture::Outcome::Stopped;  // Ready once loaded
    std::wstring path;
    rt::Picture picture;
    int64_t listCount = 0;
};

// A long list's draws of the effect fall evenly on every last digit; a descent, which knows no list,
// draws the same way.
constexpr int64_t kDescentListCount = 10;

bool Load(const std::wstring& path, RunState& run, PreparationControl& control, rt::Picture& picture) {
    control.Attempting(path);
    rt::PictureLoadError error = rt::PictureLoadError::None;
    picture = rt::LoadPicture(path, &error, &control);
    if (picture.empty() && error != rt::PictureLoadError::Stopped) run.failed.Add(path);
    return !picture.empty();
}

// From the complete list: a random entry, another after each one that fails, until one loads.
LoadedPicture LoadFromList(const std::vector<std::wstring>& pictures, const PreparationRequest& request,
                           const std::vector<std::wstring>& held, PreparationControl& control) {
    RunState& run = *request.run;
    PickRules rules;
    if (!held.empty())
        rules.heldElsewhere = [&](int64_t i) {
            return std::find(held.begin(), held.end(), pictures[static_cast<size_t>(i)]) != held.end();
        };
    rules.knownFailed = [&](int64_t i) { return run.failed.Contains(pictures[static_cast<size_t>(i)]); };
    rules.keepGoing = [&] { return control.Continue(); };
    LoadedPicture loaded;
    const int64_t index = PickLoadablePicture(pictures, request.lastPath, *request.random, [&](int64_t i) {
        return Load(pictures[static_cast<size_t>(i)], run, control, loaded.picture);
    }, rules);
    if (!control.Continue()) return loaded;
    if (index < 0) {
        loaded.outcome = PreparedPicture::Outcome::NoneLoadable;
        return loaded;
    }
    loaded.outcome = PreparedPicture::Outcome::Ready;
    loaded.path = pictures[static_cast<size_t>(index)];
    loaded.listCount = static_cast<int64_t>(pictures.size());
    return loaded;
}

// While the scan runs: one random descent through the folders, and the picture it finds.
LoadedPicture LoadFromDescent(const PreparationRequest& request, const std::vector<std::wstring>& held,
                              PreparationControl& control) {
    RunState& run = *request.run;
    const PictureRank rank = [&](const std::wstring& path) {
        if (run.failed.Contains(path)) return kNotWanted;
        if (path == request.lastPath) return 2;
        return std::find(held.begin(), held.end(), path) != held.end() ? 1 : 0;
    };
    LoadedPicture loaded;
    const std::optional<std::wstring> found = FindPictureByDescent(
        run.settings.Path, run.settings.SubFolder, *request.random, rank, [&] { return control.Continue(); });
    if (!control.Continue()) return loaded;
    loaded.outcome = PreparedPicture::Outcome::NothingFound;
    if (!found || !Load(*found, run, control, loaded.picture)) return loaded;
    if (!control.Continue()) return LoadedPicture{};
    loaded.outcome = PreparedPicture::Outcome::Ready;
    loaded.path = *found;
    loaded.listCount = kDescentListCount;
    return loaded;
}

}  // namespace

PreparedPicture PreparePicture(const PreparationRequest& request, PreparationControl& control) {
    RunState& run = *request.run;
    const SaverSettingsRecord& settings = run.settings;
    rt::RandomSource& rng = *request.random;
    rng.Reseed();

    // Pictures on the other monitors, or prepared for them, come after the others.
    const std::vector<std::wstring> held = run.group.HeldByOthers(request.show);
    const PictureListPtr list = run.group.Pictures();
    LoadedPicture loaded = list ? LoadFromList(*list, request, held, control) : LoadFromDescent(request, held, control);
    PreparedPicture result;
    result.outcome = loaded.outcome;
    // Past this point the generator is drawn from again: only while the preparation is still the show's.
    if (loaded.outcome != PreparedPicture::Outcome::Ready) return result;
    rt::Picture& picGetpic = loaded.picture;
    result.path = std::move(loaded.path);
    run.group.Prepared(request.show, result.path);

    const float tx = request.twipsPerPixelX;
    const float ty = request.twipsPerPixelY;
    const PicturePlacement place =
        PlacePicture(request.windowWidth, request.windowHeight, static_cast<float>(picGetpic.width() * double{tx}),
                     static_cast<float>(picGetpic.height() * double{ty}), tx, ty);
    // The effect is decided here, in the order of the draws, but applied after the scaled copy: recolouring
    // only where the picture landed gives the same pixels as recolouring the whole picture first.
    const EffectDecision effect = ChooseEffect(settings.Edit, settings.Case, loaded.listCount, rng, rt::Clock());
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
