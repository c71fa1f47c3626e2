// The settings dialog's pure parts: the swatch caption colour, the information lines, how stored settings
// map to options and back, what OK takes, and the layout table the form is built from.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "settings_dialog/dialog_values.h"
#include "settings_dialog/setting_control_ids.h"
#include "settings_dialog/setting_form_layout.h"
#include "settings_dialog/setting_labels.h"
#include "settings_dialog/stored_options.h"
#include "settings_dialog/swatch_colour.h"

using namespace kpv;

namespace {
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }
}  // namespace

TEST(SwatchCaption, StandsOutAgainstTheSwatchColour) {
    EXPECT_EQ(SwatchCaptionColour(Rgb(128, 128, 128)), Rgb(0, 0, 0));
    EXPECT_EQ(SwatchCaptionColour(Rgb(255, 255, 255)), Rgb(0, 0, 0));
    EXPECT_EQ(SwatchCaptionColour(Rgb(0, 0, 0)), Rgb(255, 255, 255));
    EXPECT_EQ(SwatchCaptionColour(Rgb(255, 0, 128)), Rgb(0, 255, 0));
    // The button-face reference is taken by its raw bytes 15, 0, 0.
    EXPECT_EQ(SwatchCaptionColour(kButtonFaceColourRef), Rgb(240, 255, 255));
}

TEST(SwatchCaption, MiddleBandIsExactlyOneTwentyToOneThirtyFive) {
    for (uint32_t v = 0; v < 256; ++v) {
        const uint32_t expected = (v >= 120 && v <= 135) ? 0 : 255 - v;
        EXPECT_EQ(SwatchCaptionColour(Rgb(v, 0, 0)) & 0xFF, expected) << "red " << v;
        EXPECT_EQ((SwatchCaptionColour(Rgb(0, v, 0)) >> 8) & 0xFF, expected) << "green " << v;
        EXPECT_EQ((SwatchCaptionColour(Rgb(0, 0, v)) >> 16) & 0xFF, expected) << "blue " << v;
    }
    EXPECT_EQ(SwatchCaptionColour(0xFF000000u | Rgb(1, 2, 3)) >> 24, 0u);  // the high byte never leaks through
}

TEST(SwatchColour, RandomShowsTheDialogBackgroundFixedShowsTheColour) {
    EXPECT_EQ(SwatchColourFor(0, Rgb(1, 2, 3)), kButtonFaceColourRef);
    EXPECT_EQ(SwatchColourFor(1, Rgb(1, 2, 3)), Rgb(1, 2, 3));
}

TEST(InformationLines, VersionWithoutLeadingZerosAndCommentWithItsSeparator) {
    EXPECT_EQ(VersionLabelText(1, 1, 7), L"Ver.1.1.7");
    EXPECT_EQ(VersionLabelText(10, 0, 65535), L"Ver.10.0.65535");
    EXPECT_EQ(CommentLabelText(L"Copyright (C) 2026 Tarnel Software", L"Tarnel Software"),
              L"Copyright (C) 2026 Tarnel Software.   Tarnel Software");
    EXPECT_EQ(CommentLabelText(L"", L""), L".   ");
}

TEST(StoredOptions, OutOfRangeValuesShowTheOptionWithTheSameEffectInTheShow) {
    EXPECT_EQ(BackgroundOptionFor(0), 0);
    EXPECT_EQ(BackgroundOptionFor(1), 1);
    EXPECT_EQ(BackgroundOptionFor(-1), 1);
    EXPECT_EQ(BackgroundOptionFor(7), 1);
    for (int16_t e = 0; e < 4; ++e) EXPECT_EQ(EditOptionFor(e), e);
    EXPECT_EQ(EditOptionFor(-3), 0);
    EXPECT_EQ(EditOptionFor(4), 0);
    EXPECT_EQ(EditOptionFor(32767), 0);
    EXPECT_EQ(CaseOptionFor(0), 0);
    EXPECT_EQ(CaseOptionFor(1), 1);
    EXPECT_EQ(CaseOptionFor(9), 1);
    EXPECT_EQ(CaseOptionFor(-2), 0);
    EXPECT_TRUE(SubFolderTicked(1));
    EXPECT_FALSE(SubFolderTicked(0));
    EXPECT_FALSE(SubFolderTicked(2));
    EXPECT_FALSE(CaseOptionsEnabledFor(0));
    EXPECT_TRUE(CaseOptionsEnabledFor(1));
    EXPECT_TRUE(CaseOptionsEnabledFor(2));
    EXPECT_FALSE(CaseOptionsEnabledFor(3));
}

