; The Pelluna setup program: a per-user install that makes Pelluna the screen saver, and its uninstaller.
; makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DPROGRAM=Pelluna.scr -DSETTINGS_PROGRAM=PellunaSettings.exe
;          -DINSTALL_TEXT=INSTALL.txt -DICON=umbrella.ico -DOUTFILE=Pelluna-1.0.0-setup.exe Pelluna.nsi
; INSTALL_TEXT already has Windows line ends; SETTINGS_PROGRAM is Settings.nsi's program. /S installs or
; uninstalls silently, /D=FOLDER picks the folder.

!ifndef VERSION | PROGRAM | SETTINGS_PROGRAM | INSTALL_TEXT | ICON | OUTFILE
  !error "define VERSION, PROGRAM, SETTINGS_PROGRAM, INSTALL_TEXT, ICON and OUTFILE"
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
!define GENERIC_WRITE 0x40000000
!define FILE_SHARE_ALL 7
!define OPEN_EXISTING 3
!define FILE_READ_ATTRIBUTES 0x80
!define FILE_FLAG_BACKUP_SEMANTICS 0x02000000
!define ERROR_SHARING_VIOLATION 32
!define ERROR_LOCK_VIOLATION 33
!define FORMAT_MESSAGE_FROM_SYSTEM_IGNORE_INSERTS 0x1200
!define GW_HWNDNEXT 2
!define GW_CHILD 5
!define GA_PARENT 1
!define DT_CALCRECT_SINGLELINE 0x420
!define SWP_NOZORDER_NOACTIVATE 0x14
; The window classes of the saver's full-screen window and of the preview (src/windows).
!define SAVER_CLASS "PellunaSaverWindow"
!define PREVIEW_CLASS "PellunaPreviewWindow"
; The settings dialog's titles: on a Japanese Windows, and elsewhere.
!define DIALOG_TITLE_JA "Pellunaの設定"
!define DIALOG_TITLE_EN "Pelluna Settings"
!define MENU_FOLDER "$SMPROGRAMS\Pelluna"
; The Start-menu entries in both languages: setup and uninstaller remove whichever an install made.
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
!define MUI_CUSTOMFUNCTION_GUIINIT FitButtons
!define MUI_CUSTOMFUNCTION_UNGUIINIT un.FitButtons

; The welcome page keeps the wizard's own picture: its layout is made around one.
!define MUI_WELCOMEPAGE_TEXT "$(WelcomeText)"
!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_SHOW ShowFolderPage
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolderPage
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The finish page shows only in an interactive install, so a silent one never opens the settings.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "$(OpenScreenSaverSettings)"
!define MUI_FINISHPAGE_RUN_FUNCTION OpenScreenSaverSettings
!insertmacro MUI_PAGE_FINISH

; The stock "Uninstalling from:" needs more than its 90-pixel room in Tahoma; the page's sentence above it
; already says what the folder is for.
!define MUI_UNCONFIRMPAGE_TEXT_LOCATION "$(UninstallFolder)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the fallback; the wizard picks the one of the user's interface language. The Japanese
; is Pelluna's own (Japanese.nlf and .nsh here), not the tool's stock words, so that every page reads as one text.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGEEX "${__FILEDIR__}" "Japanese"

