// frmSetting in-process: its window and controls as laid out, the settings shown at load, the field rules
// as keys and focus changes reach them (beeps counted), the swatch's kept image, the option groups, the
// tab order, and what OK, Cancel and a missing folder do to the registry and the dialog.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/dialog_controls_win.h"
#include "support/driver_win.h"
#include "message_watch.h"
#include "runtime/base/beep_win.h"
#include "runtime/base/colour_win.h"
#include "runtime/forms/dialog_font_win.h"
#include "runtime/forms/message_loop_win.h"
#include "runtime/base/twips.h"
#include "runtime/base/units_win.h"
#include "settings_dialog/frm_setting_win.h"
#include "settings_dialog/setting_control_ids.h"
#include "settings_dialog/setting_form_layout.h"
#include "settings/saver_settings.h"
#include "settings_dialog/folder_browser_win.h"

namespace kpv {
namespace {

namespace id = setting_ids;
using test::FindDescendant;
using test::IsChecked;

int g_beeps = 0;
void CountBeep() { ++g_beeps; }

constexpr COLORREF Rgb(int r, int g, int b) { return RGB(r, g, b); }

using test::Le16;
using test::Le32;

// The bytes of "Path" as stored through the ANSI calls, its NUL included.
std::string StoredAnsiPath() {
    const test::RegValue path = test::ReadProgramValueA(L"Settings", "Path");
    return path.exists && path.type == REG_SZ ? std::string(path.data.begin(), path.data.end()) : std::string();
}

std::string AnsiWithNul(const std::wstring& text) {
    std::string a(static_cast<size_t>(WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr)), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, a.data(), static_cast<int>(a.size()), nullptr, nullptr);
    return a;
}

class SettingDialog : public ::testing::Test {
protected:
    void SetUp() override {
        RegistryKeyBase = L"Software\\Tarnel Software\\KPV\\";
        folder_ = test::TestDataDir() + L"\\dialog-folder";
        ASSERT_TRUE(test::MakeDirectory(folder_));
        SaverSettings = SaverSettingsRecord{};
        SaverSettings.Path = folder_ + L"\\";
        SaverSettings.SubFolder = 1;
        SaverSettings.Interval = 7;
        SaverSettings.BlockSize = 32;
        SaverSettings.Speed = 250;
        SaverSettings.BackGround = 1;
        SaverSettings.BackColor = Rgb(255, 0, 128);
        SaverSettings.Edit = 1;
        SaverSettings.Case = 1;
        LastBrowseFolder.clear();
        g_beeps = 0;
        rt::SetBeepHookForTesting(CountBeep);
        test::DeleteProgramKey();
        test::WriteProgramInt16(L"Flags", L"Active", 1);
    }
    void TearDown() override {
        form_.reset();
        rt::SetBeepHookForTesting(nullptr);
    }
    void Open() {
        form_ = std::make_unique<FrmSetting>();
        ASSERT_TRUE(form_->Load());
        form_->Show();
        dialog_ = form_->hWnd();
        rt::DoEvents();
    }
    HWND Control(int controlId) const { return FindDescendant(dialog_, controlId); }
    std::wstring Text(int controlId) const { return test::WindowText(Control(controlId)); }
    void Focus(int controlId) {
        SetFocus(Control(controlId));
        rt::DoEvents();
    }
    // A key as the keyboard delivers it to a control: its key-down goes through the dialog's loop, where
    // TranslateMessage makes the character (from the thread's keyboard state, Shift and Ctrl included).
    void Key(int controlId, WORD vk) {
        const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
        PostMessageW(Control(controlId), WM_KEYDOWN, vk, 1 | (scan << 16));
        PostMessageW(Control(controlId), WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000u);
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            if (!IsDialogMessageW(dialog_, &m)) { TranslateMessage(&m); DispatchMessageW(&m); }
    }
    // What the dialog manager does with a key (Tab, the arrows, Enter, Esc) for the focused control.
    void DialogKey(WORD vk) {
        MSG m{GetFocus(), WM_KEYDOWN, vk, 1, 0, {0, 0}};
        IsDialogMessageW(dialog_, &m);
        rt::DoEvents();
    }
    void Click(int controlId) {
        SendMessageW(Control(controlId), BM_CLICK, 0, 0);
        rt::DoEvents();
    }
    uint32_t SwatchPixel(int x, int y) const {
        HWND swatch = Control(id::kPicBackground);
        HDC dc = GetDC(swatch);
        const COLORREF c = GetPixel(dc, x, y);
        ReleaseDC(swatch, dc);
        return c;
    }

