; The setup program: puts KPV.scr into the 64-bit System32 folder, where Windows lists screen savers, and
; registers an uninstaller. scripts/make-dist.py builds it and passes the product facts it read from the
; built KPV.scr in PRODUCT_NSH: PRODUCT_NAME, PRODUCT_VERSION, FILE_VERSION, PUBLISHER, COPYRIGHT,
; SCR_FILE, ICON_FILE, CHOOSER_OUT (the chooser built from choose.nsi) and OUT_FILE.
Unicode true
Target amd64-unicode
!include "${PRODUCT_NSH}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define SCREEN_SAVER "$SYSDIR\KPV.scr"
!define UNINSTALLER "Uninstall.exe"
!define CHOOSER "ChooseKPV.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\KPV"
!define SETTINGS_KEY "Software\Tarnel Software\KPV"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "${PRODUCT_NAME}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\KPV"
RequestExecutionLevel admin
ManifestDPIAware true
SetCompressor /SOLID lzma
; A KPV.scr that cannot be replaced (a show or its preview is running) stops the setup instead of being
; skipped: skipping would register the new version over the old file.
AllowSkipFiles off
BrandingText "${PUBLISHER}"

!define MUI_ICON "${ICON_FILE}"
!define MUI_UNICON "${ICON_FILE}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
; The finish page only exists in the interactive setup, so a silent one never changes the chosen saver.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenSettingsText)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Japanese"

LangString OpenSettingsText ${LANG_JAPANESE} "スクリーンセーバーの設定を開いて KPV を選ぶ"
LangString InUseText ${LANG_JAPANESE} "KPV.scr は実行中のため削除できません。$\r$\n$\r$\nスクリーンセーバーとその設定画面、画面のプロパティを閉じてから [再試行] を押してください。"
LangString RemoveSettingsText ${LANG_JAPANESE} "KPV の設定 (画像フォルダーなど) も削除しますか?"

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileDescription" "${PRODUCT_NAME} セットアップ"
VIAddVersionKey /LANG=${LANG_JAPANESE} "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "ProductVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=${LANG_JAPANESE} "LegalCopyright" "${COPYRIGHT}"

!macro AddFileBytes path total
  FileOpen $R0 "${path}" r
  FileSeek $R0 0 END $R1
  FileClose $R0
  IntOp ${total} ${total} + $R1
!macroend

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

; The file comes first: when it cannot be written nothing else has changed yet.
Section "KPV" SecScreenSaver
  SetOverwrite on
  File "/oname=${SCREEN_SAVER}" "${SCR_FILE}"
  SetOutPath "$INSTDIR"
  File "/oname=${CHOOSER}" "${CHOOSER_OUT}"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT_NAME}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "${SCREEN_SAVER},0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  ; Run in place (_?=), the uninstaller's exit code is its own: a silent uninstall that could not remove the
  ; screen saver says so. Started the plain way it hands over to a copy of itself and exits at once.
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; What the installation takes on the disk, in KB rounded up: the screen saver and the program folder.
  StrCpy $0 0
  !insertmacro AddFileBytes "${SCREEN_SAVER}" $0
  !insertmacro AddFileBytes "$INSTDIR\${CHOOSER}" $0
  !insertmacro AddFileBytes "$INSTDIR\${UNINSTALLER}" $0
  IntOp $0 $0 + 1023
  IntOp $0 $0 / 1024
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; What Windows does on "Install" in a screen saver's context menu: choose it, then open the settings. The
; setup runs elevated and the choice belongs to the user who started it, so the shell starts the chooser,
; unelevated, as that user.
Function OpenScreenSaverSettings
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\${CHOOSER}"'
FunctionEnd

; The screen saver goes first and only the screen saver: a running copy (the show, its preview or its
; settings) keeps the file, and then the whole installation stays as it was.
Section "Uninstall"
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "${SCREEN_SAVER}"
  ${If} $1 == ""
    StrCpy $1 "${SCREEN_SAVER}"
  ${EndIf}
  retry:
  Delete "${SCREEN_SAVER}"
  ${If} ${FileExists} "${SCREEN_SAVER}"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(InUseText)" /SD IDCANCEL IDRETRY retry
    Abort
  ${EndIf}

  ; The chosen saver is cleared only when it is this copy, never another saver or a KPV.scr elsewhere.
  ${If} $0 == "${SCREEN_SAVER}"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}

  Delete "$INSTDIR\${CHOOSER}"
  ; In place (the silent uninstall's _?=) the uninstaller is still running: it goes at the next restart.
  Delete /REBOOTOK "$INSTDIR\${UNINSTALLER}"
  RMDir /REBOOTOK "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"

  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettingsText)" /SD IDNO IDNO keep_settings
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Tarnel Software"
  keep_settings:
SectionEnd