LangString WelcomeText ${LANG_ENGLISH} "Setup installs the screen saver Pelluna ${VERSION} for you alone (no administrator is needed), makes it your screen saver and adds it to the Start menu.$\r$\n$\r$\nIt goes into this folder; the next page lets you choose another:$\r$\n$INSTDIR$\r$\n$\r$\n$_CLICK"
LangString WelcomeText ${LANG_JAPANESE} "スクリーン セーバー Pelluna ${VERSION} をあなた専用にインストールし (管理者の権限は要りません)、スクリーン セーバーに設定して、スタート メニューに登録します。$\r$\n$\r$\nインストール先は次のフォルダーです。次のページで別のフォルダーを選べます。$\r$\n$INSTDIR$\r$\n$\r$\n$_CLICK"
LangString OpenScreenSaverSettings ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenScreenSaverSettings ${LANG_JAPANESE} "スクリーン セーバーの設定を開く"
LangString UninstallFolder ${LANG_ENGLISH} "Folder:"
LangString UninstallFolder ${LANG_JAPANESE} "アンインストール元:"
LangString SettingsEntry ${LANG_ENGLISH} "${SETTINGS_ENTRY_EN}"
LangString SettingsEntry ${LANG_JAPANESE} "${SETTINGS_ENTRY_JA}"
LangString ChooseEntry ${LANG_ENGLISH} "${CHOOSE_ENTRY_EN}"
LangString ChooseEntry ${LANG_JAPANESE} "${CHOOSE_ENTRY_JA}"
; The questions offer Retry; what the page says after Cancel is short, so that the status line holds it.
; $R0 is the title of the open settings window, $R3 the program file, $R8 the system's reason.
LangString CloseSettings ${LANG_ENGLISH} "Pelluna's settings window $\"$R0$\" is open. Close it, then choose Retry to go on."
LangString CloseSettings ${LANG_JAPANESE} "Pelluna の設定ウィンドウ「$R0」が開いています。閉じてから [再試行] を押してください。"
LangString SettingsOpenStopped ${LANG_ENGLISH} "Nothing was changed: Pelluna's settings window is open."
LangString SettingsOpenStopped ${LANG_JAPANESE} "設定ウィンドウが開いているため、何も変更しませんでした。"
LangString ProgramInUse ${LANG_ENGLISH} "$R3 is in use. Close the program that uses it, then choose Retry."
LangString ProgramInUse ${LANG_JAPANESE} "$R3 は使用中です。使っているプログラムを閉じてから [再試行] を押してください。"
LangString InUseStopped ${LANG_ENGLISH} "Nothing was changed: Pelluna.scr is in use."
LangString InUseStopped ${LANG_JAPANESE} "Pelluna.scr が使用中のため、何も変更しませんでした。"
LangString NotReplaceable ${LANG_ENGLISH} "$R3 could not be replaced: $R8"
LangString NotReplaceable ${LANG_JAPANESE} "$R3 を置き換えられませんでした: $R8"
LangString NotReplaceableStopped ${LANG_ENGLISH} "Nothing was changed: Pelluna.scr could not be replaced."
LangString NotReplaceableStopped ${LANG_JAPANESE} "Pelluna.scr を置き換えられないため、何も変更しませんでした。"
LangString NotReplaced ${LANG_ENGLISH} "The files in $INSTDIR could not be written. Pelluna was not installed."
LangString NotReplaced ${LANG_JAPANESE} "$INSTDIR のファイルを書き込めませんでした。Pelluna はインストールされていません。"
LangString FolderNameUnusable ${LANG_ENGLISH} "The name of the folder $INSTDIR cannot be used on this system: Pelluna could not save its settings there. Choose another folder."
LangString FolderNameUnusable ${LANG_JAPANESE} "フォルダー $INSTDIR の名前はこのシステムでは使えません。Pelluna が設定を保存できないため、別のフォルダーを選んでください。"
LangString EarlierFilesKept ${LANG_ENGLISH} "Pelluna is now installed in $INSTDIR. The files of the earlier install in $R7 could not all be removed: delete them when nothing uses them."
LangString EarlierFilesKept ${LANG_JAPANESE} "Pelluna を $INSTDIR にインストールしました。以前のインストール先 $R7 のファイルをすべては削除できませんでした。使われていないときに削除してください。"
LangString FolderUnreadable ${LANG_ENGLISH} "The folder on the command line cannot be read: $0$\r$\nWrite it last as /D=C:\Folder, $\"/D=C:\My Folder$\" or /D=$\"C:\My Folder$\". Nothing was installed."
LangString FolderUnreadable ${LANG_JAPANESE} "コマンド ラインのフォルダーを読み取れません: $0$\r$\n最後に /D=C:\Folder、$\"/D=C:\My Folder$\" または /D=$\"C:\My Folder$\" の形で指定してください。何もインストールしていません。"
LangString NotRemoved ${LANG_ENGLISH} "$INSTDIR\Pelluna.scr could not be removed, so Pelluna stays installed. Close the program that uses it, then uninstall again."
LangString NotRemoved ${LANG_JAPANESE} "$INSTDIR\Pelluna.scr を削除できないため、Pelluna はインストールされたままです。使っているプログラムを閉じてから、もう一度アンインストールしてください。"
LangString NotRemovedStopped ${LANG_ENGLISH} "Nothing was changed: Pelluna.scr could not be removed."
LangString NotRemovedStopped ${LANG_JAPANESE} "Pelluna.scr を削除できないため、何も変更しませんでした。"