    std::wstring folder_;
    std::unique_ptr<FrmSetting> form_;
    HWND dialog_ = nullptr;
};

TEST_F(SettingDialog, IsAFixedDialogWithTheGivenClientSizeCentredOnTheScreen) {
    Open();
    EXPECT_EQ(test::WindowText(dialog_), L"スクリーンセーバーの設定");
    EXPECT_EQ(test::WindowClass(dialog_), L"#32770");
    const LONG style = GetWindowLongW(dialog_, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);  // no icon in the caption
    RECT client;
    GetClientRect(dialog_, &client);
    EXPECT_EQ(client.right, rt::TwipsToPixels(5565, rt::TwipsPerPixelX()));
    EXPECT_EQ(client.bottom, rt::TwipsToPixels(4605, rt::TwipsPerPixelY()));
    RECT window;
    GetWindowRect(dialog_, &window);
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_NEAR(window.left, (screenW - (window.right - window.left)) / 2, 1);
    EXPECT_NEAR(window.top, (screenH - (window.bottom - window.top)) / 2, 1);
}

TEST_F(SettingDialog, EveryControlSitsInItsContainerWithItsCaption) {
    Open();
    const float tx = rt::TwipsPerPixelX(), ty = rt::TwipsPerPixelY();
    for (const ControlLayout& c : SettingFormControls()) {
        HWND w = Control(c.id);
        ASSERT_NE(w, nullptr) << "control " << c.id;
        const HWND expectedParent = c.parentId == kDialogContainer ? dialog_ : Control(c.parentId);
        EXPECT_EQ(GetParent(w), expectedParent) << "control " << c.id;
        const RECT r = test::RectInParent(w);
        EXPECT_EQ(r.left, rt::TwipsToPixels(c.left, tx)) << "control " << c.id;
        EXPECT_EQ(r.top, rt::TwipsToPixels(c.top, ty)) << "control " << c.id;
        if (c.kind == ControlKind::Label) {
            const std::wstring text = test::WindowText(w);
            const SIZE extent = rt::TextExtent(rt::DialogFont(), text.c_str(), static_cast<int>(text.size()));
            EXPECT_EQ(r.right - r.left, extent.cx) << "label " << c.id << " is sized to its text";
            EXPECT_EQ(r.bottom - r.top, extent.cy) << "label " << c.id;
            EXPECT_GT(extent.cx, 0);
        } else {
            EXPECT_EQ(r.right - r.left, rt::TwipsToPixels(c.width, tx)) << "control " << c.id;
            EXPECT_EQ(r.bottom - r.top, rt::TwipsToPixels(c.height, ty)) << "control " << c.id;
        }
        if (c.caption) {
            EXPECT_EQ(test::WindowText(w), c.caption) << "control " << c.id;
        }
    }
    EXPECT_EQ(SendMessageW(Control(id::kCmdOk), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON);
    EXPECT_EQ(LOWORD(SendMessageW(dialog_, DM_GETDEFID, 0, 0)), id::kCmdOk);
    EXPECT_EQ(GetWindowLongW(Control(id::kTxtViewTime), GWL_STYLE) & ES_RIGHT, ES_RIGHT);
    EXPECT_EQ(GetWindowLongW(Control(id::kTxtPath), GWL_STYLE) & (ES_RIGHT | ES_CENTER), 0);
    EXPECT_EQ(SendMessageW(Control(id::kTxtViewTime), EM_GETLIMITTEXT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(Control(id::kTxtDrawSpeed), EM_GETLIMITTEXT, 0, 0), 5);
    EXPECT_EQ(SendMessageW(Control(id::kTxtBlockSize), EM_GETLIMITTEXT, 0, 0), 3);
}

TEST_F(SettingDialog, ShowsTheLoadedSettingsWithTheFirstFieldSelected) {
    SaverSettings.Interval = 65;  // out of the field's range: shown clamped
    Open();
    EXPECT_EQ(Text(id::kTxtPath), folder_ + L"\\");
    EXPECT_TRUE(IsChecked(Control(id::kChkSubFolder)));
    EXPECT_EQ(Text(id::kTxtViewTime), L"60");
    EXPECT_EQ(Text(id::kTxtDrawSpeed), L"250");
    EXPECT_EQ(Text(id::kTxtBlockSize), L"32");
    EXPECT_TRUE(IsChecked(Control(id::kOptBackground0 + 1)));
    EXPECT_FALSE(IsChecked(Control(id::kOptBackground0)));
    EXPECT_TRUE(IsWindowEnabled(Control(id::kCmdColor)));
    EXPECT_TRUE(IsChecked(Control(id::kOptEdit0 + 1)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0 + 1)));
    EXPECT_TRUE(IsWindowEnabled(Control(id::kOptCase0)));
    EXPECT_EQ(GetFocus(), Control(id::kTxtPath));
    const auto [start, end] = test::SelectionOf(Control(id::kTxtPath));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, Text(id::kTxtPath).size());
    EXPECT_EQ(Text(id::kLblVersion).rfind(L"Ver.", 0), 0u);
    EXPECT_NE(Text(id::kLblComment).find(L".   "), std::wstring::npos);
}

TEST_F(SettingDialog, StoredOptionsOutsideTheirRangesShowTheOptionWithTheSameEffect) {
    SaverSettings.BackGround = 5;
    SaverSettings.Edit = 9;
    SaverSettings.Case = -1;
    SaverSettings.SubFolder = 2;
    Open();
    EXPECT_TRUE(IsChecked(Control(id::kOptBackground0 + 1)));
    EXPECT_TRUE(IsChecked(Control(id::kOptEdit0)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0)));
    EXPECT_FALSE(IsChecked(Control(id::kChkSubFolder)));
}

