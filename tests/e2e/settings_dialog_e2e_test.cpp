// The real KPV.scr started without a switch: the settings dialog, driven as a user would (typing into the
// fields, Tab, option clicks, OK, Cancel, Enter, Esc, the close box, the folder browser and the colour
// dialog), checked by the registry bytes it writes, the instance flag and what it shows on the screen.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <ios>
#include <string>
#include <vector>

#include "support/bytes.h"
#include "support/dialog_controls_win.h"
#include "support/driver_win.h"
#include "runtime/base/text_win.h"
#include "settings_dialog/setting_control_ids.h"

namespace kpv {
namespace {

using namespace kpv::test;
namespace id = setting_ids;

constexpr wchar_t kCaption[] = L"スクリーンセーバーの設定";
constexpr int kBrowserTree = 14145;
constexpr int kBrowserStatus = 14147;
constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708;

// "Path" as the ANSI calls store it: the code-page bytes and the NUL.
std::vector<uint8_t> StoredPath() { return ReadProgramValueA(L"Settings", "Path").data; }
Bytes AnsiWithNul(const std::wstring& text) {
    const std::string ansi = rt::WideToAnsi(text) + '\0';
    return {ansi.begin(), ansi.end()};
}

std::vector<uint8_t> Stored(const wchar_t* name) { return ReadProgramValue(L"Settings", name).data; }

class SettingsDialogE2E : public ::testing::Test {
protected:
    void SetUp() override {
        DeleteProgramKey();
        pictures_ = TestDataDir() + L"\\dialog-e2e";
        ASSERT_TRUE(MakeDirectory(pictures_ + L"\\画像"));
    }
    void TearDown() override { program_.Kill(); }

    void StoreTypicalSettings() {
        WriteSettings({.path = pictures_ + L"\\", .interval = 5, .blockSize = 20, .speed = 100, .backColor = RGB(10, 20, 30),
                       .edit = 2});
    }

    void Start() {
        program_ = StartProgram(ScrPath(), L"");
        ASSERT_NE(program_.handle(), nullptr);
        dialog_ = WaitForWindow(program_.pid(), [](HWND w) { return IsWindowVisible(w) && WindowText(w) == kCaption; }, 15000);
        ASSERT_NE(dialog_, nullptr) << "the settings dialog did not open";
        ASSERT_TRUE(PollUntil([&] { return FocusOf(dialog_) == Control(id::kTxtPath); }, 5000));
    }
    HWND Control(int controlId) const { return FindDescendant(dialog_, controlId); }
    std::wstring Text(int controlId) const { return WindowText(Control(controlId)); }
    bool WaitForText(int controlId, const std::wstring& expected) {
        return PollUntil([&] { return Text(controlId) == expected; }, 5000);
    }
    // A click on a button that may open a modal window: posted, so this thread does not wait for it.
    void Click(int controlId) { PostMessageW(Control(controlId), BM_CLICK, 0, 0); }
    // A key on whatever has the focus, through the dialog's own message loop.
    void Press(WORD vk) { PostKey(FocusOf(dialog_), vk); }
    void FocusAndType(int controlId, const std::wstring& text) {
        FocusControl(Control(controlId));
        ASSERT_TRUE(PollUntil([&] { return FocusOf(dialog_) == Control(controlId); }, 3000));
        TypeChars(Control(controlId), text);
    }
    bool TabTo(int controlId) {
        Press(VK_TAB);
        return PollUntil([&] { return FocusOf(dialog_) == Control(controlId); }, 3000);
    }
    long long WaitForExit() { return program_.Wait(15000); }
    // The colour of a point of a control as the screen shows it (0x00RRGGBB), from its top-left corner.
    uint32_t ScreenColourIn(int controlId, int dx, int dy) {
        POINT p{dx, dy};
        ClientToScreen(Control(controlId), &p);
        return CaptureScreen().At(p.x, p.y);
    }