; Like the program's own version resource, without a copyright line.
!pragma warning disable 9100
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Pelluna"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Pelluna screen saver setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

; $4 becomes the width of TEXT in the font selected into the device context $2 when that is wider than $4,
; and $9 the height of its line. Changes $5 and $6.
!macro WidestText TEXT
  StrCpy $5 "${TEXT}"
  System::Call "*(i 0, i 0, i 0, i 0) p .r6"
  System::Call "user32::DrawTextW(p r2, w r5, i -1, p r6, i ${DT_CALCRECT_SINGLELINE}) i"
  System::Call "*$6(i, i, i .r5, i .r9)"
  System::Free $6
  ${IfThen} $5 > $4 ${|} StrCpy $4 $5 ${|}
!macroend

; LEFT and RIGHT become the edges of the wizard's button ID in its window, $7 and $8 its top and bottom.
!macro ButtonPlace ID LEFT RIGHT
  GetDlgItem $0 $HWNDPARENT ${ID}
  System::Call "*(i 0, i 0, i 0, i 0) p .r6"
  System::Call "user32::GetWindowRect(p r0, p r6) i"
  System::Call "user32::MapWindowPoints(p 0, p $HWNDPARENT, p r6, i 2) i"
  System::Call "*$6(i .${LEFT}, i .r7, i .${RIGHT}, i .r8)"
  System::Free $6
!macroend

; Puts the wizard's button ID $4 wide at LEFT, $7 down and $8 high.
!macro MoveButton ID LEFT
  GetDlgItem $0 $HWNDPARENT ${ID}
  System::Call "user32::SetWindowPos(p r0, p 0, i ${LEFT}, i r7, i r4, i r8, i ${SWP_NOZORDER_NOACTIVATE}) i"
!macroend

; The wizards' buttons are all as wide as the widest text any of them shows in either wizard, with a line's
; height of room beside it, and never narrower than the layout made them: a Japanese text drawn in a wider font
; would be cut at both ends. Cancel keeps its right edge and the gaps stay, so Next and Back move left.
!macro FitButtons UN
Function ${UN}FitButtons
  GetDlgItem $0 $HWNDPARENT 1
  SendMessage $0 ${WM_GETFONT} 0 0 $1
  System::Call "user32::GetDC(p r0) p .r2"
  System::Call "gdi32::SelectObject(p r2, p r1) p .r3"
  StrCpy $4 0
  !insertmacro WidestText "$(^BackBtn)"
  !insertmacro WidestText "$(^NextBtn)"
  !insertmacro WidestText "$(^InstallBtn)"
  !insertmacro WidestText "$(^UninstallBtn)"
  !insertmacro WidestText "$(^CloseBtn)"
  !insertmacro WidestText "$(^CancelBtn)"
  !insertmacro WidestText "$(MUI_BUTTONTEXT_FINISH)"
  System::Call "gdi32::SelectObject(p r2, p r3)"
  System::Call "user32::ReleaseDC(p r0, p r2) i"
  IntOp $4 $4 + $9
  !insertmacro ButtonPlace 3 r1 r2
  !insertmacro ButtonPlace 1 r3 r5
  !insertmacro ButtonPlace 2 R0 R1
  IntOp $R2 $R1 - $R0
  ${If} $4 > $R2
    IntOp $R3 $R0 - $5
    IntOp $R4 $3 - $2
    IntOp $8 $8 - $7
    IntOp $R0 $R1 - $4
    !insertmacro MoveButton 2 $R0
    IntOp $R0 $R0 - $R3
    IntOp $R0 $R0 - $4
    !insertmacro MoveButton 1 $R0
    IntOp $R0 $R0 - $R4
    IntOp $R0 $R0 - $4
    !insertmacro MoveButton 3 $R0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro FitButtons ""
!insertmacro FitButtons "un."

