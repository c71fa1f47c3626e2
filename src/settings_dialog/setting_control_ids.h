#pragma once
// Control ids of frmSetting. Tests find the controls by these ids (nested controls sit inside their frame,
// so search all descendants, e.g. with EnumChildWindows and GetDlgCtrlID). Option arrays are numbered from
// their first id by index: optEdit(2) is kOptEdit0 + 2.
namespace kpv::setting_ids {

inline constexpr int kFraPath = 201;
inline constexpr int kFraView = 202;
inline constexpr int kFraViewTime = 203;
inline constexpr int kFraDrawSpeed = 204;
inline constexpr int kFraBlockSize = 205;
inline constexpr int kFraEdit = 206;
inline constexpr int kFraCase = 207;
inline constexpr int kFraBackground = 208;

inline constexpr int kLabel1 = 301;
inline constexpr int kLblVersion = 302;
inline constexpr int kLblComment = 303;
inline constexpr int kImgIcon = 304;
inline constexpr int kPicBackground = 305;

inline constexpr int kTxtPath = 1001;
inline constexpr int kCmdBrowse = 1002;
inline constexpr int kChkSubFolder = 1003;
inline constexpr int kTxtViewTime = 1004;
inline constexpr int kTxtDrawSpeed = 1005;
inline constexpr int kTxtBlockSize = 1006;
inline constexpr int kOptBackground0 = 1010;  // 1010 random, 1011 fixed
inline constexpr int kCmdColor = 1012;
inline constexpr int kOptEdit0 = 1020;        // 1020 none .. 1023 random
inline constexpr int kOptCase0 = 1030;        // 1030 always, 1031 sometimes
// Not IDOK/IDCANCEL: the dialog must not pass for a message box with an OK button. Enter and Esc still
// reach these two buttons.
inline constexpr int kCmdOk = 1040;
inline constexpr int kCmdCancel = 1041;

}  // namespace kpv::setting_ids
