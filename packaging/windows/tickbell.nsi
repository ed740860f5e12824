; SPDX-License-Identifier: GPL-3.0-or-later
; Tickbell's Windows installer, made by scripts/build-windows.sh with Debian's makensis:
;   makensis -INPUTCHARSET UTF8 -DPRODUCT=<build>/generated/product.nsh -DFILES=<files.nsh> \
;            -DLICENSE=<LICENSE.txt> -DOUTFILE=<setup.exe> tickbell.nsi
; PRODUCT (written by CMake) names the version, the publisher and the helper program; FILES
; (written by the build script from the program folder the zip holds) installs each file,
; FILES.uninstall deletes exactly those again and FILES.folders removes their folders.
;
; Installs for the current user (%LOCALAPPDATA%\Programs\Tickbell, no administrator rights), or
; for every user of the computer (Program Files, as administrator), with a Start-menu entry and,
; when chosen, a start at log-on. The user's settings in %APPDATA%\Tickbell are never touched.
; A running Tickbell is closed (after asking) before any file is replaced or removed.
; Command line: /S silent (a running Tickbell is closed without asking); /ALLUSERS for every
; user; /AUTOSTART=1 or /AUTOSTART=0 to start at log-on or not (an upgrade keeps the choice);
; /D=folder, last, the folder.
; A 64-bit installer for a 64-bit program (it also runs under a Wine without 32-bit support).
Unicode true
Target amd64-unicode
!include "${PRODUCT}"
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include Sections.nsh

Name "Tickbell ${VERSION}"
OutFile "${OUTFILE}"
; Asks for nothing: only an install for every user needs administrator rights, and then it
; starts itself again as administrator.
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma
; A file that cannot be written fails the installation; it is never skipped.
AllowSkipFiles off
BrandingText "Tickbell ${VERSION}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tickbell"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The exit status of a run that an administrator was not allowed for (ERROR_CANCELLED).
!define DECLINED 1223

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Tickbell"
VIAddVersionKey /LANG=2052 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=2052 "FileDescription" "Tickbell 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"

Var AllUsers      ; 1: for every user of the computer
Var Elevated      ; 1: this process has administrator rights
Var Continued     ; 1: started again as administrator by the installer the user started
Var GivenFolder   ; the folder given with /D=
Var AutoStart     ; /AUTOSTART=: 1, 0, or empty when not given
Var ModeMe
Var ModeAll

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_SMALLDESC

!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenContinued
!define MUI_WELCOMEPAGE_TEXT "此程序将引导您完成 Tickbell ${VERSION} 的安装。$\r$\n$\r$\nTickbell 正在运行时，安装程序会先请您允许关闭它。$\r$\n$\r$\n$_CLICK"
!insertmacro MUI_PAGE_WELCOME
; The GPL is not a contract to agree to: the page informs, and 下一步 goes on.
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenContinued
!define MUI_PAGE_HEADER_TEXT "许可证"
!define MUI_PAGE_HEADER_SUBTEXT "请阅读 Tickbell 的许可证。"
!define MUI_LICENSEPAGE_TEXT_TOP "Tickbell 是自由软件，按 GNU 通用公共许可证（第 3 版或更高版本）发布："
!define MUI_LICENSEPAGE_TEXT_BOTTOM "使用 Tickbell 不需要接受这份许可证；复制、修改和传播 Tickbell 时请遵守它。点击“下一步”继续。"
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!insertmacro MUI_PAGE_LICENSE "${LICENSE}"
Page custom ModePage ModePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_SHOW DirectoryShow
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "运行 Tickbell"
!define MUI_FINISHPAGE_RUN_FUNCTION StartTickbell
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

; The helper program (packaging/windows/setup_helper.cpp) in the temporary folder.
!macro HELPER_FUNCTIONS UN
Function ${UN}UnpackHelper
    InitPluginsDir
    ${IfNot} ${FileExists} "$PLUGINSDIR\setup-helper.exe"
        File "/oname=$PLUGINSDIR\setup-helper.exe" "${HELPER}"
    ${EndIf}
FunctionEnd

Function ${UN}CheckElevated
    Call ${UN}UnpackHelper
    ExecWait '"$PLUGINSDIR\setup-helper.exe" elevated' $Elevated
FunctionEnd

; This installer (uninstaller) once more as administrator, with the parameters on the stack;
; this one then ends with its status. Returns only when the user did not allow it.
Function ${UN}ContinueElevated
    Exch $0
    Push $1
    HideWindow
    ExecWait '"$PLUGINSDIR\setup-helper.exe" elevate "$EXEPATH" "$0"' $1
    ${If} $1 != ${DECLINED}
        SetErrorLevel $1
        Quit
    ${EndIf}
    ShowWindow $HWNDPARENT ${SW_SHOW}
    BringToFront
    Pop $1
    Pop $0
FunctionEnd

