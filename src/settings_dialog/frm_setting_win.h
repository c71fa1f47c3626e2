#pragma once
// frmSetting, the settings dialog: shows the nine settings, lets the user change them, stores them on OK
// and releases the instance flag whenever it closes. Built at run time from the layout table as a standard
// dialog window, with frames as containers, so the keyboard works as in any dialog.
#include <windows.h>

#include <cstdint>
#include <string>

#include "runtime/forms/dialog_picture_box_win.h"
#include "runtime/base/handles_win.h"
#include "runtime/forms/option_array_win.h"
#include "runtime/forms/text_box_win.h"

namespace kpv {

inline constexpr wchar_t kFolderMissingMessage[] = L"指定されたフォルダは存在しません。";
inline constexpr wchar_t kSaveFailedMessage[] = L"設定情報の保存に失敗しました。";
// An existing folder whose name cannot be kept in the registry's ANSI text (or is too long for it).
inline constexpr wchar_t kFolderNotStorableMessage[] = L"指定されたフォルダの名前は保存できません。";
inline constexpr wchar_t kSwatchCaption[] = L"背景色";

class FrmSetting {
public:
    FrmSetting();   // becomes the global frmSetting
    ~FrmSetting();  // unloads if still loaded; frmSetting is cleared
    FrmSetting(const FrmSetting&) = delete;
    FrmSetting& operator=(const FrmSetting&) = delete;

    // Creates the window hidden, builds the controls and runs Form_Load.
    bool Load();
    // Shows the dialog and gives it the keyboard (the first field gets the focus).
    void Show();
    // Show, then the dialog's own message loop until it has unloaded.
    void ShowModal();
    // Runs Form_Unload, then the window goes.
    void Unload();
    bool IsLoaded() const { return hwnd_ != nullptr; }

    HWND hWnd() const { return hwnd_; }
    std::wstring Caption() const;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    bool OnCommand(WPARAM wParam, LPARAM lParam);
    void BuildControls();
    void WireFieldEvents();

    void Form_Load();
    void Form_Unload();
    void cmdOk_Click();
    void cmdCancel_Click();
    void cmdBrowse_Click();
    void cmdColor_Click();
    void optBackground_Click(int index);
    void optEdit_Click(int index);

    void txtViewTime_KeyDown(uint16_t& keyCode, int shift);
    void txtViewTime_KeyPress(uint16_t& keyAscii);
    void txtViewTime_Change();
    void txtViewTime_GotFocus();
    void txtViewTime_LostFocus();
    void txtDrawSpeed_KeyDown(uint16_t& keyCode, int shift);
    void txtDrawSpeed_KeyPress(uint16_t& keyAscii);
    void txtDrawSpeed_Change();
    void txtDrawSpeed_GotFocus();
    void txtDrawSpeed_LostFocus();
    void txtBlockSize_KeyDown(uint16_t& keyCode, int shift);
    void txtBlockSize_KeyPress(uint16_t& keyAscii);
    void txtBlockSize_Change();
    void txtBlockSize_GotFocus();
    void txtBlockSize_LostFocus();
    void txtPath_GotFocus();
    void txtPath_LostFocus();

    HWND hwnd_ = nullptr;
    bool unloading_ = false;
    HWND cmdBrowse = nullptr;
    HWND chkSubFolder = nullptr;
    HWND cmdColor = nullptr;
    HWND cmdOk = nullptr;
    HWND cmdCancel = nullptr;
    HWND imgIcon = nullptr;
    HWND lblVersion = nullptr;
    HWND lblComment = nullptr;
    rt::TextBox txtPath;
    rt::TextBox txtViewTime;
    rt::TextBox txtDrawSpeed;
    rt::TextBox txtBlockSize;
    rt::OptionArray optBackground;
    rt::OptionArray optEdit;
    rt::OptionArray optCase;
    rt::DialogPictureBox picBackground;
    rt::UniqueIcon icon_;
};

// The one settings dialog while it exists (the colour chooser takes its window and caption from it).
extern FrmSetting* frmSetting;

}  // namespace kpv
