#pragma once
// frmSetting's controls as data: kind, container, caption, position in twips relative to the container,
// tab index. The form is built from this table, so it is the one place where the layout is written down.
#include <span>

namespace kpv {

inline constexpr wchar_t kSettingCaption[] = L"スクリーンセーバーの設定";
inline constexpr int kSettingClientWidthTwips = 5565;
inline constexpr int kSettingClientHeightTwips = 4605;
inline constexpr int kDialogContainer = 0;  // parentId of controls placed directly on the form

enum class ControlKind {
    Frame,          // a captioned, bordered container
    PlainFrame,     // a container without border or caption (it only makes its options a group)
    TextBox,
    Button,
    DefaultButton,  // pressed by Enter
    CancelButton,   // pressed by Esc
    CheckBox,
    Option,         // one element of an option-button array
    Label,          // sized to its text: width and height are 0 in the table
    PictureBox,
    Image,
};

struct ControlLayout {
    int id;
    ControlKind kind;
    int parentId;
    const wchar_t* caption;  // nullptr: set at run time
    int left, top, width, height;
    int tabIndex;  // 0: not a tab stop
};

// Containers come before what they contain, and within each container the controls come in tab order.
std::span<const ControlLayout> SettingFormControls();
const ControlLayout* FindSettingControl(int id);

}  // namespace kpv