; Every program started from $INSTDIR must end before its files are replaced or removed:
; asked first, they end as on their Exit item. A silent run asks nobody and ends the ones that
; do not end by themselves. Aborts when one keeps running, before anything was changed.
Function ${UN}CloseRunning
    Push $0
    Call ${UN}UnpackHelper
    ClearErrors
    ExecWait '"$PLUGINSDIR\setup-helper.exe" running "$INSTDIR"' $0
    ${If} ${Errors}
        Abort "无法检查 Tickbell 是否正在运行。"
    ${EndIf}
    ${If} $0 == 0
        Pop $0
        Return
    ${EndIf}
    ${IfNot} ${Silent}
        MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Tickbell 正在运行，需要先关闭它才能继续。$\r$\n$\r$\n点击“确定”关闭 Tickbell 并继续；点击“取消”停止，不做任何改动。" IDOK +2
        Abort "Tickbell 正在运行：已停止，没有做任何改动。"
    ${EndIf}
    ${Do}
        DetailPrint "关闭 Tickbell……"
        ${If} ${Silent}
            ExecWait '"$PLUGINSDIR\setup-helper.exe" close "$INSTDIR" force' $0
        ${Else}
            ExecWait '"$PLUGINSDIR\setup-helper.exe" close "$INSTDIR"' $0
        ${EndIf}
        ${If} $0 == 0
            ${Break}
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "无法关闭 Tickbell：它没有响应，或者正由这台电脑的其他用户运行。$\r$\n$\r$\n请先退出 Tickbell（菜单“文件”“退出”），然后点击“重试”；点击“取消”停止，不做任何改动。" /SD IDCANCEL IDRETRY +2
        Abort "Tickbell 仍在运行：已停止，没有做任何改动。"
    ${Loop}
    Pop $0
FunctionEnd
!macroend
!insertmacro HELPER_FUNCTIONS ""
!insertmacro HELPER_FUNCTIONS "un."

Section "Tickbell" SecProgram
    SectionIn RO
    Call CloseRunning
    !include "${FILES}"
    ; The folder the Start-menu entry starts the program in.
    SetOutPath "$INSTDIR"
    ; Tickbell.exe takes the uninstaller beside it for the sign of an installed copy, which keeps
    ; its settings in %APPDATA%\Tickbell, whatever the folder.
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Tickbell.lnk" "$INSTDIR\Tickbell.exe" "" "$INSTDIR\Tickbell.exe" 0
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "Tickbell"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "${HOMEPAGE}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tickbell.exe"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    ; Run in place (_?=), the uninstaller ends with its own status, not at once with that of
    ; starting a copy of itself to run on.
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" _?=$INSTDIR'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S _?=$INSTDIR'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Off unless chosen (or chosen before): starting at log-on is the user's decision. For every
; user it starts at every user's log-on.
Section /o "登录 Windows 时启动 Tickbell" SecLogOn
    WriteRegStr SHCTX "${RUN_KEY}" "Tickbell" '"$INSTDIR\Tickbell.exe"'
SectionEnd

Section "-LogOnOff"
    ${IfNot} ${SectionIsSelected} ${SecLogOn}
        DeleteRegValue SHCTX "${RUN_KEY}" "Tickbell"
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Tickbell 程序、语音提示和休市日历，以及“开始”菜单中的 Tickbell。"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecLogOn} "每次登录 Windows 时自动启动 Tickbell，集合竞价之前它就已在运行。"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    StrCpy $GivenFolder $INSTDIR
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/ELEVATED" $0
    ${IfNot} ${Errors}
        StrCpy $Continued 1
        StrCpy $AllUsers 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/ALLUSERS" $0
    ${IfNot} ${Errors}
        StrCpy $AllUsers 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $R0 "/AUTOSTART=" $AutoStart
    ; An upgrade stays where the earlier version was installed.
    ${If} $AllUsers != 1
        ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        ReadRegStr $1 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        ${If} $0 == ""
        ${AndIf} $1 != ""
            StrCpy $AllUsers 1
        ${EndIf}
    ${EndIf}
    Call CheckElevated
    Call ApplyMode
    ; A silent install for every user goes on as administrator at once.
    ${If} ${Silent}
    ${AndIf} $AllUsers == 1
    ${AndIf} $Elevated != 1
        ${If} $GivenFolder != ""
            StrCpy $R0 "$R0 /D=$GivenFolder"
        ${EndIf}
        Push "/ELEVATED $R0"
        Call ContinueElevated
        SetErrorLevel ${DECLINED}
        Quit
    ${EndIf}
FunctionEnd

; The folders, the registry and the log-on choice of the chosen way of installing.
Function ApplyMode
    ${If} $AllUsers == 1
        SetShellVarContext all
        StrCpy $0 "$PROGRAMFILES64\Tickbell"
    ${Else}
        SetShellVarContext current
        StrCpy $0 "$LOCALAPPDATA\Programs\Tickbell"
    ${EndIf}
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $GivenFolder != ""
        StrCpy $INSTDIR $GivenFolder
    ${ElseIf} $1 != ""
        StrCpy $INSTDIR $1
    ${Else}
        StrCpy $INSTDIR $0
    ${EndIf}
    ${If} $AutoStart == "1"
        !insertmacro SelectSection ${SecLogOn}
    ${ElseIf} $AutoStart == "0"
        !insertmacro UnselectSection ${SecLogOn}
    ${Else}
        ReadRegStr $1 SHCTX "${RUN_KEY}" "Tickbell"
        ${If} $1 != ""
            !insertmacro SelectSection ${SecLogOn}
        ${Else}
            !insertmacro UnselectSection ${SecLogOn}
        ${EndIf}
    ${EndIf}
