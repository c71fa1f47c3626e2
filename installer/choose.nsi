; Chooses the installed KPV as the screen saver of the user who runs it, switching the screen saver on when
; the user had none (as the display settings do), then opens the screen saver settings. The setup runs
; elevated, so it hands this program to the shell, which starts it as the user who started the setup: the
; choice lands in that user's registry and the settings open in that user's session, with their drives.
; scripts/make-dist.py builds it before the setup, from the same PRODUCT_NSH, which names CHOOSER_OUT.
Unicode true
Target amd64-unicode
!include "${PRODUCT_NSH}"
!include LogicLib.nsh

!define SCREEN_SAVER "$SYSDIR\KPV.scr"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATEINIFILE_SENDCHANGE 3

Name "${PRODUCT_NAME}"
OutFile "${CHOOSER_OUT}"
Icon "${ICON_FILE}"
RequestExecutionLevel user
SilentInstall silent

VIProductVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=1041 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT_NAME}"
VIAddVersionKey /LANG=1041 "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1041 "LegalCopyright" "${COPYRIGHT}"

Section
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} $0 == ""
    System::Call 'user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATEINIFILE_SENDCHANGE})'
  ${EndIf}
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "${SCREEN_SAVER}"
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
SectionEnd
