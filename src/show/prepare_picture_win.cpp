#include "show/prepare_picture_win.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "catalogue/picture_list.h"
#include "effects/colour_effect.h"
#include "effects/colour_effect_win.h"
#include "effects/effect_choice.h"
#include "runtime/base/api_result.h"
#include "runtime/base/end_win.h"
#include "runtime/base/msgbox_win.h"
#include "runtime/base/random.h"
#include "runtime/base/units_win.h"
#include "runtime/forms/message_loop_win.h"
#include "runtime/picture/picture_win.h"
#include "settings/saver_settings.h"
#include "show/frm_main_win.h"
#include "show/picture_attempts.h"
#include "show/picture_placement.h"
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

// With a show on every monitor, one preparation at a time: memory holds one decoded picture however many
// monitors there are. The wait keeps this show's window answering, so a key still ends the show at once.
class PreparationTurn {
public:
    explicit PreparationTurn(ShowGroup* group) : group_(group) {
        if (!group_) return;
        while (!group_->TryBeginPreparation()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            rt::DoEvents();
        }
    }
    ~PreparationTurn() {
        if (group_) group_->EndPreparation();
    }
    PreparationTurn(const PreparationTurn&) = delete;
    PreparationTurn& operator=(const PreparationTurn&) = delete;

private:
    ShowGroup* group_;
};

}  // namespace

void PreparePicture(FrmMain& form) {
    const ShowSetup& setup = form.Setup();
    const std::vector<std::wstring>& pictures = setup.pictures;
    const SaverSettingsRecord& settings = setup.settings;
    const PreparationTurn turn(setup.group);
    rt::RandomSource& rng = form.Random();
    rng.Reseed();

    // Pictures on the other monitors, or prepared for them, come last.
    std::function<bool(int64_t)> heldElsewhere;
    std::vector<int64_t> held;
    if (setup.group) {
        held = setup.group->HeldByOthers(form.GroupIndex());
        heldElsewhere = [&held](int64_t i) { return std::find(held.begin(), held.end(), i) != held.end(); };
    }
    rt::Picture loaded;
    const int64_t index = PickLoadablePicture(
        pictures, form.LastPicturePath, rng,
        [&](int64_t i) {
            loaded = rt::LoadPicture(pictures[static_cast<size_t>(i)]);
            return !loaded.empty();
        },
        heldElsewhere);
    if (index < 0) {
        rt::MsgBox(kNoPicturesMessage);
        rt::EndProgram(0);
    }
    form.LastPicturePath = pictures[static_cast<size_t>(index)];
    if (setup.group) setup.group->Prepared(form.GroupIndex(), index);

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
        ChooseEffect(settings.Edit, settings.Case, static_cast<int64_t>(pictures.size()), rng, rt::Clock());

    const uint32_t background = settings.BackGround != 0 ? settings.BackColor : RandomBackground(rng);

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
    // A box that took its picture's size keeps that size, and a blank kept image of it, once the picture
    // is gone: a large photo's worth of memory held until the next preparation, and then held again beside
    // the next photo. Nothing draws into picGetpic before that, so its image goes too.
    getpic.SetWidth(0);
    getpic.SetHeight(0);
}

}  // namespace kpv