FunctionEnd

Function SkipWhenContinued
    ${If} $Continued == 1
        Abort
    ${EndIf}
FunctionEnd

Function ModePage
    Call SkipWhenContinued
    !insertmacro MUI_HEADER_TEXT "选择安装方式" "为谁安装 Tickbell？"
    nsDialogs::Create 1018
    Pop $0
    SetShellVarContext current
    ${NSD_CreateRadioButton} 0 0 100% 12u "仅为我安装（推荐）"
    Pop $ModeMe
    ${NSD_CreateLabel} 12u 14u -12u 24u "安装到 $LOCALAPPDATA\Programs\Tickbell，不需要管理员权限。登录时启动只对您有效。"
    Pop $0
    ${NSD_CreateRadioButton} 0 48u 100% 12u "为这台电脑的所有用户安装"
    Pop $ModeAll
    ${NSD_CreateLabel} 12u 62u -12u 24u "安装到 Program Files，需要管理员权限（Windows 会请您确认）。登录时启动对每个用户都有效。"
    Pop $0
    ${If} $AllUsers == 1
        ${NSD_Check} $ModeAll
    ${Else}
        ${NSD_Check} $ModeMe
    ${EndIf}
    Call ApplyMode
    nsDialogs::Show
FunctionEnd

Function ModePageLeave
    ${NSD_GetState} $ModeAll $0
    ${If} $0 == ${BST_CHECKED}
        StrCpy $AllUsers 1
    ${Else}
        StrCpy $AllUsers 0
    ${EndIf}
    Call ApplyMode
    ${If} $AllUsers == 1
    ${AndIf} $Elevated != 1
        ${GetParameters} $0
        ${If} $GivenFolder != ""
            StrCpy $0 "$0 /D=$GivenFolder"
        ${EndIf}
        Push "/ELEVATED $0"
        Call ContinueElevated
        MessageBox MB_ICONEXCLAMATION "没有得到管理员权限，无法为所有用户安装。您可以选择“仅为我安装”。"
        Abort
    ${EndIf}
FunctionEnd

Function DirectoryShow
    ; The pages before were the other installer's.
    ${If} $Continued == 1
        GetDlgItem $0 $HWNDPARENT 3
        EnableWindow $0 0
    ${EndIf}
FunctionEnd

; In the program folder, as the user of the desktop: never with the administrator rights this
; installer may have.
Function StartTickbell
    Call UnpackHelper
    ExecWait '"$PLUGINSDIR\setup-helper.exe" start "$INSTDIR\Tickbell.exe" "$INSTDIR"'
FunctionEnd

Function un.onInit
    ; Installed for every user when the computer's uninstall entry names this folder.
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 != ""
    ${AndIf} $0 == $INSTDIR
        SetShellVarContext all
        Call un.CheckElevated
        ${If} $Elevated != 1
            ${GetParameters} $1
            Push "/ELEVATED $1 _?=$INSTDIR"
            Call un.ContinueElevated
            MessageBox MB_ICONEXCLAMATION "Tickbell 是为这台电脑的所有用户安装的，卸载需要管理员权限。" /SD IDOK
            SetErrorLevel ${DECLINED}
            Quit
        ${EndIf}
    ${Else}
        SetShellVarContext current
    ${EndIf}
FunctionEnd

Section "Uninstall"
    Call un.CloseRunning
    ClearErrors
    !include "${FILES}.uninstall"
    ; A file still there keeps the uninstaller and its entry, so that it can be run again.
    ${If} $EXEPATH != "$INSTDIR\uninstall.exe"
        Delete "$INSTDIR\uninstall.exe"
    ${EndIf}
    ${If} ${Errors}
        Call un.Incomplete
    ${EndIf}
    Delete "$SMPROGRAMS\Tickbell.lnk"
    DeleteRegValue SHCTX "${RUN_KEY}" "Tickbell"
    ; Only empty folders go: files the user put here stay.
    !include "${FILES}.folders"
    DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ; Run in place, as its entry runs it, it cannot delete itself: a copy of the helper outside
    ; the folder deletes it, and then the folder, as soon as it has ended.
    ${If} $EXEPATH == "$INSTDIR\uninstall.exe"
        GetTempFileName $0
        CopyFiles /SILENT "$PLUGINSDIR\setup-helper.exe" $0
        Exec '"$0" remove "$INSTDIR\uninstall.exe" "$INSTDIR"'
    ${Else}
        RMDir "$INSTDIR"
    ${EndIf}
SectionEnd

Function un.Incomplete
    MessageBox MB_ICONSTOP "有些文件无法删除，卸载没有完成。请关闭正在使用 $INSTDIR 中文件的程序，然后再次卸载 Tickbell。" /SD IDOK
    Abort "有些文件无法删除，卸载没有完成。"
FunctionEnd