    std::wstring pictures_;
    Process program_;
    HWND dialog_ = nullptr;
};

TEST_F(SettingsDialogE2E, OpensWithTheStoredSettingsAndCancelWritesNothingButTheFlag) {
    StoreTypicalSettings();
    Start();
    EXPECT_EQ(ActiveFlag(), 1);
    EXPECT_EQ(Text(id::kTxtPath), pictures_ + L"\\");
    EXPECT_FALSE(IsChecked(Control(id::kChkSubFolder)));
    EXPECT_EQ(Text(id::kTxtViewTime), L"5");
    EXPECT_EQ(Text(id::kTxtDrawSpeed), L"100");
    EXPECT_EQ(Text(id::kTxtBlockSize), L"20");
    EXPECT_TRUE(IsChecked(Control(id::kOptBackground0 + 1)));
    EXPECT_TRUE(IsChecked(Control(id::kOptEdit0 + 2)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0)));
    EXPECT_TRUE(IsWindowEnabled(Control(id::kOptCase0 + 1)));
    EXPECT_EQ(Text(id::kLblVersion), L"Ver.1.0.0");
    EXPECT_EQ(Text(id::kLblComment), L"Copyright (C) 2026 Tarnel Software.   Tarnel Software");
    // The first paint may still be on its way when the focus has settled.
    uint32_t swatch = 0;
    EXPECT_TRUE(PollUntil([&] { return (swatch = ScreenColourIn(id::kPicBackground, 2, 2)) == 0x0A141Eu; }, 3000))
        << "the swatch shows the fixed colour, not " << std::hex << swatch;
    const std::vector<uint8_t> before = Stored(L"BackColor");