; The identity of the file or folder $8 (its volume serial number and file index), the same under every
; name it has: another drive letter, a junction or link, a UNC path, a short form. $9 is it, or empty when
; the file cannot be opened. Changes $4 to $7.
!macro Identity UN
Function ${UN}Identity
  System::Call "kernel32::CreateFileW(w r8, i ${FILE_READ_ATTRIBUTES}, i ${FILE_SHARE_ALL}, p 0, i ${OPEN_EXISTING}, \
    i ${FILE_FLAG_BACKUP_SEMANTICS}, p 0) p .r7"
  StrCpy $9 ""
  ${If} $7 P<> -1
    ; BY_HANDLE_FILE_INFORMATION: the serial number at byte 28, the file index at 44 and 48.
    System::Alloc 52
    Pop $6
    System::Call "kernel32::GetFileInformationByHandle(p r7, p r6) i .r5"
    ${If} $5 <> 0
      System::Call "*$6(i, i, i, i, i, i, i, i .r9, i, i, i, i .r4, i .r5)"
      StrCpy $9 "$9:$4:$5"
    ${EndIf}
    System::Free $6
    System::Call "kernel32::CloseHandle(p r7)"
  ${EndIf}
FunctionEnd
!macroend
!insertmacro Identity ""
!insertmacro Identity "un."

; RESULT (which may be A) is 1 when A and B name the same file or folder, else 0: by identity where both
; can be opened, else by their names in their long or their short forms. Changes $4 to $9 and $R9.
!macro IsSame A B RESULT
  StrCpy $R9 "${B}"
  StrCpy $8 "${A}"
  !ifdef __UNINSTALL__
    Call un.Identity
  !else
    Call Identity
  !endif
  StrCpy $8 $R9
  StrCpy $R9 $9
  !ifdef __UNINSTALL__
    Call un.Identity
  !else
    Call Identity
  !endif
  ${If} "${A}" == ""
    StrCpy ${RESULT} 0
  ${ElseIf} $R9 != ""
  ${AndIf} $9 != ""
    ${If} $R9 == $9
      StrCpy ${RESULT} 1
    ${Else}
      StrCpy ${RESULT} 0
    ${EndIf}
  ${ElseIf} "${A}" == $8
    StrCpy ${RESULT} 1
  ${Else}
    GetFullPathName /SHORT $R9 "${A}"
    GetFullPathName /SHORT $9 $8
    ${If} $R9 != ""
    ${AndIf} $R9 == $9
      StrCpy ${RESULT} 1
    ${Else}
      StrCpy ${RESULT} 0
    ${EndIf}
  ${EndIf}
!macroend

; RESULT is 1 when VALUE names Pelluna.scr in FOLDER (the screen saver settings of Windows may store its
; short form), else 0.
!macro IsPellunaIn FOLDER VALUE RESULT
  !insertmacro IsSame "${VALUE}" "${FOLDER}\Pelluna.scr" ${RESULT}
!macroend

; The program's files, in the install folder or in the folder of an earlier install.
!macro DeleteProgramFiles FOLDER
  Delete "${FOLDER}\Pelluna.scr"
  Delete "${FOLDER}\PellunaSettings.exe"
  Delete "${FOLDER}\INSTALL.txt"
  Delete "${FOLDER}\Uninstall.exe"
!macroend

!macro DeleteMenuEntries
  Delete "${MENU_FOLDER}\${SETTINGS_ENTRY_EN}.lnk"
  Delete "${MENU_FOLDER}\${SETTINGS_ENTRY_JA}.lnk"
  Delete "${MENU_FOLDER}\${CHOOSE_ENTRY_EN}.lnk"
  Delete "${MENU_FOLDER}\${CHOOSE_ENTRY_JA}.lnk"
!macroend

; Tells running programs that the screen saver settings changed.
!macro AnnounceScreenSaver
  System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i 1, p 0, i ${SPIF_UPDATE_AND_SEND})"
!macroend

; $R8 is empty when the file $R3 is not there or can be written, else the system's error code for it.
!macro WriteError
  StrCpy $R8 ""
  ${If} ${FileExists} $R3
    System::Call "kernel32::CreateFileW(w R3, i ${GENERIC_WRITE}, i ${FILE_SHARE_ALL}, p 0, i ${OPEN_EXISTING}, \
      i 0, p 0) p .r9 ?e"
    Pop $R8
    ${If} $9 P<> -1
      System::Call "kernel32::CloseHandle(p r9)"
      StrCpy $R8 ""
    ${EndIf}
  ${EndIf}