TEST_F(SettingDialog, RandomBackgroundDisablesTheColourButtonAndShowsTheDialogFace) {
    SaverSettings.BackGround = 0;
    Open();
    EXPECT_TRUE(IsChecked(Control(id::kOptBackground0)));
    EXPECT_FALSE(IsWindowEnabled(Control(id::kCmdColor)));
    EXPECT_EQ(SwatchPixel(1, 1), GetSysColor(COLOR_BTNFACE));
    // The caption is drawn in RGB(240, 255, 255), from the raw bytes of the button-face reference: where it
    // shows, the pixels lie between the face and that colour (edges are smoothed), and some are exactly it.
    RECT client;
    GetClientRect(Control(id::kPicBackground), &client);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    int captionPixels = 0, exact = 0;
    auto between = [](int v, int a, int b) { return v >= std::min(a, b) && v <= std::max(a, b); };
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x) {
            const COLORREF p = SwatchPixel(x, y);
            if (p == face) continue;
            ++captionPixels;
            if (p == Rgb(240, 255, 255)) ++exact;
            EXPECT_TRUE(between(GetRValue(p), GetRValue(face), 240) && between(GetGValue(p), GetGValue(face), 255) &&
                        between(GetBValue(p), GetBValue(face), 255));
        }
    EXPECT_GT(captionPixels, 10);
    EXPECT_GT(exact, 0);
}

