; PellunaSettings.exe, which the Start-menu entry "Pelluna Settings" starts: it starts Pelluna.scr /C from
; its own folder and ends. The shell starts a .scr through its file type's command ("%1" /S), which has no
; place for a shortcut's arguments, so a shortcut to Pelluna.scr /C could start the saver instead; this
; program starts Pelluna.scr itself (CreateProcess), with /C.
; makensis -INPUTCHARSET UTF8 -DVERSION=1.0.0 -DICON=umbrella.ico -DOUTFILE=PellunaSettings.exe Settings.nsi

!ifndef VERSION | ICON | OUTFILE
  !error "define VERSION, ICON and OUTFILE"
!endif

Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SilentInstall silent
Name "Pelluna"
Caption "Pelluna"
OutFile "${OUTFILE}"
Icon "${ICON}"

LoadLanguageFile "${NSISDIR}\Contrib\Language files\English.nlf"
LoadLanguageFile "${__FILEDIR__}\Japanese.nlf"
LangString NotStarted ${LANG_ENGLISH} "$EXEDIR\Pelluna.scr could not be started."
LangString NotStarted ${LANG_JAPANESE} "$EXEDIR\Pelluna.scr を起動できませんでした。"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
!pragma warning disable 9100
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Pelluna"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Pelluna settings"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"

Section
  ClearErrors
  Exec '"$EXEDIR\Pelluna.scr" /C'
  IfErrors 0 +3
    MessageBox MB_OK|MB_ICONSTOP "$(NotStarted)"
    SetErrorLevel 2
SectionEnd