!macroend

; Asks every Pelluna saver and preview window to close, as Windows ends them. The saver's windows are
; top-level; a preview is a child window in the preview box of the program that started it (the screen
; saver settings of Windows), so the walk goes through the whole tree of windows under the desktop, each
; window before its children. A window that goes meanwhile ends the walk early: the next one, a second
; later, finds the rest.
!macro ClosePellunaWindows UN
Function ${UN}ClosePellunaWindows
  System::Call "user32::GetDesktopWindow() p .r5"
  System::Call "user32::GetWindow(p r5, i ${GW_CHILD}) p .r1"
  StrCpy $4 0
  ${DoWhile} $1 P<> 0
    System::Call "user32::GetClassNameW(p r1, w .r2, i 64) i"
    ${If} $2 == "${SAVER_CLASS}"
    ${OrIf} $2 == "${PREVIEW_CLASS}"
      System::Call "user32::PostMessageW(p r1, i ${WM_CLOSE}, p 0, p 0)"
    ${EndIf}
    System::Call "user32::GetWindow(p r1, i ${GW_CHILD}) p .r3"
    ; Without a child: the next window beside it, or beside the nearest window above it that has one.
    ${DoWhile} $3 P= 0
      System::Call "user32::GetWindow(p r1, i ${GW_HWNDNEXT}) p .r3"
      ${IfThen} $3 P<> 0 ${|} ${ExitDo} ${|}
      System::Call "user32::GetAncestor(p r1, i ${GA_PARENT}) p .r1"
      ${IfThen} $1 P= 0 ${|} ${ExitDo} ${|}
      ${IfThen} $1 P= $5 ${|} ${ExitDo} ${|}
    ${Loop}
    StrCpy $1 $3
    ; However windows move meanwhile, the walk ends.
    IntOp $4 $4 + 1
    ${IfThen} $4 >= 100000 ${|} ${ExitDo} ${|}
  ${Loop}
FunctionEnd
!macroend
!insertmacro ClosePellunaWindows ""
!insertmacro ClosePellunaWindows "un."

; Before the program is replaced or removed: a running saver or preview is asked to close, and is waited
; for (up to 10 s) until the program file can be written, here and in the folder $R7 of an earlier install
; (empty for none). An open settings dialog may hold changes, so only the user closes it; a silent run fails
; instead. $R8 comes back empty, or with the system's error code when a program file cannot be written for
; another reason than use (read-only, protected), which no wait mends; $R3 names that file.
!macro EndRunningPelluna UN
Function ${UN}EndRunningPelluna
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
    Abort "$(SettingsOpenStopped)"
  ${EndIf}
  StrCpy $R1 0
  ${Do}
    ; Once a second, for a saver that started since.
    IntOp $R2 $R1 % 10
    ${IfThen} $R2 = 0 ${|} Call ${UN}ClosePellunaWindows ${|}
    StrCpy $R3 "$INSTDIR\Pelluna.scr"
    !insertmacro WriteError
    ${If} $R8 == ""
    ${AndIf} $R7 != ""
      StrCpy $R3 "$R7\Pelluna.scr"
      !insertmacro WriteError
      ; That one is only removed, which a read-only mark does not stop: only its use is waited for.
      ${If} $R8 != ${ERROR_SHARING_VIOLATION}
      ${AndIf} $R8 != ${ERROR_LOCK_VIOLATION}
        StrCpy $R8 ""
      ${EndIf}
    ${EndIf}
    ; Free, or blocked for another reason than use.
    ${If} $R8 != ${ERROR_SHARING_VIOLATION}
    ${AndIf} $R8 != ${ERROR_LOCK_VIOLATION}
      Return
    ${EndIf}
    Sleep 100
    IntOp $R1 $R1 + 1
  ${LoopUntil} $R1 >= 100
  MessageBox MB_RETRYCANCEL|MB_ICONSTOP "$(ProgramInUse)" /SD IDCANCEL IDRETRY again
  SetErrorLevel 2
  Abort "$(InUseStopped)"
FunctionEnd
!macroend
!insertmacro EndRunningPelluna ""
!insertmacro EndRunningPelluna "un."

