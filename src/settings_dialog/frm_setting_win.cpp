#include "settings_dialog/frm_setting_win.h"

#include <map>

#include "runtime/base/resource_ids.h"
#include "runtime/forms/control_reflect_win.h"
#include "runtime/forms/dialog_font_win.h"
#include "runtime/forms/frame_win.h"
#include "runtime/base/guarded_win.h"
#include "runtime/forms/label_win.h"
#include "runtime/forms/modal_dialog_win.h"
#include "runtime/base/twips.h"
#include "runtime/base/units_win.h"
#include "settings_dialog/field_rules.h"
#include "settings_dialog/setting_control_ids.h"
#include "settings_dialog/setting_form_layout.h"

namespace kpv {

FrmSetting* frmSetting = nullptr;

namespace {

namespace id = setting_ids;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

RECT PixelRect(const ControlLayout& c) {
    const float tx = rt::TwipsPerPixelX();
    const float ty = rt::TwipsPerPixelY();
    const int left = rt::TwipsToPixels(c.left, tx);
    const int top = rt::TwipsToPixels(c.top, ty);
    return RECT{left, top, left + rt::TwipsToPixels(c.width, tx), top + rt::TwipsToPixels(c.height, ty)};
}

HWND CreateButton(HWND parent, const ControlLayout& c, DWORD type) {
    const RECT r = PixelRect(c);
    HWND button = CreateWindowExW(0, L"Button", c.caption ? c.caption : L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | type,
                                  r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), nullptr);
    if (button) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(rt::DialogFont()), FALSE);
    return button;
}

}  // namespace

FrmSetting::FrmSetting() { frmSetting = this; }

FrmSetting::~FrmSetting() {
    if (hwnd_) DestroyWindow(hwnd_);
    if (frmSetting == this) frmSetting = nullptr;
}

std::wstring FrmSetting::Caption() const {
    if (!hwnd_) return kSettingCaption;
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_, text.data(), length + 1)));
    return text;
}

bool FrmSetting::Load() {
    if (hwnd_) return true;
    unloading_ = false;
    // The window procedure builds the controls and runs Form_Load during WM_INITDIALOG.
    return rt::CreateDialogWindow(nullptr, DialogProc, reinterpret_cast<LPARAM>(this), kSettingCaption, kDialogStyle,
                                  kDialogExStyle) != nullptr;
}

void FrmSetting::Show() {
    if (!hwnd_) return;
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
    // The first field in tab order gets the keyboard, and with it the whole text selected.
    txtPath.SetFocus();
}

void FrmSetting::ShowModal() {
    Show();
    rt::RunModalLoop(hwnd_);
}

void FrmSetting::Unload() {
    if (!hwnd_ || unloading_) return;
    unloading_ = true;
    Form_Unload();
    if (hwnd_) DestroyWindow(hwnd_);
}

void FrmSetting::BuildControls() {
    std::map<int, HWND> containers{{kDialogContainer, hwnd_}};
    HFONT font = rt::DialogFont();
    for (const ControlLayout& c : SettingFormControls()) {
        HWND parent = containers[c.parentId];
        const RECT r = PixelRect(c);
        switch (c.kind) {
            case ControlKind::Frame:
            case ControlKind::PlainFrame:
                containers[c.id] = rt::CreateFrame(parent, c.id, c.caption ? c.caption : L"", r,
                                                   c.kind == ControlKind::Frame, font);
                break;
            case ControlKind::TextBox:
                if (c.id == id::kTxtPath) txtPath.Create(parent, c.id, r, font, rt::TextAlign::Left, 0);
                if (c.id == id::kTxtViewTime) txtViewTime.Create(parent, c.id, r, font, rt::TextAlign::Right, kViewTimeRange.maxLength);
                if (c.id == id::kTxtDrawSpeed) txtDrawSpeed.Create(parent, c.id, r, font, rt::TextAlign::Right, kDrawSpeedRange.maxLength);
                if (c.id == id::kTxtBlockSize) txtBlockSize.Create(parent, c.id, r, font, rt::TextAlign::Right, kBlockSizeRange.maxLength);
                break;
            case ControlKind::Button: {
                HWND b = CreateButton(parent, c, BS_PUSHBUTTON);
                if (c.id == id::kCmdBrowse) cmdBrowse = b;
                if (c.id == id::kCmdColor) cmdColor = b;
                break;
            }
            case ControlKind::DefaultButton:
                cmdOk = CreateButton(parent, c, BS_DEFPUSHBUTTON);
                break;
            case ControlKind::CancelButton:
                cmdCancel = CreateButton(parent, c, BS_PUSHBUTTON);
                break;
            case ControlKind::CheckBox:
                chkSubFolder = CreateButton(parent, c, BS_AUTOCHECKBOX);
                break;
            case ControlKind::Option: {
                rt::OptionArray& array = c.id >= id::kOptCase0 ? optCase : c.id >= id::kOptEdit0 ? optEdit : optBackground;
                array.Add(parent, c.id, c.caption, r, font);
                break;
            }
            case ControlKind::Label: {
                HWND label = rt::CreateLabel(parent, c.id, c.caption ? c.caption : L"", POINT{r.left, r.top}, font);
                if (c.id == id::kLblVersion) lblVersion = label;
                if (c.id == id::kLblComment) lblComment = label;
                break;
            }
            case ControlKind::PictureBox:
                picBackground.Create(parent, c.id, r, font);
                break;
            case ControlKind::Image: {
                icon_.reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_KPV), IMAGE_ICON,
                                                          r.right - r.left, r.bottom - r.top, LR_DEFAULTCOLOR)));
                imgIcon = CreateWindowExW(0, L"Static", L"", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_ICON | SS_REALSIZECONTROL,
                                          r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), GetModuleHandleW(nullptr), nullptr);
                if (imgIcon && icon_) SendMessageW(imgIcon, STM_SETICON, reinterpret_cast<WPARAM>(icon_.get()), 0);
                break;
            }
        }
    }
    optBackground.click = [this](int index) { optBackground_Click(index); };
    optEdit.click = [this](int index) { optEdit_Click(index); };
    WireFieldEvents();
    SendMessageW(hwnd_, DM_SETDEFID, id::kCmdOk, 0);
}