    Click(id::kCmdCancel);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(ActiveFlag(), 0);
    EXPECT_EQ(Stored(L"BackColor"), before);
    EXPECT_EQ(Stored(L"Interval"), Le16(5));
}

TEST_F(SettingsDialogE2E, TypedAndTabbedValuesAreStoredOnOk) {
    StoreTypicalSettings();
    Start();
    FocusAndType(id::kTxtViewTime, L"0");
    EXPECT_TRUE(WaitForText(id::kTxtViewTime, L"1")) << "0 becomes 1 at once";
    TypeChars(Control(id::kTxtViewTime), L"\b75");
    EXPECT_TRUE(WaitForText(id::kTxtViewTime, L"60"));
    ASSERT_TRUE(TabTo(id::kTxtDrawSpeed));
    EXPECT_EQ(SelectionOf(Control(id::kTxtDrawSpeed)), std::make_pair(DWORD{0}, DWORD{3})) << "whole text selected";
    TypeChars(Control(id::kTxtDrawSpeed), L"20001");
    EXPECT_TRUE(WaitForText(id::kTxtDrawSpeed, L"20000"));
    ASSERT_TRUE(TabTo(id::kTxtBlockSize));
    TypeChars(Control(id::kTxtBlockSize), L"5");
    EXPECT_EQ(Text(id::kTxtBlockSize), L"5");
    ASSERT_TRUE(TabTo(id::kOptBackground0 + 1));
    EXPECT_TRUE(WaitForText(id::kTxtBlockSize, L"10")) << "raised to 10 on leaving";
    SendMessageW(Control(id::kChkSubFolder), BM_CLICK, 0, 0);
    SendMessageW(Control(id::kOptEdit0 + 3), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(Control(id::kOptCase0)));

    Click(id::kCmdOk);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(StoredPath(), AnsiWithNul(pictures_ + L"\\"));
    EXPECT_EQ(Stored(L"SubFolder"), Le16(1));
    EXPECT_EQ(Stored(L"Interval"), Le16(60));
    EXPECT_EQ(Stored(L"Speed"), Le32(20000));
    EXPECT_EQ(Stored(L"BlockSize"), Le16(10));
    EXPECT_EQ(Stored(L"BackGround"), Le16(1));
    EXPECT_EQ(Stored(L"BackColor"), Le32(RGB(10, 20, 30)));
    EXPECT_EQ(Stored(L"Edit"), Le16(3));
    EXPECT_EQ(Stored(L"Case"), Le16(0));
    EXPECT_EQ(ReadProgramValue(L"Settings", L"Speed").type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(ActiveFlag(), 0);
}

// What the dialog does with a folder that is missing, and with Enter, Esc and the close box, is tested in
// process; here, what only the real process shows: a Japanese folder typed in goes to the registry in the
// code page's bytes.
TEST_F(SettingsDialogE2E, ATypedJapaneseFolderIsStoredInTheCodePagesBytes) {
    StoreTypicalSettings();
    Start();
    const std::wstring japanese = pictures_ + L"\\画像";
    SendMessageW(Control(id::kTxtPath), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(japanese.c_str()));
    FocusAndType(id::kTxtViewTime, L"9");
    Press(VK_RETURN);
    EXPECT_EQ(WaitForExit(), 0);
    // Leaving the field gave the folder its final backslash.
    EXPECT_EQ(StoredPath(), AnsiWithNul(japanese + L"\\")) << "a Japanese folder in the code page's bytes";
    EXPECT_EQ(Stored(L"Interval"), Le16(9));
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(SettingsDialogE2E, TheFolderBrowserStartsAtTheSavedFolderAndItsChoiceIsSaved) {
    StoreTypicalSettings();
    Start();
    Click(id::kCmdBrowse);
    HWND browser = WaitForDialogWithControl(program_.pid(), kBrowserTree, 10000);
    ASSERT_NE(browser, nullptr);
    HWND status = FindDescendant(browser, kBrowserStatus);
    EXPECT_TRUE(PollUntil([&] { return WindowText(status) == pictures_; }, 5000)) << "status: " << rt::WideToAnsi(WindowText(status));
    EXPECT_EQ(GetWindow(browser, GW_OWNER), dialog_);
    // Into the subfolder, as a click in the tree would.
    HWND tree = FindDescendant(browser, kBrowserTree);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    auto child = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
    EXPECT_TRUE(PollUntil([&] { return WindowText(status) == pictures_ + L"\\画像"; }, 5000));
    PressButton(browser, IDOK);
    EXPECT_TRUE(WaitForText(id::kTxtPath, pictures_ + L"\\画像\\"));

    // The next browse starts where the last one ended; cancelling it changes nothing.
    Click(id::kCmdBrowse);
    browser = WaitForDialogWithControl(program_.pid(), kBrowserTree, 10000);
    ASSERT_NE(browser, nullptr);
    status = FindDescendant(browser, kBrowserStatus);
    EXPECT_TRUE(PollUntil([&] { return WindowText(status) == pictures_ + L"\\画像"; }, 5000));
    PressButton(browser, IDCANCEL);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(browser); }, 5000));
    EXPECT_EQ(Text(id::kTxtPath), pictures_ + L"\\画像\\");

    Click(id::kCmdOk);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(StoredPath(), AnsiWithNul(pictures_ + L"\\画像\\"));
}

TEST_F(SettingsDialogE2E, TheColourDialogPreselectsTheColourAndCancelLeavesTheRegistryAlone) {
    StoreTypicalSettings();
    Start();
    Click(id::kCmdColor);
    HWND colours = WaitForDialogWithControl(program_.pid(), kColourRed, 10000);
    ASSERT_NE(colours, nullptr);
    EXPECT_TRUE(PollUntil([&] { return WindowText(FindDescendant(colours, kColourRed)) == L"10"; }, 5000));
    EXPECT_EQ(WindowText(FindDescendant(colours, kColourGreen)), L"20");
    EXPECT_EQ(WindowText(FindDescendant(colours, kColourBlue)), L"30");
    EXPECT_TRUE(IsWindowVisible(FindDescendant(colours, kColourRed))) << "fully opened";
    EXPECT_EQ(GetWindow(colours, GW_OWNER), dialog_);
    SendMessageW(FindDescendant(colours, kColourRed), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"255"));
    SendMessageW(FindDescendant(colours, kColourGreen), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"0"));
    SendMessageW(FindDescendant(colours, kColourBlue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"128"));
    PressButton(colours, IDOK);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(colours); }, 5000));
    EXPECT_TRUE(PollUntil([&] { return ScreenColourIn(id::kPicBackground, 2, 2) == 0xFF0080u; }, 5000))
        << "the swatch shows the chosen colour";

    Click(id::kCmdCancel);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(Stored(L"BackColor"), Le32(RGB(10, 20, 30)));
    EXPECT_EQ(ActiveFlag(), 0);
}