; Keeps the screen saver that Pelluna replaces, to put it back on uninstall. An earlier Pelluna, here or
; in the folder of an earlier install, is no screen saver to keep: the one it replaced stays kept.
Function KeepPreviousScreenSaver
  ClearErrors
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${If} ${Errors}
    StrCpy $R1 none
  ${Else}
    StrCpy $R1 some
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
  ${If} $R1 == none
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

; RESULT is 1 when the ANSI calls reach TEXT, that is when it comes back the same through the ANSI code
; page, else 0. The round trip alone decides: under the UTF-8 code page (65001) a conversion that is asked
; whether it used a default character, or asked for no best fits, fails outright.
!macro FitsCodePage TEXT RESULT
  StrCpy $8 "${TEXT}"
  System::Alloc 4096
  Pop $6
  System::Call "kernel32::WideCharToMultiByte(i 0, i 0, w r8, i -1, p r6, i 4096, p 0, p 0) i .r9"
  System::Call "kernel32::MultiByteToWideChar(i 0, i 0, p r6, i -1, w .r7, i ${NSIS_MAX_STRLEN}) i .r5"
  System::Free $6
  StrCpy ${RESULT} 0
  ${If} $9 <> 0
  ${AndIf} $5 <> 0
  ${AndIf} $7 S== $8
    StrCpy ${RESULT} 1
  ${EndIf}
!macroend

; $0 is 1 when Pelluna could keep its settings in $INSTDIR, else 0. The program reaches its settings file
; through ANSI calls: a folder whose name the code page cannot write works through its short form only,
; and where the volume keeps none, settings could never be saved.
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
  ${IfThen} $3 = 0 ${|} StrCpy $0 0 ${|}
FunctionEnd

Function CheckFolderPage
  Call CheckFolderName
  ${If} $0 == 0
    MessageBox MB_OK|MB_ICONEXCLAMATION "$(FolderNameUnusable)"
    Abort
  ${EndIf}
FunctionEnd

; The page adds a backslash to a folder that is there already, as the earlier install's is: shown without.
Function ShowFolderPage
  System::Call "user32::GetWindowTextW(p $mui.DirectoryPage.Directory, w .r0, i ${NSIS_MAX_STRLEN}) i .r1"
  StrCpy $2 $0 "" -1
  ${If} $2 == "\"
  ${AndIf} $1 > 3
    StrCpy $0 $0 -1
    SendMessage $mui.DirectoryPage.Directory ${WM_SETTEXT} 0 "STR:$0"
    SendMessage $mui.DirectoryPage.Directory ${EM_SETSEL} 0 -1
  ${EndIf}
FunctionEnd

; Setup takes /D= unquoted and last only, and installs into its default folder when a deployment script
; quotes it ("/D=C:\My Savers" or /D="C:\My Savers"). Those forms are read here, from the whole command
; line; a folder that cannot be read (no closing quote, no full path) ends the setup with nothing installed,
; never with success for a folder that was not asked for.
Function .onInit
  System::Call "kernel32::GetCommandLineW() w .r0"
  ; Past the program's own path, which may be quoted.
  StrCpy $1 $0 1
  StrCpy $2 1
  ${If} $1 == '"'
    ${Do}
      StrCpy $1 $0 1 $2
      IntOp $2 $2 + 1
      ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
    ${LoopUntil} $1 == '"'
  ${EndIf}
  StrCpy $0 $0 "" $2
  ; The last /D=, and the quote that opens before it ($3), if any.
  StrLen $1 $0
  StrCpy $2 0
  StrCpy $4 -1
  ${DoWhile} $2 < $1
    StrCpy $5 $0 4 $2
    StrCpy $6 $0 5 $2
    ${If} $5 S== " /D="
      IntOp $4 $2 + 4
      StrCpy $3 ""
    ${ElseIf} $6 S== ' "/D='
      IntOp $4 $2 + 5
      StrCpy $3 '"'
    ${EndIf}
    IntOp $2 $2 + 1
  ${Loop}
  ${IfThen} $4 < 0 ${|} Return ${|}
  StrCpy $0 $0 "" $4
  StrCpy $5 $0 1
  ${If} $3 == ""
  ${AndIf} $5 == '"'
    StrCpy $3 '"'
    StrCpy $0 $0 "" 1
  ${EndIf}
  ${If} $3 == '"'
    StrLen $1 $0
    StrCpy $2 0
    ${DoWhile} $2 < $1
      StrCpy $5 $0 1 $2
      ${IfThen} $5 == '"' ${|} ${ExitDo} ${|}
      IntOp $2 $2 + 1
    ${Loop}
    ${If} $2 < $1
      StrCpy $0 $0 $2
    ${Else}
      StrCpy $3 unreadable
    ${EndIf}
  ${EndIf}
  StrCpy $5 $0 2 1
  StrCpy $6 $0 2
  ${If} $5 != ":\"
  ${AndIf} $6 != "\\"
    StrCpy $3 unreadable
  ${EndIf}
  ${If} $3 == unreadable
    MessageBox MB_OK|MB_ICONSTOP "$(FolderUnreadable)" /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  ; Unquoted, setup read it already.
  ${IfThen} $3 == '"' ${|} StrCpy $INSTDIR $0 ${|}