TEST_F(SettingDialog, FixedBackgroundDrawsTheColourWithACentredContrastingCaption) {
    Open();
    HWND swatch = Control(id::kPicBackground);
    RECT client;
    GetClientRect(swatch, &client);
    EXPECT_EQ(SwatchPixel(0, 0), Rgb(255, 0, 128));
    int left = client.right, right = -1, top = client.bottom, bottom = -1;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right; ++x)
            if (SwatchPixel(x, y) == Rgb(0, 255, 0)) {
                left = std::min(left, x); right = std::max(right, x);
                top = std::min(top, y); bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "caption drawn in RGB(0, 255, 0)";
    const SIZE text = rt::TextExtent(rt::DialogFont(), kSwatchCaption, 3);
    const int x0 = (client.right - text.cx) / 2, y0 = (client.bottom - text.cy) / 2;
    EXPECT_GE(left, x0 - 1);
    EXPECT_LE(right, x0 + text.cx + 1);
    EXPECT_GE(top, y0 - 1);
    EXPECT_LE(bottom, y0 + text.cy + 1);
    EXPECT_NEAR((left + right) / 2.0, client.right / 2.0, 3.0);

    // The image is kept: a repaint request is served from it.
    InvalidateRect(swatch, nullptr, TRUE);
    UpdateWindow(swatch);
    EXPECT_EQ(SwatchPixel(0, 0), Rgb(255, 0, 128));

    Click(id::kOptBackground0);
    EXPECT_EQ(SwatchPixel(0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_FALSE(IsWindowEnabled(Control(id::kCmdColor)));
    Click(id::kOptBackground0 + 1);
    EXPECT_EQ(SwatchPixel(0, 0), Rgb(255, 0, 128));
    EXPECT_TRUE(IsWindowEnabled(Control(id::kCmdColor)));
}

TEST_F(SettingDialog, CaseOptionsCountOnlyForMonochromeAndSepia) {
    SaverSettings.Edit = 0;
    SaverSettings.Case = 1;
    Open();
    EXPECT_FALSE(IsWindowEnabled(Control(id::kOptCase0)));
    EXPECT_FALSE(IsWindowEnabled(Control(id::kOptCase0 + 1)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0 + 1))) << "the stored Case shows although the group is disabled";
    Click(id::kOptEdit0 + 1);
    EXPECT_TRUE(IsWindowEnabled(Control(id::kOptCase0)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0 + 1)));
    EXPECT_FALSE(IsChecked(Control(id::kOptEdit0)));
    Click(id::kOptEdit0);
    EXPECT_FALSE(IsWindowEnabled(Control(id::kOptCase0 + 1)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0)));
    EXPECT_FALSE(IsChecked(Control(id::kOptCase0 + 1)));
    // The three groups are independent: the effect click left the background alone.
    EXPECT_TRUE(IsChecked(Control(id::kOptBackground0 + 1)));
}

TEST_F(SettingDialog, TypingKeepsTheNumericFieldsInRange) {
    Open();
    Focus(id::kTxtViewTime);
    Key(id::kTxtViewTime, '0');
    EXPECT_EQ(Text(id::kTxtViewTime), L"1");
    EXPECT_EQ(test::SelectionOf(Control(id::kTxtViewTime)), std::make_pair(DWORD{1}, DWORD{1}));
    SetWindowTextW(Control(id::kTxtViewTime), L"");
    Key(id::kTxtViewTime, '7');
    Key(id::kTxtViewTime, '5');
    EXPECT_EQ(Text(id::kTxtViewTime), L"60");

    Focus(id::kTxtDrawSpeed);
    for (wchar_t c : std::wstring(L"20001")) Key(id::kTxtDrawSpeed, static_cast<WORD>(c));
    EXPECT_EQ(Text(id::kTxtDrawSpeed), L"20000");
    EXPECT_EQ(g_beeps, 0);

    // Pasted full-width digits become ASCII; other pasted text keeps only its digits.
    SendMessageW(Control(id::kTxtDrawSpeed), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\uFF11\uFF12\uFF13"));
    EXPECT_EQ(Text(id::kTxtDrawSpeed), L"123");
    SendMessageW(Control(id::kTxtDrawSpeed), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"4x5"));
    EXPECT_EQ(Text(id::kTxtDrawSpeed), L"45");
}

