#include "settings_dialog/setting_form_layout.h"

#include <array>

#include "settings_dialog/setting_control_ids.h"

namespace kpv {

namespace {

using K = ControlKind;
namespace id = setting_ids;

constexpr std::array kControls{
    ControlLayout{id::kFraPath, K::Frame, kDialogContainer, L"画像ファイルの場所", 120, 90, 5325, 1065, 0},
    ControlLayout{id::kTxtPath, K::TextBox, id::kFraPath, nullptr, 120, 285, 4005, 285, 1},
    ControlLayout{id::kCmdBrowse, K::Button, id::kFraPath, L"参照", 4260, 240, 930, 390, 2},
    ControlLayout{id::kChkSubFolder, K::CheckBox, id::kFraPath, L"ｻﾌﾞﾌｫﾙﾀﾞ内の画像も対象に含める", 465, 720, 3030, 195, 3},

    ControlLayout{id::kFraView, K::Frame, kDialogContainer, L"画像の表示", 120, 1380, 5325, 2280, 0},
    ControlLayout{id::kFraViewTime, K::Frame, id::kFraView, L"表示時間", 120, 300, 1020, 780, 0},
    ControlLayout{id::kTxtViewTime, K::TextBox, id::kFraViewTime, nullptr, 180, 300, 390, 270, 4},
    ControlLayout{id::kLabel1, K::Label, id::kFraViewTime, L"秒", 615, 345, 0, 0, 0},
    ControlLayout{id::kFraDrawSpeed, K::Frame, id::kFraView, L"表示速度", 1260, 300, 1020, 780, 0},
    ControlLayout{id::kTxtDrawSpeed, K::TextBox, id::kFraDrawSpeed, nullptr, 180, 300, 615, 270, 5},
    ControlLayout{id::kFraBlockSize, K::Frame, id::kFraView, L"ﾌﾞﾛｯｸｻｲｽﾞ", 2400, 300, 1110, 780, 0},
    ControlLayout{id::kTxtBlockSize, K::TextBox, id::kFraBlockSize, nullptr, 270, 300, 540, 270, 6},

    ControlLayout{id::kFraBackground, K::Frame, id::kFraView, L"背景色", 135, 1155, 3360, 960, 0},
    ControlLayout{id::kOptBackground0 + 0, K::Option, id::kFraBackground, L"ﾗﾝﾀﾞﾑ", 195, 300, 840, 180, 7},
    ControlLayout{id::kOptBackground0 + 1, K::Option, id::kFraBackground, L"固定", 195, 585, 840, 180, 8},
    ControlLayout{id::kPicBackground, K::PictureBox, id::kFraBackground, nullptr, 1095, 510, 945, 315, 0},
    ControlLayout{id::kCmdColor, K::Button, id::kFraBackground, L"色の指定", 2190, 510, 1005, 315, 9},

    ControlLayout{id::kFraEdit, K::Frame, id::kFraView, L"効果", 3630, 300, 1545, 1815, 0},
    ControlLayout{id::kOptEdit0 + 0, K::Option, id::kFraEdit, L"なし", 75, 300, 735, 180, 10},
    ControlLayout{id::kOptEdit0 + 1, K::Option, id::kFraEdit, L"ﾓﾉｸﾛ", 75, 670, 735, 180, 11},
    ControlLayout{id::kOptEdit0 + 2, K::Option, id::kFraEdit, L"ｾﾋﾟｱ", 75, 1040, 735, 180, 12},
    ControlLayout{id::kOptEdit0 + 3, K::Option, id::kFraEdit, L"ﾗﾝﾀﾞﾑ", 75, 1410, 780, 180, 13},
    ControlLayout{id::kFraCase, K::PlainFrame, id::kFraEdit, nullptr, 795, 690, 690, 600, 0},
    ControlLayout{id::kOptCase0 + 0, K::Option, id::kFraCase, L"常に", 30, 45, 660, 180, 14},
    ControlLayout{id::kOptCase0 + 1, K::Option, id::kFraCase, L"時々", 30, 330, 660, 180, 15},

    ControlLayout{id::kCmdOk, K::DefaultButton, kDialogContainer, L"OK", 3270, 3885, 945, 405, 16},
    ControlLayout{id::kCmdCancel, K::CancelButton, kDialogContainer, L"ｷｬﾝｾﾙ", 4485, 3885, 945, 405, 17},
    ControlLayout{id::kImgIcon, K::Image, kDialogContainer, nullptr, 120, 3810, 480, 480, 0},
    ControlLayout{id::kLblVersion, K::Label, kDialogContainer, nullptr, 720, 4095, 0, 0, 0},
    ControlLayout{id::kLblComment, K::Label, kDialogContainer, nullptr, 120, 4335, 0, 0, 0},
};

}  // namespace

std::span<const ControlLayout> SettingFormControls() { return kControls; }

const ControlLayout* FindSettingControl(int controlId) {
    for (const ControlLayout& c : kControls)
        if (c.id == controlId) return &c;
    return nullptr;
}

}  // namespace kpv
