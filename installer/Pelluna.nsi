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
!define SPIF_SENDCHANGE 2
!define WC_NO_BEST_FIT_CHARS 0x400
!define SAVER_TITLE "Pelluna_Main"
; The settings dialog's titles: on a Japanese Windows, and elsewhere.
!define DIALOG_TITLE_JA "Pellunaの設定"
!define DIALOG_TITLE_EN "Pelluna Settings"
!define MENU_FOLDER "$SMPROGRAMS\Pelluna"
; The Start-menu entries in both languages: the uninstaller removes whichever the install made.
!define SETTINGS_ENTRY_EN "Pelluna Settings"
!define SETTINGS_ENTRY_JA "Pellunaの設定"
!define CHOOSE_ENTRY_EN "Make Pelluna the Screen Saver"
!define CHOOSE_ENTRY_JA "Pelluna をスクリーン セーバーにする"

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
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderName
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
LangString SettingsEntry ${LANG_ENGLISH} "${SETTINGS_ENTRY_EN}"
LangString SettingsEntry ${LANG_JAPANESE} "${SETTINGS_ENTRY_JA}"
LangString ChooseEntry ${LANG_ENGLISH} "${CHOOSE_ENTRY_EN}"
LangString ChooseEntry ${LANG_JAPANESE} "${CHOOSE_ENTRY_JA}"
; $R0 is the title of the open settings window.
LangString CloseSettings ${LANG_ENGLISH} "Pelluna's settings window $\"$R0$\" is open. Close it, then choose Retry to go on."
LangString CloseSettings ${LANG_JAPANESE} "Pelluna の設定ウィンドウ「$R0」が開いています。閉じてから [再試行] を押してください。"
LangString ProgramInUse ${LANG_ENGLISH} "$INSTDIR\Pelluna.scr is in use and cannot be replaced. Close the program that uses it, then choose Retry."
LangString ProgramInUse ${LANG_JAPANESE} "$INSTDIR\Pelluna.scr は使用中のため置き換えられません。使っているプログラムを閉じてから [再試行] を押してください。"
LangString NotReplaced ${LANG_ENGLISH} "The files in $INSTDIR could not be written. Pelluna was not installed."
LangString NotReplaced ${LANG_JAPANESE} "$INSTDIR のファイルを書き込めませんでした。Pelluna はインストールされていません。"
LangString FolderNameUnusable ${LANG_ENGLISH} "The name of the folder $INSTDIR cannot be used on this system: Pelluna could not save its settings there. Choose another folder."
LangString FolderNameUnusable ${LANG_JAPANESE} "フォルダー $INSTDIR の名前はこのシステムでは使えません。Pelluna が設定を保存できないため、別のフォルダーを選んでください。"

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
  ; ScreenSaveActive too, or that there was none: an install kept without this leaves it as it is.
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  ${If} ${Errors}
    DeleteRegValue HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoPreviousScreenSaveActive" 1
  ${Else}
    WriteRegStr HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive" $0
    DeleteRegValue HKCU "${UNINSTALL_KEY}" "NoPreviousScreenSaveActive"
  ${EndIf}
FunctionEnd

; RESULT is 1 when the ANSI code page can write TEXT, else 0.
!macro FitsCodePage TEXT RESULT
  StrCpy $8 "${TEXT}"
  System::Call "kernel32::WideCharToMultiByte(i 0, i ${WC_NO_BEST_FIT_CHARS}, w r8, i -1, p 0, i 0, p 0, *i .r9) i"
  IntOp ${RESULT} 1 - $9
!macroend

; The program reaches its settings file through ANSI calls: a folder whose name the code page cannot write
; works through its short form only, and where the volume keeps none, settings could never be saved.
Function CheckFolderName
  !insertmacro FitsCodePage $INSTDIR $0
  ${If} $0 == 1
    Return
  ${EndIf}
  ; Only a folder that is there has a short form: make it for the question, then remove what was made.
  StrCpy $1 $INSTDIR
  ${While} $1 != ""
    ${IfThen} ${FileExists} "$1\*.*" ${|} ${ExitWhile} ${|}
    ${GetParent} $1 $1
  ${EndWhile}
  CreateDirectory $INSTDIR
  StrCpy $2 ""
  StrCpy $4 $INSTDIR
  System::Call "kernel32::GetShortPathNameW(w r4, w .r2, i ${NSIS_MAX_STRLEN}) i .r3"
  ${While} $4 != $1
    RMDir $4
    ${GetParent} $4 $4
  ${EndWhile}
  !insertmacro FitsCodePage $2 $0
  ${If} $3 = 0
  ${OrIf} $0 == 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderNameUnusable)"
    Abort
  ${EndIf}
FunctionEnd

