; Pelluna's own Japanese for the wizard pages (with Japanese.nlf, which says how it is written). Only the pages
; the setup and the uninstaller show: for a page added, the build names the texts missing here.

!insertmacro LANGFILE "Japanese" = "日本語" "Nihongo"

!ifdef MUI_WELCOMEPAGE
  ${LangFileString} MUI_TEXT_WELCOME_INFO_TITLE "$(^NameDA) セットアップへようこそ"
  ${LangFileString} MUI_TEXT_WELCOME_INFO_TEXT "$(^NameDA) のインストールをご案内します。$\r$\n$\r$\n$_CLICK"
!endif

!ifdef MUI_DIRECTORYPAGE
  ${LangFileString} MUI_TEXT_DIRECTORY_TITLE "インストール先の選択"
  ${LangFileString} MUI_TEXT_DIRECTORY_SUBTITLE "$(^NameDA) をインストールするフォルダーを選んでください。"
!endif

!ifdef MUI_INSTFILESPAGE
  ${LangFileString} MUI_TEXT_INSTALLING_TITLE "インストール中"
  ${LangFileString} MUI_TEXT_INSTALLING_SUBTITLE "$(^NameDA) をインストールしています。しばらくお待ちください。"
  ${LangFileString} MUI_TEXT_FINISH_TITLE "インストールの完了"
  ${LangFileString} MUI_TEXT_FINISH_SUBTITLE "インストールが完了しました。"
  ${LangFileString} MUI_TEXT_ABORT_TITLE "インストールの中止"
  ${LangFileString} MUI_TEXT_ABORT_SUBTITLE "インストールは完了しませんでした。"
!endif

!ifdef MUI_UNINSTFILESPAGE
  ${LangFileString} MUI_UNTEXT_UNINSTALLING_TITLE "アンインストール中"
  ${LangFileString} MUI_UNTEXT_UNINSTALLING_SUBTITLE "$(^NameDA) をアンインストールしています。しばらくお待ちください。"
  ${LangFileString} MUI_UNTEXT_FINISH_TITLE "アンインストールの完了"
  ${LangFileString} MUI_UNTEXT_FINISH_SUBTITLE "アンインストールが完了しました。"
  ${LangFileString} MUI_UNTEXT_ABORT_TITLE "アンインストールの中止"
  ${LangFileString} MUI_UNTEXT_ABORT_SUBTITLE "アンインストールは完了しませんでした。"
!endif

!ifdef MUI_FINISHPAGE
  ${LangFileString} MUI_TEXT_FINISH_INFO_TITLE "$(^NameDA) セットアップの完了"
  ${LangFileString} MUI_TEXT_FINISH_INFO_TEXT "$(^NameDA) をこのコンピューターにインストールしました。$\r$\n$\r$\nセットアップを閉じるには [完了] を押してください。"
  ${LangFileString} MUI_TEXT_FINISH_INFO_REBOOT "$(^NameDA) のインストールを終えるには、このコンピューターを再起動する必要があります。今すぐ再起動しますか？"
  ${LangFileString} MUI_TEXT_FINISH_REBOOTNOW "今すぐ再起動する"
  ${LangFileString} MUI_TEXT_FINISH_REBOOTLATER "後で再起動する"
  ${LangFileString} MUI_TEXT_FINISH_RUN "$(^NameDA) を実行する(&R)"
  ${LangFileString} MUI_TEXT_FINISH_SHOWREADME "Readme を表示する(&S)"
  ${LangFileString} MUI_BUTTONTEXT_FINISH "完了(&F)"
!endif

!ifdef MUI_UNCONFIRMPAGE
  ${LangFileString} MUI_UNTEXT_CONFIRM_TITLE "$(^NameDA) のアンインストール"
  ${LangFileString} MUI_UNTEXT_CONFIRM_SUBTITLE "$(^NameDA) をこのコンピューターから削除します。"
!endif

!ifdef MUI_ABORTWARNING
  ${LangFileString} MUI_TEXT_ABORTWARNING "$(^Name) のセットアップを中止しますか？"
!endif
