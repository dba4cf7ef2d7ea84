; The Windows installer: a per-user install that needs no administrator, into
; %LOCALAPPDATA%\Programs\Tessaly by default (a folder the user can write, so the files beside the
; program keep working). installer/make_dist.py runs makensis with these defines:
;   VERSION     the product's version (from VERSION)
;   OUTFILE     the installer to write
;   FILES_NSH   an include that installs every file of the binary folder
;   REMOVE_NSH  an include that deletes those same files again
;   ICON        the program's icon
;   X64         set for the 64-bit tree
; Command line: /S silent, /D=folder (last, unquoted) the folder, /AUTOSTART=1 or 0 the
; "Start with Windows" choice in silent mode (left as it is when not given).

Unicode true
!ifdef X64
Target amd64-unicode
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!define PRODUCT "Tessaly Screen Capture"
!define PUBLISHER "Tessaly developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tessaly"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The autostart value the program itself reads and writes.
!define RUN_VALUE "Varnicklet"
!define FRAME_CLASS "TessalyFrame"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tessaly"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION_NUMBERS}"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "FileDescription" "${PRODUCT} setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 the Tessaly developers"
VIAddVersionKey "CompanyName" "${PUBLISHER}"

!include MUI2.nsh
!include nsDialogs.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
Page custom AutostartPage AutostartPageLeave
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tessaly.exe"
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var Autostart          ; "1", "0", or "" for "leave it as it is"
Var AutostartCheckbox

; Ends every running copy the way logging off does: it is told the session ends, so it writes its
; settings and history as it would at exit, and then it is ended. Closing it through its frame
; would ask the user for confirmation, which a silent run cannot answer.
!macro CloseRunningCopies un
Function ${un}CloseRunningCopies
  Push $0
  Push $1
  Push $2
  Push $3
  StrCpy $3 0
  ${Do}
    FindWindow $0 "${FRAME_CLASS}"
    ${If} $0 = 0
    ${OrIf} $3 >= 8
      ${Break}
    ${EndIf}
    DetailPrint "Closing the running Tessaly"
    SendMessage $0 ${WM_QUERYENDSESSION} 0 0 $1 /TIMEOUT=5000
    SendMessage $0 ${WM_ENDSESSION} 1 0 $1 /TIMEOUT=5000
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    System::Call "kernel32::OpenProcess(i 0x00100001, i 0, i r1) p .r2"
    ${If} $2 P<> 0
      System::Call "kernel32::TerminateProcess(p r2, i 0)"
      System::Call "kernel32::WaitForSingleObject(p r2, i 5000)"
      System::Call "kernel32::CloseHandle(p r2)"
    ${EndIf}
    IntOp $3 $3 + 1
  ${Loop}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CloseRunningCopies ""
!insertmacro CloseRunningCopies "un."

Function .onInit
  StrCpy $Autostart ""
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/AUTOSTART=" $1
  ${IfNot} ${Errors}
    StrCpy $Autostart $1
  ${EndIf}
FunctionEnd

Function AutostartPage
  !insertmacro MUI_HEADER_TEXT "Start with Windows" "Choose whether Tessaly starts when you sign in."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Tessaly waits in the notification area for the capture key. It can start by itself each time you sign in to Windows."
  Pop $0
  ${NSD_CreateCheckbox} 0 34u 100% 12u "&Start Tessaly with Windows"
  Pop $AutostartCheckbox
  ; Offered as it is now: an existing choice is kept unless the user changes it.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ReadRegStr $1 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${If} $0 != ""
  ${OrIf} $1 != ""
  ${OrIf} $Autostart == "1"
    ${NSD_Check} $AutostartCheckbox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function AutostartPageLeave
  ${NSD_GetState} $AutostartCheckbox $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $Autostart "1"
  ${Else}
    StrCpy $Autostart "0"
  ${EndIf}
FunctionEnd

Section "Tessaly" SecProgram
  SectionIn RO
  Call CloseRunningCopies
  SetOutPath "$INSTDIR"
  !include "${FILES_NSH}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"

  SetShellVarContext current
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tessaly.exe" "" "$INSTDIR\Tessaly.exe" 0

  ; The program starts from the quoted path: a folder with spaces must not split the command.
  ${If} $Autostart == "1"
    WriteRegStr HKCU "${RUN_KEY}" "${RUN_VALUE}" '"$INSTDIR\Tessaly.exe"'
  ${ElseIf} $Autostart == "0"
    DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" '"$INSTDIR\Tessaly.exe",0'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  IntFmt $0 "0x%08X" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes the autostart value under the root on the stack when it starts this copy, quoted or not
; (the program itself writes it too); another copy's value is not ours to remove.
Function un.RemoveAutostartOfThisCopy
  Exch $0
  Push $1
  ${If} $0 == HKLM
    ReadRegStr $1 HKLM "${RUN_KEY}" "${RUN_VALUE}"
  ${Else}
    ReadRegStr $1 HKCU "${RUN_KEY}" "${RUN_VALUE}"
  ${EndIf}
  ${If} $1 == '"$INSTDIR\Tessaly.exe"'
  ${OrIf} $1 == "$INSTDIR\Tessaly.exe"
    ${If} $0 == HKLM
      DeleteRegValue HKLM "${RUN_KEY}" "${RUN_VALUE}"
    ${Else}
      DeleteRegValue HKCU "${RUN_KEY}" "${RUN_VALUE}"
    ${EndIf}
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd

Section "Uninstall"
  Call un.CloseRunningCopies
  !include "${REMOVE_NSH}"
  Delete "$INSTDIR\Uninstall.exe"

  SetShellVarContext current
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Push HKCU
  Call un.RemoveAutostartOfThisCopy
  Push HKLM
  Call un.RemoveAutostartOfThisCopy
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; Settings and history are the user's: asked for, and kept when nobody can answer.
  MessageBox MB_YESNO|MB_ICONQUESTION "Also delete your Tessaly settings and capture history?$\r$\n(Your captured pictures are kept.)" /SD IDNO IDNO keep_settings
    Delete "$INSTDIR\configure.dat"
    Delete "$INSTDIR\save.dat"
    Delete "$INSTDIR\annotate.dat"
    Delete "$INSTDIR\capture-options.dat"
    Delete "$APPDATA\Tessaly\configure.dat"
    Delete "$APPDATA\Tessaly\save.dat"
    Delete "$APPDATA\Tessaly\annotate.dat"
    Delete "$APPDATA\Tessaly\capture-options.dat"
    RMDir "$APPDATA\Tessaly"
  keep_settings:
  ; Captures saved into the program's folder keep it alive; an empty folder goes.
  RMDir "$INSTDIR"
SectionEnd