TEST_F(SettingDialog, KeysThatAreNotDigitsBeepAndLeaveTheFieldAlone) {
    Open();
    Focus(id::kTxtBlockSize);
    SetWindowTextW(Control(id::kTxtBlockSize), L"");
    Key(id::kTxtBlockSize, 'A');
    EXPECT_EQ(g_beeps, 1) << "a letter beeps once";
    Key(id::kTxtBlockSize, VK_SPACE);
    Key(id::kTxtBlockSize, VK_OEM_MINUS);
    Key(id::kTxtBlockSize, VK_OEM_PERIOD);
    EXPECT_EQ(g_beeps, 4);
    EXPECT_EQ(Text(id::kTxtBlockSize), L"");

    BYTE keys[256];
    GetKeyboardState(keys);
    BYTE pressed[256];
    std::copy(std::begin(keys), std::end(keys), std::begin(pressed));
    pressed[VK_SHIFT] = 0x80;
    SetKeyboardState(pressed);
    Key(id::kTxtBlockSize, VK_SHIFT);        // Shift by itself
    EXPECT_EQ(g_beeps, 5);
    Key(id::kTxtBlockSize, '1');      // Shift+1: the key passes, its character does not
    EXPECT_EQ(g_beeps, 6);
    pressed[VK_SHIFT] = 0;
    pressed[VK_CONTROL] = 0x80;
    SetKeyboardState(pressed);
    Key(id::kTxtBlockSize, 'V');            // Ctrl+V
    EXPECT_EQ(g_beeps, 7);
    SetKeyboardState(keys);
    EXPECT_EQ(Text(id::kTxtBlockSize), L"");

    Key(id::kTxtBlockSize, VK_NUMPAD4);  // keypad digits and editing keys pass
    Key(id::kTxtBlockSize, VK_LEFT);
    Key(id::kTxtBlockSize, VK_BACK);
    EXPECT_EQ(g_beeps, 7);
    Key(id::kTxtBlockSize, VK_END);
    Key(id::kTxtBlockSize, VK_BACK);
    EXPECT_EQ(Text(id::kTxtBlockSize), L"");
    EXPECT_EQ(g_beeps, 7);
}

TEST_F(SettingDialog, LeavingAFieldRestoresOrRaisesItsValue) {
    Open();
    Focus(id::kTxtBlockSize);
    const auto [start, end] = test::SelectionOf(Control(id::kTxtBlockSize));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 2u) << "the whole text is selected on entry";
    Key(id::kTxtBlockSize, '5');
    EXPECT_EQ(Text(id::kTxtBlockSize), L"5");
    Focus(id::kTxtViewTime);
    EXPECT_EQ(Text(id::kTxtBlockSize), L"10");

    SetWindowTextW(Control(id::kTxtViewTime), L"");
    Focus(id::kTxtDrawSpeed);
    EXPECT_EQ(Text(id::kTxtViewTime), L"7");
    SetWindowTextW(Control(id::kTxtDrawSpeed), L"");
    Focus(id::kTxtBlockSize);
    EXPECT_EQ(Text(id::kTxtDrawSpeed), L"250");
    SetWindowTextW(Control(id::kTxtBlockSize), L"");
    Focus(id::kTxtPath);
    EXPECT_EQ(Text(id::kTxtBlockSize), L"32");

    SetWindowTextW(Control(id::kTxtPath), L"C:\\Pictures");
    Focus(id::kTxtViewTime);
    EXPECT_EQ(Text(id::kTxtPath), L"C:\\Pictures\\");
    EXPECT_EQ(test::SelectionOf(Control(id::kTxtPath)), std::make_pair(DWORD{0}, DWORD{0}));
    SetWindowTextW(Control(id::kTxtPath), L"");
    Focus(id::kTxtPath);
    Focus(id::kTxtViewTime);
    EXPECT_EQ(Text(id::kTxtPath), L"");
}

