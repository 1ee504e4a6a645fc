; The Windows installer of Tomberly＆競馬新聞, made by scripts/package-windows-program:
;
;   makensis -INPUTCHARSET UTF8 -DVERSION=<x.y> -DPROGRAM_FOLDER=<program folder>
;            -DINSTALLED_FILES=<uninstall list> -DOUTFILE=<setup.exe> tomberly.nsi
;
; It installs the program folder for the current user, under %LOCALAPPDATA%\Programs\Tomberly
; by default. The program folder is also the program's data root: the store (DATA, SEI, SEIR,
; UM2, REC, UMA) and the settings file tomberly.ini are made beside the program. A folder the
; user may write to without an administrator keeps the program able to write its store, which
; under Program Files it could not, and needs no elevation to install.
;
; Where nothing answers to "JVDTLab.JVLink", the installer offers the stand-in JV-Link (selected,
; so that a user without a subscription can try the program at once) and registers it with
; jvlink-standin.exe; where the real JV-Link is registered, it does not offer it. The uninstaller
; removes the stand-in's registration only when this installer made it, removes exactly the
; files it installed, and deletes the store and the settings only when the user says so (a
; silent uninstall keeps them).

!ifndef VERSION | PROGRAM_FOLDER | INSTALLED_FILES | OUTFILE
    !error "VERSION, PROGRAM_FOLDER, INSTALLED_FILES and OUTFILE must be defined"
!endif

Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define PRODUCT "Tomberly＆競馬新聞"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tomberly"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define STANDIN_CLASS "{E1D96D2D-4B4B-4155-B874-00765A2ABC5C}"
!define JVLINK_CLASS "{2AB1774D-0C41-11D7-916F-0003479BEB3F}"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tomberly"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1041 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1041 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1041 "FileDescription" "${PRODUCT} セットアップ"
VIAddVersionKey /LANG=1041 "LegalCopyright" ""

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "Sections.nsh"

; What answers to "JVDTLab.JVLink" when setup starts: "none", "standin" or "jvlink" (the real
; component, or any other class under the identifier).
Var JVLinkState

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\tomberly.exe"
!define MUI_FINISHPAGE_RUN_NOTCHECKED
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipComponentsWithoutChoice
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; Looks at one place of the class registry: the identifier mapping to another class than the
; stand-in's (or to none), or the real component's class, counts as JV-Link.
!macro LookUpJVLink ROOT PATH VIEW
    SetRegView ${VIEW}
    ClearErrors
    EnumRegKey $1 ${ROOT} "${PATH}JVDTLab.JVLink" 0
    ${IfNot} ${Errors}
        ClearErrors
        ReadRegStr $1 ${ROOT} "${PATH}JVDTLab.JVLink\CLSID" ""
        ${If} ${Errors}
        ${OrIf} $1 != "${STANDIN_CLASS}"
            StrCpy $JVLinkState "jvlink"
        ${ElseIf} $JVLinkState == "none"
            StrCpy $JVLinkState "standin"
        ${EndIf}
    ${EndIf}
    ClearErrors
    EnumRegKey $1 ${ROOT} "${PATH}CLSID\${JVLINK_CLASS}" 0
    ${IfNot} ${Errors}
        StrCpy $JVLinkState "jvlink"
    ${EndIf}
!macroend

Function LookUpJVLink
    StrCpy $JVLinkState "none"
    !insertmacro LookUpJVLink HKCR "" 64
    !insertmacro LookUpJVLink HKCR "" 32
    !insertmacro LookUpJVLink HKCU "Software\Classes\" 64
    !insertmacro LookUpJVLink HKLM "Software\Classes\" 64
    !insertmacro LookUpJVLink HKLM "Software\Classes\" 32
    SetRegView 64
FunctionEnd

Section "!${PRODUCT}" SecProgram
    SectionIn RO
    ; Installing over an installation: its own uninstaller first removes the files of the
    ; version there (and the stand-in's registration it made, registered again below when
    ; chosen); it keeps the store and the settings when silent.
    ${If} ${FileExists} "$INSTDIR\uninstall.exe"
        DetailPrint "インストール済みの版を削除しています..."
        ExecWait '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    ${EndIf}
    SetOutPath "$INSTDIR"
    File /r "${PROGRAM_FOLDER}/*"
    WriteUninstaller "$INSTDIR\uninstall.exe"

    ; The shortcut starts the program in its own folder, its data root.
    CreateShortcut "${SHORTCUT}" "$INSTDIR\tomberly.exe" "" "$INSTDIR\tomberly.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\tomberly.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize ${SecProgram} $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "スタンドイン JV-Link（お試し用）" SecStandIn
    ; The console command runs hidden; its exit code tells whether it registered.
    nsExec::Exec '"$INSTDIR\jvlink-standin.exe" register'
    Pop $0
    ${If} $0 == 0
        WriteRegDWORD HKCU "${UNINSTALL_KEY}" "StandInRegistered" 1
        DetailPrint "スタンドインの JV-Link を JVDTLab.JVLink として登録しました。"
    ${Else}
        DetailPrint "スタンドインの JV-Link を登録できませんでした（終了コード $0）。"
        MessageBox MB_OK|MB_ICONEXCLAMATION "スタンドインの JV-Link を登録できませんでした。$\r$\nあとで「jvlink-standin.exe register」で登録できます。" /SD IDOK
    ${EndIf}