FunctionEnd

Function OpenScreenSaverSettings
  Exec '"$SYSDIR\control.exe" desk.cpl,,@screensaver'
FunctionEnd

Section
  ; A silent setup has no folder page: the same check, and a refusal ends it before anything changed.
  ${If} ${Silent}
    Call CheckFolderName
    ${If} $0 == 0
      SetErrorLevel 2
      Abort "$(FolderNameUnusable)"
    ${EndIf}
  ${EndIf}
  ; One Pelluna at a time: an earlier install in another folder ($R7) goes once this one is in place.
  ReadRegStr $R7 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $R7 != ""
    !insertmacro IsSame $R7 $INSTDIR $0
    ${If} $0 == 1
    ${OrIfNot} ${FileExists} "$R7\*.*"
      StrCpy $R7 ""
    ${EndIf}
  ${EndIf}
  Call EndRunningPelluna
  ${If} $R8 != ""
    System::Call "kernel32::FormatMessageW(i ${FORMAT_MESSAGE_FROM_SYSTEM_IGNORE_INSERTS}, p 0, i R8, i 0, \
      w .r0, i ${NSIS_MAX_STRLEN}, p 0) i .r1"
    ${If} $1 = 0
      StrCpy $R8 "error $R8"
    ${Else}
      ; Without the line end the system's text comes with.
      ${Do}
        StrCpy $1 $0 1 -1
        ${If} $1 == "$\r"
        ${OrIf} $1 == "$\n"
          StrCpy $0 $0 -1
        ${Else}
          ${ExitDo}
        ${EndIf}
      ${Loop}
      StrCpy $R8 $0
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP "$(NotReplaceable)" /SD IDOK
    SetErrorLevel 2
    Abort "$(NotReplaceableStopped)"
  ${EndIf}
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
  File "/oname=PellunaSettings.exe" "${SETTINGS_PROGRAM}"
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
  ; The earlier folder's settings come along when this folder has none; then its Pelluna files go, and the
  ; folder when nothing else is left in it. Whatever the names said, a program just written is never one of
  ; them.
  ${If} $R7 != ""
    !insertmacro IsSame "$R7\Pelluna.scr" "$INSTDIR\Pelluna.scr" $0
    ${IfThen} $0 == 1 ${|} StrCpy $R7 "" ${|}
  ${EndIf}
  ${If} $R7 != ""
    ${IfNot} ${FileExists} "$INSTDIR\Pelluna.ini"
      CopyFiles /SILENT "$R7\Pelluna.ini" $INSTDIR
    ${EndIf}
    ${IfThen} ${FileExists} "$INSTDIR\Pelluna.ini" ${|} Delete "$R7\Pelluna.ini" ${|}
    !insertmacro DeleteProgramFiles $R7
    RMDir $R7
    ${If} ${FileExists} "$R7\Pelluna.scr"
    ${OrIf} ${FileExists} "$R7\Uninstall.exe"
      MessageBox MB_OK|MB_ICONINFORMATION "$(EarlierFilesKept)" /SD IDOK
    ${EndIf}
  ${EndIf}

  ; Windows lists only the screen savers of its own folders and the chosen one: these entries find
  ; Pelluna again once another was chosen. The shell starts a .scr through its file type's command
  ; ("%1" /S), which has no place for a shortcut's arguments: the settings entry starts PellunaSettings.exe,
  ; which starts Pelluna.scr /C itself.
  !insertmacro DeleteMenuEntries
  CreateDirectory "${MENU_FOLDER}"
  CreateShortcut "${MENU_FOLDER}\$(SettingsEntry).lnk" "$INSTDIR\PellunaSettings.exe"
  CreateShortcut "${MENU_FOLDER}\$(ChooseEntry).lnk" "$SYSDIR\rundll32.exe" \
    'desk.cpl,InstallScreenSaver "$INSTDIR\Pelluna.scr"' "$INSTDIR\Pelluna.scr" 0

  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$INSTDIR\Pelluna.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  !insertmacro AnnounceScreenSaver

  ${GetSize} $INSTDIR "/S=0K" $0 $1 $2
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Pelluna"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Pelluna.scr,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Pelluna"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "URLInfoAbout" "https://pelluna.example.org/"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" $INSTDIR
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Puts the kept screen saver back, but only while Pelluna here is still the active one ($R5 is 1): a screen
; saver the user chose since stays. A kept saver whose file is gone since, or none kept, or an entry that
; belongs to another folder ($R6 is 0), leaves no screen saver set, as before the install.
Function un.RestoreScreenSaver
  ${If} $R5 != 1
    Return
  ${EndIf}
  StrCpy $2 ""
  ${If} $R6 == 1
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaver"
    ExpandEnvStrings $3 $2
    ${IfNotThen} ${FileExists} $3 ${|} StrCpy $2 "" ${|}
  ${EndIf}
  ${If} $2 == ""
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${Else}
    WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" $2
  ${EndIf}
  ${If} $R6 == 1
    ClearErrors
    ReadRegStr $2 HKCU "${UNINSTALL_KEY}" "PreviousScreenSaveActive"
    ${IfNot} ${Errors}
      WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" $2
    ${Else}
      ReadRegDWORD $2 HKCU "${UNINSTALL_KEY}" "NoPreviousScreenSaveActive"
      ${IfThen} $2 == 1 ${|} DeleteRegValue HKCU "${DESKTOP_KEY}" "ScreenSaveActive" ${|}
    ${EndIf}
  ${EndIf}
  ; Running programs hear of the change; without SPIF_UPDATEINIFILE the call leaves the values just put
  ; back as they are.
  ReadRegStr $2 HKCU "${DESKTOP_KEY}" "ScreenSaveActive"
  ${IfThen} $2 != 1 ${|} StrCpy $2 0 ${|}
  System::Call "user32::SystemParametersInfoW(i ${SPI_SETSCREENSAVEACTIVE}, i r2, p 0, i ${SPIF_SENDCHANGE})"
