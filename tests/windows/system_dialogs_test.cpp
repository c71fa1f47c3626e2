// The folder browser and the colour chooser, opened in-process and answered from a second thread as a user
// would: what they preselect and show, and what they return.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <future>
#include <string>

#include "support/dialog_controls_win.h"
#include "support/driver_win.h"
#include "settings_dialog/colour_chooser_win.h"
#include "settings_dialog/colour_palette.h"
#include "settings_dialog/folder_browser_win.h"
#include "settings_dialog/frm_setting_win.h"
#include "settings/saver_settings.h"

namespace kpv {
namespace {

constexpr int kBrowserTree = 14145;
constexpr int kBrowserStatus = 14147;
constexpr int kColourRed = 706, kColourGreen = 707, kColourBlue = 708;

// Runs `action` on this thread while `user` answers the dialog that it opens, on another thread.
template <typename Result, typename User>
Result WithUser(const std::function<Result()>& action, User user) {
    auto answering = std::async(std::launch::async, user);
    Result r = action();
    answering.get();
    return r;
}

// The browser the call under test opened; a failure of the test when none came.
HWND WaitForBrowser() {
    HWND browser = test::WaitForDialogWithControl(GetCurrentProcessId(), kBrowserTree, 10000);
    EXPECT_NE(browser, nullptr) << "SelectPictureFolder opened no folder browser";
    return browser;
}

std::wstring WaitForStatus(HWND browser, const std::wstring& expected) {
    HWND status = test::FindDescendant(browser, kBrowserStatus);
    test::PollUntil([&] { return test::WindowText(status) == expected; }, 5000);
    return test::WindowText(status);
}

bool ShowsText(HWND dialog, const std::wstring& text) {
    struct S { const std::wstring* text; bool found; } s{&text, false};
    EnumChildWindows(dialog, [](HWND w, LPARAM p) -> BOOL {
        auto* search = reinterpret_cast<S*>(p);
        if (test::WindowText(w) == *search->text) search->found = true;
        return !search->found;
    }, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

class FolderBrowser : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = test::TestDataDir() + L"\\browse";
        ASSERT_TRUE(test::MakeDirectory(root_ + L"\\sub"));
        SaverSettings.Path = root_ + L"\\";
        LastBrowseFolder.clear();
    }
    std::wstring root_;
};

TEST_F(FolderBrowser, StartsAtTheSavedFolderShowsItsPathAndReturnsItWithABackslash) {
    std::wstring status;
    bool titled = false, ownedNowhere = false;
    const std::wstring chosen = WithUser<std::wstring>([] { return SelectPictureFolder(nullptr); }, [&] {
        HWND browser = WaitForBrowser();
        if (!browser) return;
        status = WaitForStatus(browser, root_);
        titled = ShowsText(browser, kFolderBrowserTitle);
        ownedNowhere = GetWindow(browser, GW_OWNER) == nullptr;
        test::PressButton(browser, IDOK);
    });
    EXPECT_EQ(status, root_);
    EXPECT_TRUE(titled);
    EXPECT_TRUE(ownedNowhere);
    EXPECT_EQ(chosen, root_ + L"\\");
    EXPECT_EQ(LastBrowseFolder, root_ + L"\\");
}

TEST_F(FolderBrowser, ALaterBrowseStartsAtTheFolderChosenLastAndCancelKeepsIt) {
    std::wstring statusAfterMove;
    const std::wstring chosen = WithUser<std::wstring>([] { return SelectPictureFolder(nullptr); }, [&] {
        HWND browser = WaitForBrowser();
        if (!browser) return;
        WaitForStatus(browser, root_);
        // Down into the subfolder, as a click in the tree would.
        HWND tree = test::FindDescendant(browser, kBrowserTree);
        auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        auto child = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(child));
        statusAfterMove = WaitForStatus(browser, root_ + L"\\sub");
        test::PressButton(browser, IDOK);
    });
    EXPECT_EQ(statusAfterMove, root_ + L"\\sub");
    ASSERT_EQ(chosen, root_ + L"\\sub\\");

