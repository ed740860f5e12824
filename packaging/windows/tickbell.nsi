; SPDX-License-Identifier: GPL-3.0-or-later
; Tickbell's Windows installer, made by scripts/build-windows.sh with Debian's makensis:
;   makensis -INPUTCHARSET UTF8 -DVERSION=1.32.0 -DFILES=<files.nsh> -DICON=<tickbell.ico> \
;            -DOUTFILE=<setup.exe> tickbell.nsi
; FILES (written by the build script from the program folder the zip holds) installs each file,
; and FILES.uninstall removes exactly those again. Installs into Program
; Files for all users, with a Start-menu entry and, when chosen, a start at the user's log-on
; (the user's Run key). The user's settings in %APPDATA%\Tickbell are never touched.
; A 64-bit installer for a 64-bit program (it also runs under a Wine without 32-bit support).
Target amd64-unicode
!include MUI2.nsh

Name "Tickbell ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Tickbell"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tickbell"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tickbell.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Tickbell" SecProgram
    SectionIn RO
    SetShellVarContext all
    !include "${FILES}"
    WriteUninstaller "$INSTDIR\uninstall.exe"
    CreateShortcut "$SMPROGRAMS\Tickbell.lnk" "$INSTDIR\Tickbell.exe" "" "$INSTDIR\Tickbell.exe" 0
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tickbell"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Tickbell.exe"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Off unless chosen: starting at log-on is the user's decision.
Section /o "登录 Windows 时启动 Tickbell" SecLogOn
    WriteRegStr HKCU "${RUN_KEY}" "Tickbell" '"$INSTDIR\Tickbell.exe"'
SectionEnd

Section "Uninstall"
    SetShellVarContext all
    DeleteRegValue HKCU "${RUN_KEY}" "Tickbell"
    Delete "$SMPROGRAMS\Tickbell.lnk"
    !include "${FILES}.uninstall"
    Delete "$INSTDIR\uninstall.exe"
    ; Only empty folders go: a config.txt or tools the user put here stay.
    RMDir "$INSTDIR"
    DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