void FrmSetting::WireFieldEvents() {
    txtPath.events.gotFocus = [this] { txtPath_GotFocus(); };
    txtPath.events.lostFocus = [this] { txtPath_LostFocus(); };

    txtViewTime.events.keyDown = [this](uint16_t& k, int s) { txtViewTime_KeyDown(k, s); };
    txtViewTime.events.keyPress = [this](uint16_t& k) { txtViewTime_KeyPress(k); };
    txtViewTime.events.change = [this] { txtViewTime_Change(); };
    txtViewTime.events.gotFocus = [this] { txtViewTime_GotFocus(); };
    txtViewTime.events.lostFocus = [this] { txtViewTime_LostFocus(); };

    txtDrawSpeed.events.keyDown = [this](uint16_t& k, int s) { txtDrawSpeed_KeyDown(k, s); };
    txtDrawSpeed.events.keyPress = [this](uint16_t& k) { txtDrawSpeed_KeyPress(k); };
    txtDrawSpeed.events.change = [this] { txtDrawSpeed_Change(); };
    txtDrawSpeed.events.gotFocus = [this] { txtDrawSpeed_GotFocus(); };
    txtDrawSpeed.events.lostFocus = [this] { txtDrawSpeed_LostFocus(); };

    txtBlockSize.events.keyDown = [this](uint16_t& k, int s) { txtBlockSize_KeyDown(k, s); };
    txtBlockSize.events.keyPress = [this](uint16_t& k) { txtBlockSize_KeyPress(k); };
    txtBlockSize.events.change = [this] { txtBlockSize_Change(); };
    txtBlockSize.events.gotFocus = [this] { txtBlockSize_GotFocus(); };
    txtBlockSize.events.lostFocus = [this] { txtBlockSize_LostFocus(); };
}

bool FrmSetting::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (rt::ReflectCommand(wParam, lParam)) return true;
    if (optBackground.OnCommand(wParam, lParam) || optEdit.OnCommand(wParam, lParam) || optCase.OnCommand(wParam, lParam))
        return true;
    if (HIWORD(wParam) != BN_CLICKED) return false;
    switch (LOWORD(wParam)) {
        case id::kCmdOk:
        case IDOK:
            cmdOk_Click();
            return true;
        case id::kCmdCancel:
        case IDCANCEL:  // Esc, from the dialog manager
            cmdCancel_Click();
            return true;
        case id::kCmdBrowse:
            cmdBrowse_Click();
            return true;
        case id::kCmdColor:
            cmdColor_Click();
            return true;
        default:
            return false;
    }
}

INT_PTR FrmSetting::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG: {
            // Client area of the fixed size; the frame around it as the window style makes it.
            RECT r{0, 0, rt::TwipsToPixels(kSettingClientWidthTwips, rt::TwipsPerPixelX()),
                   rt::TwipsToPixels(kSettingClientHeightTwips, rt::TwipsPerPixelY())};
            AdjustWindowRectEx(&r, kDialogStyle, FALSE, kDialogExStyle);
            SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            BuildControls();
            Form_Load();
            return FALSE;  // Show puts the focus on the first field
        }
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_CLOSE:  // the close box, Alt+F4
            Unload();
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) Unload();  // the session ends: the instance flag must not stay set
            return TRUE;
        case WM_DESTROY:
            // Destroyed without Unload (by the system): the flag is still released.
            if (!unloading_) {
                unloading_ = true;
                Form_Unload();
            }
            return TRUE;
        case WM_NCDESTROY:
            hwnd_ = nullptr;
            return FALSE;
        default:
            return FALSE;
    }
}

INT_PTR CALLBACK FrmSetting::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        reinterpret_cast<FrmSetting*>(lParam)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<FrmSetting*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    rt::RunGuarded([&] { result = self->OnMessage(msg, wParam, lParam); });
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    return result;
}

}  // namespace kpv