TEST_F(SettingDialog, TabVisitsTheControlsInTheirOrderAndArrowsMoveWithinAGroup) {
    Open();
    ASSERT_EQ(GetFocus(), Control(id::kTxtPath));
    const int expected[] = {id::kCmdBrowse, id::kChkSubFolder, id::kTxtViewTime, id::kTxtDrawSpeed, id::kTxtBlockSize,
                            id::kOptBackground0 + 1, id::kCmdColor, id::kOptEdit0 + 1, id::kOptCase0 + 1,
                            id::kCmdOk, id::kCmdCancel, id::kTxtPath};
    for (int next : expected) {
        DialogKey(VK_TAB);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), next);
    }
    // Arrows move through the effect options and select them; the case group is its own.
    SetFocus(Control(id::kOptEdit0 + 1));
    DialogKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), Control(id::kOptEdit0 + 2));
    EXPECT_TRUE(IsChecked(Control(id::kOptEdit0 + 2)));
    EXPECT_FALSE(IsChecked(Control(id::kOptEdit0 + 1)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0 + 1)));
    DialogKey(VK_DOWN);
    EXPECT_TRUE(IsChecked(Control(id::kOptEdit0 + 3)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0))) << "random effect: the case goes back to always";
    DialogKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), Control(id::kOptEdit0)) << "the group wraps without entering the case options";
    EXPECT_TRUE(IsChecked(Control(id::kOptEdit0)));

    // The background options wrap too: the colour swatch after them takes no keys and shows no focus.
    SetFocus(Control(id::kOptBackground0 + 1));
    DialogKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), Control(id::kOptBackground0));
    DialogKey(VK_UP);
    EXPECT_EQ(GetFocus(), Control(id::kOptBackground0 + 1));
}

// The bytes each value is stored in are the end-to-end test's; here, what OK takes from the dialog.
TEST_F(SettingDialog, OkTakesEveryValueAndReleasesTheFlag) {
    SaverSettings.BackGround = 0;
    SaverSettings.BackColor = Rgb(1, 2, 3);
    Open();
    Click(id::kChkSubFolder);
    SetWindowTextW(Control(id::kTxtViewTime), L"12");
    SetWindowTextW(Control(id::kTxtDrawSpeed), L"20000");
    SetWindowTextW(Control(id::kTxtBlockSize), L"64");
    Click(id::kOptEdit0 + 2);
    Click(id::kOptCase0);
    Click(id::kCmdOk);
    EXPECT_FALSE(form_->IsLoaded());
    EXPECT_EQ(SaverSettings.Path, folder_ + L"\\");
    EXPECT_EQ(SaverSettings.SubFolder, 0);
    EXPECT_EQ(SaverSettings.Interval, 12);
    EXPECT_EQ(SaverSettings.Speed, 20000);
    EXPECT_EQ(SaverSettings.BlockSize, 64);
    EXPECT_EQ(SaverSettings.BackGround, 0);
    EXPECT_EQ(SaverSettings.BackColor, Rgb(1, 2, 3)) << "the fixed colour survives the random background";
    EXPECT_EQ(SaverSettings.Edit, 2);
    EXPECT_EQ(SaverSettings.Case, 0);
    EXPECT_EQ(test::ReadProgramValue(L"Settings", L"Interval").data, Le16(12)) << "and they are stored";
    EXPECT_EQ(test::ActiveFlag(), 0);
}

TEST_F(SettingDialog, EnterBeforeLeavingAFieldTakesItAsItStands) {
    Open();
    Focus(id::kTxtBlockSize);
    Key(id::kTxtBlockSize, '5');
    Focus(id::kTxtViewTime);
    EXPECT_EQ(Text(id::kTxtBlockSize), L"10");
    Focus(id::kTxtBlockSize);
    Key(id::kTxtBlockSize, '5');
    SetWindowTextW(Control(id::kTxtViewTime), L"");  // emptied without leaving the field afterwards
    DialogKey(VK_RETURN);
    EXPECT_FALSE(form_->IsLoaded());
    EXPECT_EQ(test::ReadProgramValue(L"Settings", L"BlockSize").data, Le16(5));
    EXPECT_EQ(test::ReadProgramValue(L"Settings", L"Interval").data, Le16(7));
}