TEST_F(SettingsDialogE2E, AChosenColourIsStoredAndTheRandomBackgroundKeepsIt) {
    StoreTypicalSettings();
    Start();
    Click(id::kCmdColor);
    HWND colours = WaitForDialogWithControl(program_.pid(), kColourRed, 10000);
    ASSERT_NE(colours, nullptr);
    ASSERT_TRUE(PollUntil([&] { return WindowText(FindDescendant(colours, kColourRed)) == L"10"; }, 5000));
    SendMessageW(FindDescendant(colours, kColourBlue), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"200"));
    PressButton(colours, IDOK);
    ASSERT_TRUE(PollUntil([&] { return !IsWindow(colours); }, 5000));
    Click(id::kCmdOk);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(Stored(L"BackColor"), Le32(RGB(10, 20, 200)));
    EXPECT_EQ(Stored(L"BackGround"), Le16(1));

    Start();
    SendMessageW(Control(id::kOptBackground0), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindowEnabled(Control(id::kCmdColor)));
    // A random background shows the dialog's face in the swatch, not the fixed colour.
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint32_t facePixel = GetRValue(face) << 16 | GetGValue(face) << 8 | GetBValue(face);
    EXPECT_TRUE(PollUntil([&] { return ScreenColourIn(id::kPicBackground, 2, 2) == facePixel; }, 3000));
    Click(id::kCmdOk);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(Stored(L"BackGround"), Le16(0));
    EXPECT_EQ(Stored(L"BackColor"), Le32(RGB(10, 20, 200))) << "the fixed colour is kept for later";
}

TEST_F(SettingsDialogE2E, AFirstStartShowsTheDefaultsAndOkStoresThem) {
    Start();
    EXPECT_EQ(Text(id::kTxtViewTime), L"1");
    EXPECT_EQ(Text(id::kTxtDrawSpeed), L"0");
    EXPECT_EQ(Text(id::kTxtBlockSize), L"32");
    EXPECT_TRUE(IsChecked(Control(id::kChkSubFolder)));
    EXPECT_TRUE(IsChecked(Control(id::kOptBackground0)));
    EXPECT_TRUE(IsChecked(Control(id::kOptEdit0)));
    EXPECT_TRUE(IsChecked(Control(id::kOptCase0 + 1)));
    EXPECT_FALSE(IsWindowEnabled(Control(id::kOptCase0 + 1)));
    const std::wstring exeFolder = ScrPath().substr(0, ScrPath().find_last_of(L'\\') + 1);
    EXPECT_EQ(Text(id::kTxtPath), exeFolder);
    Press(VK_RETURN);
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_EQ(StoredPath(), AnsiWithNul(exeFolder));
    EXPECT_EQ(Stored(L"SubFolder"), Le16(1));
    EXPECT_EQ(Stored(L"Interval"), Le16(1));
    EXPECT_EQ(Stored(L"Speed"), Le32(0));
    EXPECT_EQ(Stored(L"BlockSize"), Le16(32));
    EXPECT_EQ(Stored(L"BackGround"), Le16(0));
    EXPECT_EQ(Stored(L"BackColor"), Le32(0x808080));
    EXPECT_EQ(Stored(L"Edit"), Le16(0));
    EXPECT_EQ(Stored(L"Case"), Le16(1));
}

}  // namespace
}  // namespace kpv