FunctionEnd

Section Uninstall
  ; As setup does: a running saver or preview is closed, an open dialog is left to the user. What blocks
  ; the program file for another reason ($R8) is left to the removal below, which clears a read-only mark.
  StrCpy $R7 ""
  Call un.EndRunningPelluna
  ; The entry and the Start-menu entries are this folder's only when the entry names it ($R6): after an
  ; install into another folder they belong to that one.
  ReadRegStr $R6 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  !insertmacro IsSame $R6 $INSTDIR $R6
  ; Before the program goes: the short form of its path needs the file.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  !insertmacro IsPellunaIn $INSTDIR $0 $R5
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
  ; A program left behind with nothing to remove it would be a failure reported as success.
  ${If} ${FileExists} "$INSTDIR\Pelluna.scr"
    MessageBox MB_OK|MB_ICONSTOP "$(NotRemoved)" /SD IDOK
    SetErrorLevel 2
    Abort "$(NotRemovedStopped)"
  ${EndIf}
  Call un.RestoreScreenSaver
  !insertmacro DeleteProgramFiles $INSTDIR
  Delete "$INSTDIR\Pelluna.ini"
  ${If} $R6 == 1
    !insertmacro DeleteMenuEntries
    RMDir "${MENU_FOLDER}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${EndIf}
  ; Only when empty: files the user put there stay, and so does their folder.
  RMDir $INSTDIR
SectionEnd
