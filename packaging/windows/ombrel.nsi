; The Windows installer of Ombrel, made by scripts/windows/installer.sh with makensis:
;   makensis -DVERSION=2.0.0 -DSTAGE=<folder> -DOUTFILE=<setup.exe> ombrel.nsi
; STAGE holds the program's files, files.nsh and unfiles.nsh (their File and Delete lines) and
; ombrel.ico. "/S" installs silently into "Program Files\Ombrel" (or "/D=FOLDER", last).
; A 64-bit installer for a 64-bit program (and for Wine without its 32-bit part).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel admin

!include "MUI2.nsh"

!define KEY "Software\Dravik\Ombrel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Ombrel"

Name "Ombrel ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Ombrel"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Ombrel ${VERSION}"

!define MUI_ICON "${STAGE}/ombrel.ico"
!define MUI_UNICON "${STAGE}/ombrel.ico"
!define MUI_FINISHPAGE_RUN "$INSTDIR\ombrel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Ombrel"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "Ombrel"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "Dravik"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "Ombrel installer"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright 2026 Dravik"

Section "Ombrel"
  ; The program, its DLLs and plugins, ombrel.omf and the manual.
  !include "${STAGE}/files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The key's default value names the installation folder (the program only reads it).
  WriteRegStr HKCU "${KEY}" "" "$INSTDIR"

  ; Started from the Start menu, the program's folder is the current folder, where it looks
  ; for ombrel.omf first.
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  CreateDirectory "$SMPROGRAMS\Ombrel"
  CreateShortCut "$SMPROGRAMS\Ombrel\Ombrel.lnk" "$INSTDIR\ombrel.exe" "" "$INSTDIR\ombrel.exe" 0
  CreateShortCut "$SMPROGRAMS\Ombrel\Ombrel manual.lnk" "$INSTDIR\manual\index.html"
  CreateShortCut "$SMPROGRAMS\Ombrel\Uninstall Ombrel.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Ombrel"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Dravik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ombrel.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\Ombrel\Ombrel.lnk"
  Delete "$SMPROGRAMS\Ombrel\Ombrel manual.lnk"
  Delete "$SMPROGRAMS\Ombrel\Uninstall Ombrel.lnk"
  RMDir "$SMPROGRAMS\Ombrel"
  ; Only what was installed: a folder the user chose may hold other files.
  !include "${STAGE}/unfiles.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  ; The user's options stay; the folder they named is gone.
  DeleteRegValue HKCU "${KEY}" ""
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
