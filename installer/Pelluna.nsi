; The Pelluna setup program: a per-user install that makes Pelluna the screen saver, and its uninstaller.
; makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DPROGRAM=Pelluna.scr -DINSTALL_TEXT=INSTALL.txt
;          -DICON=umbrella.ico -DOUTFILE=Pelluna-1.0.0-setup.exe Pelluna.nsi
; INSTALL_TEXT already has Windows line ends. /S installs or uninstalls silently, /D=FOLDER picks the folder.

!ifndef VERSION | PROGRAM | INSTALL_TEXT | ICON | OUTFILE
  !error "define VERSION, PROGRAM, INSTALL_TEXT, ICON and OUTFILE"
!endif

; The program is 64-bit only, and so is the Wine that tests the installer.
Target amd64-unicode
; Two builds of the same inputs give the same bytes: no file times in the archive.
SetDateSave off
SetCompressor /SOLID lzma
; Everything lives in the user's own folders and keys: no administrator needed.
RequestExecutionLevel user
ManifestDPIAware true

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelluna"
!define DESKTOP_KEY "Control Panel\Desktop"
!define SPI_SETSCREENSAVEACTIVE 17
!define SPIF_UPDATE_AND_SEND 3

Name "Pelluna"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Pelluna"
; Installing again goes to the folder of the earlier install.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Pelluna ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The finish page shows only in an interactive install, so a silent one never opens the settings.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenScreenSaverSettings)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; the wizard picks the one of the user's interface language.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

LangString OpenScreenSaverSettings ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenScreenSaverSettings ${LANG_JAPANESE} "スクリーン セーバーの設定を開く"

; Like the program's own version resource, without a copyright line.
!pragma warning disable 9100
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Pelluna"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Pelluna screen saver setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

; RESULT is 1 when VALUE names Pelluna.scr in FOLDER, in its long or its short form (the screen saver
; settings of Windows may store the short one), else 0.
!macro IsPellunaIn FOLDER VALUE RESULT
  StrCpy ${RESULT} 0
  GetFullPathName /SHORT $R9 "${FOLDER}\Pelluna.scr"
  ${If} ${VALUE} == "${FOLDER}\Pelluna.scr"
    StrCpy ${RESULT} 1
  ${ElseIf} $R9 != ""
  ${AndIf} ${VALUE} == $R9
    StrCpy ${RESULT} 1
  ${EndIf}
!macroend

; Tells running programs that the screen saver settings changed.
!macro AnnounceScreenSaver
  System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})"
!macroend

; Keeps the screen saver that Pelluna replaces, to put it back on uninstall. An earlier Pelluna, here or
; in the folder of an earlier install, is no screen saver to keep: the one it replaced stays kept.
Function KeepPreviousScreenSaver
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    StrCpy $3 none
  ${Else}
    StrCpy $3 some
  ${EndIf}
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  !insertmacro IsPellunaIn $INSTDIR $0 $2
  ${If} $2 == 0
  ${AndIf} $1 != ""
    !insertmacro IsPellunaIn $1 $0 $2
  ${EndIf}
  ${If} $2 == 1
    Return
  ${EndIf}
  ${If} $3 == none
    DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
  ${Else}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver" $0
  ${EndIf}
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section
  Call KeepPreviousScreenSaver
  SetOutPath $INSTDIR
  ; Over an earlier install the program is replaced; its settings file Pelluna.ini stays as it is.
  File "/oname=Pelluna.scr" "${PROGRAM}"
  File "/oname=INSTALL.txt" "${INSTALL_TEXT}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Pelluna.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  !insertmacro AnnounceScreenSaver

  ${GetSize} $INSTDIR "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Pelluna"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pelluna.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" $INSTDIR
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Puts the kept screen saver back, but only while Pelluna is still the active one: a screen saver the user
; chose since stays. With none kept, no screen saver is set, as before the install.
Function un.RestoreScreenSaver
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  !insertmacro IsPellunaIn $INSTDIR $0 $1
  ${If} $1 == 1
    ClearErrors
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ${If} ${Errors}
      DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
    ${Else}
      WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
    ${EndIf}
    !insertmacro AnnounceScreenSaver
  ${EndIf}
FunctionEnd

Section Uninstall
  ; Before the files go: the short form of the program's path needs the file.
  Call un.RestoreScreenSaver
  Delete "$INSTDIR\Pelluna.scr"
  Delete "$INSTDIR\INSTALL.txt"
  Delete "$INSTDIR\Pelluna.ini"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: files the user put there stay, and so does their folder.
  RMDir $INSTDIR
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