namespace {
SaverSettingsRecord Current() {
    SaverSettingsRecord r;
    r.Path = L"C:\\Old\\";
    r.SubFolder = 1;
    r.Interval = 7;
    r.BlockSize = 32;
    r.Speed = 100;
    r.BackGround = 1;
    r.BackColor = Rgb(10, 20, 30);
    r.Edit = 2;
    r.Case = 1;
    return r;
}
DialogControlState Untouched() {
    DialogControlState c;
    c.pathText = L"C:\\Old\\";
    c.subFolderTicked = true;
    c.viewTimeText = L"7";
    c.drawSpeedText = L"100";
    c.blockSizeText = L"32";
    c.backgroundOption = 1;
    c.swatchColour = Rgb(10, 20, 30);
    c.editOption = 2;
    c.caseOption = 1;
    return c;
}
bool Same(const SaverSettingsRecord& a, const SaverSettingsRecord& b) {
    return a.Path == b.Path && a.SubFolder == b.SubFolder && a.Interval == b.Interval && a.BlockSize == b.BlockSize &&
           a.Speed == b.Speed && a.BackGround == b.BackGround && a.BackColor == b.BackColor && a.Edit == b.Edit &&
           a.Case == b.Case;
}
}  // namespace

TEST(TakingValues, AnUntouchedDialogStoresWhatWasLoaded) {
    EXPECT_TRUE(Same(TakeDialogValues(Untouched(), Current()), Current()));
}

TEST(TakingValues, EveryControlMapsToItsField) {
    DialogControlState c;
    c.pathText = L"D:\\画像";  // taken as it is, even without the final backslash
    c.subFolderTicked = false;
    c.viewTimeText = L"60";
    c.drawSpeedText = L"20000";
    c.blockSizeText = L"5";      // OK pressed with Enter before the field was left: stored as typed
    c.backgroundOption = 1;
    c.swatchColour = Rgb(255, 0, 128);
    c.editOption = 3;
    c.caseOption = 0;
    const SaverSettingsRecord r = TakeDialogValues(c, Current());
    EXPECT_EQ(r.Path, L"D:\\画像");
    EXPECT_EQ(r.SubFolder, 0);
    EXPECT_EQ(r.Interval, 60);
    EXPECT_EQ(r.Speed, 20000);
    EXPECT_EQ(r.BlockSize, 5);
    EXPECT_EQ(r.BackGround, 1);
    EXPECT_EQ(r.BackColor, Rgb(255, 0, 128));
    EXPECT_EQ(r.Edit, 3);
    EXPECT_EQ(r.Case, 0);
}

TEST(TakingValues, EmptyNumericFieldsKeepTheirSettings) {
    DialogControlState c = Untouched();
    c.viewTimeText.clear();
    c.drawSpeedText.clear();
    c.blockSizeText.clear();
    const SaverSettingsRecord r = TakeDialogValues(c, Current());
    EXPECT_EQ(r.Interval, 7);
    EXPECT_EQ(r.Speed, 100);
    EXPECT_EQ(r.BlockSize, 32);
}

