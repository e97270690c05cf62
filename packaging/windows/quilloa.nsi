; The Windows installer, built by make-installer.sh: makensis -DVERSION=<x.y> -DSTAGE=<folder>
; -DOUTFILE=<setup.exe>. The program goes to Program Files, which a user cannot write, so the
; program keeps its data in %LOCALAPPDATA%\Quilloa; the uninstaller leaves that folder alone.
; A 64-bit installer for a 64-bit program (and Wine without its 32-bit half runs it).
Target amd64-unicode
!include "MUI2.nsh"

Name "Quilloa"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Quilloa"
InstallDirRegKey HKLM "Software\Quilloa" "InstallDir"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Quilloa"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "Quilloa"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  ; Beside the program it also tells the program that this folder is an installation.
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\Quilloa"
  CreateShortcut "$SMPROGRAMS\Quilloa\Quilloa 处方.lnk" "$INSTDIR\quilloa.exe"
  CreateShortcut "$SMPROGRAMS\Quilloa\卸载 Quilloa.lnk" "$INSTDIR\uninstall.exe"
  CreateShortcut "$DESKTOP\Quilloa 处方.lnk" "$INSTDIR\quilloa.exe"
  WriteRegStr HKLM "Software\Quilloa" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Quilloa 处方"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Quilloa"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Only what the installer put there goes: the prescriptions in %LOCALAPPDATA%\Quilloa (or a
; --data folder) stay.
Section "Uninstall"
  SetShellVarContext all
  Delete "$DESKTOP\Quilloa 处方.lnk"
  RMDir /r "$SMPROGRAMS\Quilloa"
  !include "uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "Software\Quilloa"
SectionEnd
