#include "show/prepare_picture_win.h"

#include <cmath>

#include "effects/colour_effect.h"
#include "effects/colour_effect_win.h"
#include "effects/effect_choice.h"
#include "runtime/end_win.h"
#include "runtime/msgbox_win.h"
#include "runtime/picture_win.h"
#include "runtime/random.h"
#include "runtime/units_win.h"
#include "show/frm_main_win.h"
#include "show/picture_attempts.h"
#include "show/picture_placement.h"
#include "startup/mod_main.h"
#include "transitions/blit_block_win.h"

namespace kpv {

namespace {

uint32_t RandomBackground(rt::RandomSource& rng) {
    const auto component = [&rng] { return static_cast<uint32_t>(std::floor(rng.Next() * 256.0)) & 0xFFu; };
    const uint32_t red = component();
    const uint32_t green = component();
    const uint32_t blue = component();
    return red + 256u * green + 65536u * blue;
}

}  // namespace

void PreparePicture(FrmMain& form) {
    rt::RandomSource& rng = rt::Random();
    rng.Reseed();

    rt::Picture loaded;
    const int64_t index = PickLoadablePicture(PictureList, form.LastPicturePath, rng, [&](int64_t i) {
        loaded = rt::LoadPicture(PictureList[static_cast<size_t>(i)]);
        return !loaded.empty();
    });
    if (index < 0) {
        rt::MsgBox(kNoPicturesMessage);
        rt::EndProgram(0);
    }
    form.LastPicturePath = PictureList[static_cast<size_t>(index)];

    rt::PictureBox& getpic = form.picGetpic;
    getpic.Cls();
    getpic.SetAutoSize(true);
    getpic.SetAutoRedraw(true);
    getpic.SetPicture(rt::Picture());
    getpic.SetPicture(std::move(loaded));

    const float fW = form.Width();
    const float fH = form.Height();
    const PicturePlacement place =
        PlacePicture(fW, fH, getpic.Width(), getpic.Height(), rt::TwipsPerPixelX(), rt::TwipsPerPixelY());

    // The effect is decided here, in the order of the draws, but applied after the scaled copy: recolouring
    // only where the picture landed gives the same pixels as recolouring the whole picture first.
    const EffectDecision effect =
        ChooseEffect(SaverSettings.Edit, SaverSettings.Case, static_cast<int64_t>(PictureList.size()));

    const uint32_t background = SaverSettings.BackGround != 0 ? SaverSettings.BackColor : RandomBackground(rng);

    rt::PictureBox& image = form.picImage;
    image.SetAutoRedraw(true);
    image.Cls();
    image.SetBackColor(background);
    image.SetWidth(fW);
    image.SetHeight(fH);
    LastApiResult = BlitBlock(image.hWnd(), image.hDC(), place.X, place.Y, place.DestWidth, place.DestHeight,
                              getpic.hWnd(), getpic.hDC(), 0, 0, place.SourceWidth, place.SourceHeight, SRCCOPY);
    if (effect.apply) {
        rt::PersistentImage& kept = image.KeptImage();
        ApplyColourEffectToImage(kept.bits(), kept.width(), kept.height(),
                                 RECT{place.X, place.Y, place.X + place.DestWidth, place.Y + place.DestHeight},
                                 static_cast<EffectKind>(effect.kind));
    }

    getpic.SetPicture(rt::Picture());
}

}  // namespace kpv