    std::wstring startStatus;
    const std::wstring cancelled = WithUser<std::wstring>([] { return SelectPictureFolder(nullptr); }, [&] {
        HWND browser = WaitForBrowser();
        if (!browser) return;
        startStatus = WaitForStatus(browser, root_ + L"\\sub");
        test::PressButton(browser, IDCANCEL);
    });
    EXPECT_EQ(startStatus, root_ + L"\\sub");
    EXPECT_EQ(cancelled, L"");
    EXPECT_EQ(LastBrowseFolder, root_ + L"\\sub\\");
}

TEST_F(FolderBrowser, ADriveRootComesBackUnchanged) {
    LastBrowseFolder = L"C:\\";
    std::wstring status;
    const std::wstring chosen = WithUser<std::wstring>([] { return SelectPictureFolder(nullptr); }, [&] {
        HWND browser = WaitForBrowser();
        if (!browser) return;
        status = WaitForStatus(browser, L"C:\\");
        test::PressButton(browser, IDOK);
    });
    EXPECT_EQ(status, L"C:\\") << "the browser starts at the drive's root";
    EXPECT_EQ(chosen, L"C:\\");
}

struct ColourFields {
    std::wstring red, green, blue;
    bool visible = false;
};

ColourFields ReadColourFields(HWND dialog) {
    ColourFields f;
    HWND red = test::FindDescendant(dialog, kColourRed);
    f.red = test::WindowText(red);
    f.green = test::WindowText(test::FindDescendant(dialog, kColourGreen));
    f.blue = test::WindowText(test::FindDescendant(dialog, kColourBlue));
    f.visible = IsWindowVisible(red) != FALSE;
    return f;
}

HWND WaitForColourDialog() { return test::WaitForDialogWithControl(GetCurrentProcessId(), kColourRed, 10000); }

TEST(ColourChooser, OpensFullyWithTheColourPreselectedAndReturnsTheChoice) {
    CustomColors = {};
    CustomColors[3] = 0x00123456;  // whatever the slots held, slot 0 is black: the palette comes back
    ColourFields shown;
    const uint32_t chosen = WithUser<uint32_t>([] { return SelectColor(RGB(10, 20, 30)); }, [&] {
        HWND dialog = WaitForColourDialog();
        if (!dialog) return;
        test::PollUntil([&] { return ReadColourFields(dialog).red == L"10"; }, 3000);
        shown = ReadColourFields(dialog);
        SendMessageW(test::FindDescendant(dialog, kColourGreen), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"200"));
        test::PressButton(dialog, IDOK);
    });
    EXPECT_EQ(shown.red, L"10");
    EXPECT_EQ(shown.green, L"20");
    EXPECT_EQ(shown.blue, L"30");
    EXPECT_TRUE(shown.visible) << "opened with the custom-colour part";
    EXPECT_EQ(chosen, RGB(10, 200, 30));
    EXPECT_EQ(CustomColors, kCustomColourPalette);
}

TEST(ColourChooser, CancelReturnsTheColourPassedInEvenASystemColour) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ColourFields shown;
    const uint32_t chosen = WithUser<uint32_t>([] { return SelectColor(0x8000000Fu); }, [&] {
        HWND dialog = WaitForColourDialog();
        if (!dialog) return;
        test::PollUntil([&] { return !ReadColourFields(dialog).red.empty(); }, 3000);
        shown = ReadColourFields(dialog);
        test::PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(chosen, 0x8000000Fu);
    EXPECT_EQ(shown.red, std::to_wstring(GetRValue(face))) << "the colour the reference stands for is preselected";
    EXPECT_EQ(shown.blue, std::to_wstring(GetBValue(face)));
}

TEST(ColourChooser, IsOwnedByTheSettingsDialog) {
    RegistryKeyBase = L"Software\\Tarnel Software\\KPV\\";
    FrmSetting form;
    ASSERT_TRUE(form.Load());
    HWND owner = nullptr;
    WithUser<uint32_t>([] { return SelectColor(0); }, [&] {
        HWND dialog = WaitForColourDialog();
        if (!dialog) return;
        owner = GetWindow(dialog, GW_OWNER);
        test::PressButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(owner, form.hWnd());
}

}  // namespace
}  // namespace kpv
