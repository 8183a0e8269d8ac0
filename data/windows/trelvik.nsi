; SPDX-License-Identifier: MIT
; The Windows installer (makensis, from scripts/package-windows.sh): the full tool and the
; settings tool in their run folders under Program Files, trelvik-cli.exe beside the full tool
; (it reads the same mass_cmd.ini), Start-menu shortcuts and an uninstaller listed under Apps.
; Defines: VERSION, STAGE (the folder laid out as the install folder), OUTFILE.
Unicode true
; A 64-bit installer: it writes the 64-bit Program Files and registry, and runs on Wine's wine64.
Target amd64-unicode
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Trelvik"

Name "Trelvik ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Trelvik"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
; The camera is reached with SCSI pass-through requests, which Windows grants administrators
; only; installing under Program Files needs the same rights.
RequestExecutionLevel admin

!define MUI_WELCOMEPAGE_TEXT "This installs Trelvik ${VERSION}: the trail camera tool, the camera settings tool and the command-line tool trelvik-cli.$\r$\n$\r$\nTrelvik needs administrator rights to reach the camera: Windows lets only administrators send the camera its commands. The Start-menu shortcuts ask for those rights when they start the tools; start trelvik-cli from a command prompt opened as administrator."
!define MUI_FINISHPAGE_TEXT "Trelvik is installed. Start it from the Start menu (Trelvik, or Trelvik Camera Settings) and allow it administrator rights when Windows asks."
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Windows keeps a running program's file open: replacing or removing it would fail half way.
; A program file that cannot be opened for writing is in use; the user is asked to close it
; (a silent run gives up at once, with exit code 2, having changed nothing).
!macro TOOLS_CLOSED un
Function ${un}toolsClosed
  ${Do}
    StrCpy $1 ""
    ${ForEach} $2 0 2 + 1
      ${If} $2 == 0
        StrCpy $3 "$INSTDIR\full\trelvik.exe"
      ${ElseIf} $2 == 1
        StrCpy $3 "$INSTDIR\settings\trelvik.exe"
      ${Else}
        StrCpy $3 "$INSTDIR\full\trelvik-cli.exe"
      ${EndIf}
      ${If} ${FileExists} $3
        ClearErrors
        FileOpen $0 $3 a
        ${If} ${Errors}
          StrCpy $1 $3
        ${Else}
          FileClose $0
        ${EndIf}
      ${EndIf}
    ${Next}
    ${If} $1 == ""
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Trelvik is running ($1).$\r$\nClose it, then choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
    retry:
  ${Loop}
FunctionEnd
!macroend
!insertmacro TOOLS_CLOSED ""
!insertmacro TOOLS_CLOSED "un."

; Sets the "run as administrator" flag of a shortcut (bit 0x2000 of the link flags at byte 0x14).
!macro RUN_AS_ADMIN link
  FileOpen $0 "${link}" a
  FileSeek $0 0x15 SET
  FileReadByte $0 $1
  IntOp $1 $1 | 0x20
  FileSeek $0 0x15 SET
  FileWriteByte $0 $1
  FileClose $0
!macroend

Function .onInit
  SetShellVarContext all
  Call toolsClosed
FunctionEnd

Section "Trelvik"
  SetOutPath "$INSTDIR\full"
  File "${STAGE}\full\trelvik.exe"
  File "${STAGE}\full\mass_cmd.ini"
  File "${STAGE}\full\trelvik-cli.exe"
  SetOutPath "$INSTDIR\settings"
  File "${STAGE}\settings\trelvik.exe"
  File "${STAGE}\settings\Camera_Setting.ini"
  File "${STAGE}\settings\Camera_Setting_UNICODE_msg.ini"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\Trelvik"
  ; Each tool starts in its own folder, where its command file is.
  SetOutPath "$INSTDIR\full"
  CreateShortcut "$SMPROGRAMS\Trelvik\Trelvik.lnk" "$INSTDIR\full\trelvik.exe" "" "" 0 SW_SHOWNORMAL "" "Configure a USB trail camera"
  !insertmacro RUN_AS_ADMIN "$SMPROGRAMS\Trelvik\Trelvik.lnk"
  SetOutPath "$INSTDIR\settings"
  CreateShortcut "$SMPROGRAMS\Trelvik\Trelvik Camera Settings.lnk" "$INSTDIR\settings\trelvik.exe" "" "" 0 SW_SHOWNORMAL "" "Set the date, time and settings of a USB trail camera"
  !insertmacro RUN_AS_ADMIN "$SMPROGRAMS\Trelvik\Trelvik Camera Settings.lnk"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Trelvik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Trelvik"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\full\trelvik.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Function un.onInit
  SetShellVarContext all
  Call un.toolsClosed
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\Trelvik\Trelvik.lnk"
  Delete "$SMPROGRAMS\Trelvik\Trelvik Camera Settings.lnk"
  RMDir "$SMPROGRAMS\Trelvik"
  Delete "$INSTDIR\full\trelvik.exe"
  Delete "$INSTDIR\full\mass_cmd.ini"
  Delete "$INSTDIR\full\trelvik-cli.exe"
  Delete "$INSTDIR\settings\trelvik.exe"
  Delete "$INSTDIR\settings\Camera_Setting.ini"
  Delete "$INSTDIR\settings\Camera_Setting_UNICODE_msg.ini"
  Delete "$INSTDIR\uninstall.exe"
  ; Only the folders: whatever the user saved in them (exported settings) stays, and so do they.
  RMDir "$INSTDIR\full"
  RMDir "$INSTDIR\settings"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