SectionEnd

; A stand-in this installer once registered, and now not chosen (or JV-Link has come since),
; is unregistered: the real component must not stay hidden behind it.
Section "-StandInLeft"
    ${IfNot} ${SectionIsSelected} ${SecStandIn}
        ClearErrors
        ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "StandInRegistered"
        ${If} $0 == 1
            nsExec::Exec '"$INSTDIR\jvlink-standin.exe" unregister'
            Pop $0
            DeleteRegValue HKCU "${UNINSTALL_KEY}" "StandInRegistered"
            DetailPrint "以前登録したスタンドインの JV-Link の登録を削除しました。"
        ${EndIf}
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "プログラム、ヘルプと Qt のライブラリ、スタートメニューのショートカット。"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecStandIn} "JV-Link が入っていないので、組み込みのレースデータを配信する代わりの JV-Link を登録します。JRA-VAN の JV-Link を入れるときは、先に「jvlink-standin.exe unregister」で外すか、この項目を外して再インストールしてください。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    SetRegView 64
    Call LookUpJVLink
    ClearErrors
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "StandInRegistered"
    ; Offered only where nothing answers to the identifier, or where it is the stand-in this
    ; installer registered before (registering again follows a moved folder).
    StrCpy $1 "offer"
    ${If} $JVLinkState == "jvlink"
        StrCpy $1 ""
    ${ElseIf} $JVLinkState == "standin"
    ${AndIf} $0 != 1
        StrCpy $1 ""
    ${EndIf}
    ${If} $1 == ""
        !insertmacro UnselectSection ${SecStandIn}
        SectionSetText ${SecStandIn} ""
    ${EndIf}
FunctionEnd

Function SkipComponentsWithoutChoice
    SectionGetText ${SecStandIn} $0
    ${If} $0 == ""
        Abort
    ${EndIf}
FunctionEnd

Function un.onInit
    SetRegView 64
FunctionEnd

; The store folders of the program folder, each given to a command.
!macro ForEachDataFolder COMMAND
    !insertmacro ${COMMAND}DataFolder "DATA"
    !insertmacro ${COMMAND}DataFolder "SEI"
    !insertmacro ${COMMAND}DataFolder "SEIR"
    !insertmacro ${COMMAND}DataFolder "UM2"
    !insertmacro ${COMMAND}DataFolder "REC"
    !insertmacro ${COMMAND}DataFolder "UMA"
!macroend
!macro RMDirDataFolder NAME
    RMDir "$INSTDIR\${NAME}"
!macroend
!macro RemoveDataFolder NAME
    RMDir /r "$INSTDIR\${NAME}"
!macroend
!macro NoteDataDataFolder NAME
    ${If} ${FileExists} "$INSTDIR\${NAME}\*.*"
        StrCpy $1 "data"
    ${EndIf}
!macroend

Section "Uninstall"
    ; The stand-in's registration goes first, while its command is still there.
    ClearErrors
    ReadRegDWORD $0 HKCU "${UNINSTALL_KEY}" "StandInRegistered"
    ${If} $0 == 1
        nsExec::Exec '"$INSTDIR\jvlink-standin.exe" unregister'
        Pop $0
        DetailPrint "スタンドインの JV-Link の登録を削除しました。"
    ${EndIf}

    Delete "${SHORTCUT}"
    ; Exactly the files the installer put there, then their folders where they are empty.
    !include /CHARSET=UTF8 "${INSTALLED_FILES}"
    Delete "$INSTDIR\uninstall.exe"

    ; The store folders the program made and left empty go; what is left is the user's: the
    ; store and the settings are deleted only when the user says so.
    !insertmacro ForEachDataFolder RMDir
    Delete "$INSTDIR\tomberly.lock"
    StrCpy $1 ""
    !insertmacro ForEachDataFolder NoteData
    ${If} ${FileExists} "$INSTDIR\tomberly.ini"
        StrCpy $1 "data"
    ${EndIf}
    ${If} $1 != ""
        MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "保存したレースデータ（DATA, SEI, SEIR, UM2, REC, UMA）と設定ファイルが$\r$\n$INSTDIR$\r$\nに残っています。これらも削除しますか？" /SD IDNO IDNO keepData
        !insertmacro ForEachDataFolder Remove
        Delete "$INSTDIR\tomberly.ini"
        keepData:
    ${EndIf}
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\*.*"
        DetailPrint "$INSTDIR に残したデータはそのままです。"
    ${EndIf}

    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
