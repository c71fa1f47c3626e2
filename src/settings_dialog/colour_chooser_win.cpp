#include "settings_dialog/colour_chooser_win.h"

#include <windows.h>
#include <commdlg.h>

#include <cstring>

#include "runtime/base/app_info_win.h"
#include "runtime/base/colour_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/base/msgbox_win.h"
#include "settings_dialog/colour_palette.h"
#include "settings_dialog/frm_setting_win.h"

namespace kpv {

std::array<uint32_t, 16> CustomColors{};

uint32_t SelectColor(uint32_t colour) {
    ResetCustomColours(CustomColors);

    constexpr SIZE_T kBlockBytes = sizeof(COLORREF) * 16;
    rt::UniqueHGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kBlockBytes));
    rt::GlobalLockGuard locked(block.get());
    if (!locked.get()) return colour;
    std::memcpy(locked.get(), CustomColors.data(), kBlockBytes);

    HWND owner = frmSetting ? frmSetting->hWnd() : nullptr;
    CHOOSECOLORW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
    // A system-colour reference means nothing to the colour dialog: preselect the colour it stands for.
    request.rgbResult = rt::ResolveColour(colour);
    request.lpCustColors = static_cast<COLORREF*>(locked.get());
    request.Flags = CC_RGBINIT | CC_FULLOPEN;

    const BOOL result = ChooseColorW(&request);
    uint32_t chosen = colour;
    if (result == 1) {
        chosen = request.rgbResult;
    } else if (result != 0 || CommDlgExtendedError() != 0) {
        // A failure, not a cancel: tell the user rather than pretend nothing was asked.
        const std::wstring title = frmSetting ? frmSetting->Caption() : rt::AppTitle();
        rt::MsgBoxTitled(kColourChooserError, rt::kMsgCritical, title);
    }
    // The lock ends before the block is freed (reverse order of construction); the custom colours the
    // user edited are not kept.
    return chosen;
}

}  // namespace kpv