TEST_F(SettingDialog, AMissingFolderIsToldAndKeepsTheDialogOpenWithNothingStored) {
    Open();
    SetWindowTextW(Control(id::kTxtPath), (folder_ + L"\\no such folder\\").c_str());
    const auto shown = test::MessagesShownBy([&] { Click(id::kCmdOk); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, kFolderMissingMessage);
    EXPECT_EQ(shown[0].caption, L"KPV");
    EXPECT_TRUE(form_->IsLoaded());
    rt::DoEvents();
    EXPECT_EQ(GetFocus(), Control(id::kTxtPath));
    const auto [start, end] = test::SelectionOf(Control(id::kTxtPath));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, Text(id::kTxtPath).size());
    EXPECT_FALSE(test::ReadProgramValue(L"Settings", L"Path").exists);
    EXPECT_EQ(test::ActiveFlag(), 1);

    // A plain file is no folder; the folder named without its final backslash is.
    const std::wstring file = folder_ + L"\\file.txt";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SetWindowTextW(Control(id::kTxtPath), file.c_str());
    EXPECT_EQ(test::MessagesShownBy([&] { DialogKey(VK_RETURN); }).size(), 1u);
    SetWindowTextW(Control(id::kTxtPath), folder_.c_str());
    EXPECT_TRUE(test::MessagesShownBy([&] { DialogKey(VK_RETURN); }).empty());
    EXPECT_FALSE(form_->IsLoaded());
    EXPECT_EQ(StoredAnsiPath(), AnsiWithNul(folder_)) << "stored as typed, without the final backslash";
}

TEST_F(SettingDialog, AFolderNameOutsideTheCodePageIsStoredByItsShortName) {
    // "Ĉ" has no form in code page 932: stored as it is, the name would come back as another folder.
    const std::wstring unusual = folder_ + L"\\\u0108apitro";
    ASSERT_TRUE(test::MakeDirectory(unusual));
    Open();
    SetWindowTextW(Control(id::kTxtPath), (unusual + L"\\").c_str());
    EXPECT_TRUE(test::MessagesShownBy([&] { Click(id::kCmdOk); }).empty());
    EXPECT_FALSE(form_->IsLoaded());
    const std::string stored = StoredAnsiPath();
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(stored[stored.size() - 2], '\\');
    const DWORD attributes = GetFileAttributesA(stored.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << stored;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    // The bytes in the registry, read back as the show reads them, lead to the chosen folder.
    wchar_t storedWide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, stored.c_str(), -1, storedWide, MAX_PATH);
    wchar_t longForm[MAX_PATH] = {};
    GetLongPathNameW(storedWide, longForm, MAX_PATH);
    EXPECT_EQ(std::wstring(longForm), unusual + L"\\") << "the stored name leads to the chosen folder";
}

TEST_F(SettingDialog, CancelAndEscStoreNothingButReleaseTheFlag) {
    Open();
    SetWindowTextW(Control(id::kTxtViewTime), L"30");
    Click(id::kCmdCancel);
    EXPECT_FALSE(form_->IsLoaded());
    EXPECT_FALSE(test::ReadProgramValue(L"Settings", L"Interval").exists);
    EXPECT_EQ(test::ActiveFlag(), 0);

    test::WriteProgramInt16(L"Flags", L"Active", 1);
    Open();
    DialogKey(VK_ESCAPE);
    EXPECT_FALSE(form_->IsLoaded());
    EXPECT_EQ(test::ActiveFlag(), 0);

    test::WriteProgramInt16(L"Flags", L"Active", 1);
    Open();
    SendMessageW(dialog_, WM_CLOSE, 0, 0);
    EXPECT_FALSE(form_->IsLoaded());
    EXPECT_EQ(test::ActiveFlag(), 0);
    EXPECT_FALSE(test::ReadProgramValue(L"Settings", L"Path").exists);
}

}  // namespace
}  // namespace kpv