TEST(TakingValues, RandomBackgroundKeepsTheFixedColourForLater) {
    DialogControlState c = Untouched();
    c.backgroundOption = 0;
    c.swatchColour = kButtonFaceColourRef;  // what the swatch shows with the random background
    const SaverSettingsRecord r = TakeDialogValues(c, Current());
    EXPECT_EQ(r.BackGround, 0);
    EXPECT_EQ(r.BackColor, Rgb(10, 20, 30));
}

TEST(TakingValues, NoEffectOptionSelectedKeepsEditAndOtherCasesStoreOne) {
    DialogControlState c = Untouched();
    c.editOption = kNoOptionSelected;
    c.caseOption = kNoOptionSelected;
    c.backgroundOption = kNoOptionSelected;
    const SaverSettingsRecord r = TakeDialogValues(c, Current());
    EXPECT_EQ(r.Edit, 2);
    EXPECT_EQ(r.Case, 1);
    EXPECT_EQ(r.BackGround, 1);
}

TEST(FormLayout, EveryControlSitsInsideItsContainer) {
    std::map<int, const ControlLayout*> byId;
    for (const ControlLayout& c : SettingFormControls()) {
        EXPECT_TRUE(byId.emplace(c.id, &c).second) << "duplicate id " << c.id;
        if (c.parentId != kDialogContainer) {
            ASSERT_TRUE(byId.count(c.parentId)) << "container of " << c.id << " must come first";
            const ControlLayout& p = *byId[c.parentId];
            EXPECT_TRUE(p.kind == ControlKind::Frame || p.kind == ControlKind::PlainFrame);
            EXPECT_LE(c.left + c.width, p.width) << c.id;
            EXPECT_LE(c.top + c.height, p.height) << c.id;
        } else {
            EXPECT_LE(c.left + c.width, kSettingClientWidthTwips) << c.id;
            EXPECT_LE(c.top + c.height, kSettingClientHeightTwips) << c.id;
        }
    }
}

TEST(FormLayout, TabOrderFollowsTheContainersAndRunsFromOneToSeventeen) {
    // Windows moves the focus through the controls in creation order, descending into containers; the
    // table's order must therefore give the tab indexes in ascending order.
    std::vector<int> order;
    for (const ControlLayout& c : SettingFormControls())
        if (c.tabIndex != 0) order.push_back(c.tabIndex);
    std::vector<int> expected;
    for (int i = 1; i <= 17; ++i) expected.push_back(i);
    EXPECT_EQ(order, expected);

    namespace id = setting_ids;
    EXPECT_EQ(FindSettingControl(id::kTxtPath)->tabIndex, 1);
    EXPECT_EQ(FindSettingControl(id::kCmdColor)->tabIndex, 9);
    EXPECT_EQ(FindSettingControl(id::kOptCase0 + 1)->tabIndex, 15);
    EXPECT_EQ(FindSettingControl(id::kCmdCancel)->tabIndex, 17);
    EXPECT_EQ(FindSettingControl(id::kCmdOk)->kind, ControlKind::DefaultButton);
    EXPECT_EQ(FindSettingControl(id::kCmdCancel)->kind, ControlKind::CancelButton);
    EXPECT_EQ(FindSettingControl(12345), nullptr);
}

TEST(FormLayout, OptionArraysAreThreeGroupsEachInItsOwnContainer) {
    namespace id = setting_ids;
    std::map<int, std::set<int>> containers;
    for (const ControlLayout& c : SettingFormControls())
        if (c.kind == ControlKind::Option) containers[c.parentId].insert(c.id);
    ASSERT_EQ(containers.size(), 3u);
    EXPECT_EQ(containers[id::kFraBackground], (std::set<int>{id::kOptBackground0, id::kOptBackground0 + 1}));
    EXPECT_EQ(containers[id::kFraEdit], (std::set<int>{id::kOptEdit0, id::kOptEdit0 + 1, id::kOptEdit0 + 2, id::kOptEdit0 + 3}));
    EXPECT_EQ(containers[id::kFraCase], (std::set<int>{id::kOptCase0, id::kOptCase0 + 1}));
}