; Before the program is replaced: a running saver or preview is asked to close, as Windows ends it, and
; is waited for (up to 10 s) until its file can be written. An open settings dialog may hold changes, so
; only the user closes it; a silent setup fails instead.
Function EndRunningPelluna
  again:
  StrCpy $R0 "${DIALOG_TITLE_JA}"
  System::Call "user32::FindWindowW(p 0, w R0) p .r0"
  ${If} $0 P= 0
    StrCpy $R0 "${DIALOG_TITLE_EN}"
    System::Call "user32::FindWindowW(p 0, w R0) p .r0"
  ${EndIf}
  ${If} $0 P<> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseSettings)" /SD IDCANCEL IDRETRY again
    SetErrorLevel 2
    Abort "$(CloseSettings)"
  ${EndIf}
  StrCpy $1 0
  ${Do}
    System::Call "user32::FindWindowW(p 0, w '${SAVER_TITLE}') p .r0"
    ${If} $0 P<> 0
      System::Call "user32::PostMessageW(p r0, i ${WM_CLOSE}, p 0, p 0)"
    ${ElseIfNot} ${FileExists} "$INSTDIR\Pelluna.scr"
      Return
    ${Else}
      ClearErrors
      FileOpen $2 "$INSTDIR\Pelluna.scr" a
      ${IfNot} ${Errors}
        FileClose $2
        Return
      ${EndIf}
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 100
  MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$(ProgramInUse)" /SD IDCANCEL IDRETRY again
  SetErrorLevel 2
  Abort "$(ProgramInUse)"
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section
  Call EndRunningPelluna
  SetOutPath $INSTDIR
  ; Over an earlier install the program is replaced; its settings file Pelluna.ini stays as it is. A file
  ; that cannot be written fails the setup here, before anything else changed.
  ; The shell may still read the program's icon for a moment (as for the shortcuts of an earlier install),
  ; and a virus scanner its bytes: the files are tried again for up to 10 s before the setup fails.
  SetOverwrite try
  StrCpy $1 0
  write_files:
  ClearErrors
  File "/oname=Pelluna.scr" "${PROGRAM}"
  File "/oname=INSTALL.txt" "${INSTALL_TEXT}"
  StrCpy $2 0
  ${IfThen} ${Errors} ${|} StrCpy $2 1 ${|}  ; testing the flag clears it
  ${If} $2 = 1
  ${AndIf} $1 < 50
    IntOp $1 $1 + 1
    Sleep 200
    Goto write_files
  ${EndIf}
  ${If} $2 = 1
    MessageBox MB_OK|MB_ICONSTOP "$(NotReplaced)" /SD IDOK
    SetErrorLevel 2
    Abort "$(NotReplaced)"
  ${EndIf}
  Call KeepPreviousScreenSaver
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  ; Windows lists only the screen savers of its own folders and the chosen one: these entries find
  ; Pelluna again once another was chosen.
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\$(SettingsEntry).lnk" "$INSTDIR\Pelluna.scr" "/C"
  CreateShortcut "${MENU_FOLDER}\$(ChooseEntry).lnk" "$SYSDIR\rundll32.exe" \
    'desk.cpl,InstallScreenSaver "$INSTDIR\Pelluna.scr"' "$INSTDIR\Pelluna.scr" 0

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
    ClearErrors
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${IfNot} ${Errors}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $2
    ${Else}
      ReadRegDWORD $2 HKCU "${UNINSTALL_KEY}" "NoPreviousScreenSaveActive"
      ${IfThen} $2 == 1 ${|} DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive" ${|}
    ${EndIf}
    ; Running programs hear of the change; without SPIF_UPDATEINIFILE the call leaves the values just put
    ; back as they are.
    ReadRegStr $2 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
    ${IfThen} $2 != 1 ${|} StrCpy $2 0 ${|}
    System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i r2, p 0, i ${SPIF_SENDCHANGE})"
  ${EndIf}
FunctionEnd

Section Uninstall
  ; Before the files go: the short form of the program's path needs the file.
  Call un.RestoreScreenSaver
  ; As on install, the shell may hold the program a moment longer.
  StrCpy $1 0
  ${Do}
    Delete "$INSTDIR\Pelluna.scr"
    ${IfNot} ${FileExists} "$INSTDIR\Pelluna.scr"
    ${OrIf} $1 >= 50
      ${ExitDo}
    ${EndIf}
    IntOp $1 $1 + 1
    Sleep 200
  ${Loop}
  Delete "$INSTDIR\INSTALL.txt"
  Delete "$INSTDIR\Pelluna.ini"
  Delete "$INSTDIR\Uninstall.exe"
  Delete "${MENU_FOLDER}\${SETTINGS_ENTRY_EN}.lnk"
  Delete "${MENU_FOLDER}\${SETTINGS_ENTRY_JA}.lnk"
  Delete "${MENU_FOLDER}\${CHOOSE_ENTRY_EN}.lnk"
  Delete "${MENU_FOLDER}\${CHOOSE_ENTRY_JA}.lnk"
  RMDir "${MENU_FOLDER}"
  ; Only when empty: files the user put there stay, and so does their folder.
  RMDir $INSTDIR
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
