; The Windows setup program: installs Vantrel for the current user, without administrator
; rights, into %LOCALAPPDATA%\Programs\Vantrel, where the program folder stays writable and
; Vantrel.ini stays beside the program. Built by scripts/package-windows, which passes
;   VERSION     the program's version            STAGE      the program folder to install
;   OUTFILE     the setup program to write       FILE_LIST  the uninstaller's list of files
;   ICON        the program's icon
Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Vantrel"
!define PUBLISHER "Dorvane & Kestani"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define UNINSTALLER "Uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PUBLISHER}"

; Per user: no UAC prompt, the user's own Start menu, folders and registry. An update finds the
; folder of the installation it replaces through the uninstall entry.
!define MULTIUSER_EXECUTIONLEVEL Standard
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_MUI
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Vantrel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(StartVantrel)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The languages of Lang/; the pages take the system's, English when it is none of them.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Italian"
!insertmacro MUI_LANGUAGE "French"
!insertmacro MUI_LANGUAGE "PortugueseBR"
!insertmacro MUI_LANGUAGE "Turkish"
!include "Texts.nsh"  ; makensis reads it beside this file

Var InstanceMutex  ; the running copy's mutex, "Local\Vantrel-<user SID>" as the program names it

; A running Vantrel is asked to end through its end event, as Exit ends it: it saves its
; settings first. Made twice, for the setup and for the uninstaller.
!macro EndRunningVantrelFunction UN
Function ${UN}EndRunningVantrel
  ; The user's SID as text, from the process token (TOKEN_QUERY, TokenUser).
  StrCpy $7 ""
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r0'
  ${If} $0 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i 1, p 0, i 0, *i .r2)'
    System::Alloc $2
    Pop $3
    System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r3, i r2, *i .r2) i .r0'
    ${If} $0 <> 0
      System::Call '*$3(p .r4)'
      System::Call 'advapi32::ConvertSidToStringSidW(p r4, *p .r5) i .r0'
      ${If} $0 <> 0
        System::Call 'kernel32::lstrcpynW(w .r7, p r5, i ${NSIS_MAX_STRLEN})'
        System::Call 'kernel32::LocalFree(p r5)'
      ${EndIf}
    ${EndIf}
    System::Free $3
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  StrCpy $InstanceMutex "Local\${PRODUCT}"
  ${If} $7 != ""
    StrCpy $InstanceMutex "$InstanceMutex-$7"
  ${EndIf}

  Call ${UN}VantrelRuns
  Pop $0
  ${If} $0 == 0
    Return
  ${EndIf}
  DetailPrint "$(EndingVantrel)"
  retry:
  ; EVENT_MODIFY_STATE
  System::Call 'kernel32::OpenEventW(i 2, i 0, w "$InstanceMutex-end") p .r1'
  ${If} $1 P<> 0
    System::Call 'kernel32::SetEvent(p r1)'
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  ; Up to 30 s for the program to save and let its mutex go.
  StrCpy $2 0
  ${Do}
    Call ${UN}VantrelRuns
    Pop $0
    ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    Sleep 100
    IntOp $2 $2 + 1
  ${LoopUntil} $2 >= 300
  ${If} $0 <> 0
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(VantrelStillRuns)" /SD IDCANCEL IDRETRY retry
    Abort "$(VantrelStillRuns)"
  ${EndIf}
  ; The process may hold Vantrel.exe a moment longer than its mutex.
  StrCpy $2 0
  ${DoWhile} ${FileExists} "$INSTDIR\Vantrel.exe"
    ClearErrors
    FileOpen $1 "$INSTDIR\Vantrel.exe" a
    ${IfNot} ${Errors}
      FileClose $1
      ${ExitDo}
    ${EndIf}
    Sleep 100
    IntOp $2 $2 + 1
    ${IfThen} $2 >= 100 ${|} ${ExitDo} ${|}
  ${Loop}
FunctionEnd

; Pushes 1 while the mutex exists (SYNCHRONIZE), else 0.
Function ${UN}VantrelRuns
  System::Call 'kernel32::OpenMutexW(i 0x100000, i 0, w "$InstanceMutex") p .r1'
  ${If} $1 P<> 0
    System::Call 'kernel32::CloseHandle(p r1)'
    Push 1
  ${Else}
    Push 0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro EndRunningVantrelFunction ""
!insertmacro EndRunningVantrelFunction "un."

Function .onInit
  ; MultiUser sets the folder; a folder given with /D= comes first.
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "$(SectionProgram)"
  SectionIn RO
  Call EndRunningVantrel
  ; Vantrel.ini, language files the user added and the Run value are not the setup's: an
  ; update leaves them as they are.
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Vantrel.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Vantrel.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section /o "$(SectionDesktop)"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\Vantrel.exe"
SectionEnd

Section "Uninstall"
  Call un.EndRunningVantrel
  ; The start-at-logon value, when it starts this copy: a copy elsewhere keeps its own. Older
  ; copies wrote the path alone, newer ones add the logon argument.
  ReadRegStr $0 HKCU "${RUN_KEY}" "${PRODUCT}"
  ${If} $0 == '"$INSTDIR\Vantrel.exe" --at-logon'
  ${OrIf} $0 == '"$INSTDIR\Vantrel.exe"'
    DeleteRegValue HKCU "${RUN_KEY}" "${PRODUCT}"
  ${EndIf}
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; What the program writes itself: its manifest (read-only, hidden, system) and the
  ; temporary file of a save that was cut short.
  SetFileAttributes "$INSTDIR\Vantrel.exe.manifest" NORMAL
  Delete "$INSTDIR\Vantrel.exe.manifest"
  Delete "$INSTDIR\Vantrel.ini.tmp*"
  MessageBox MB_YESNO|MB_ICONQUESTION "$(KeepSettings)" /SD IDYES IDYES keep
  Delete "$INSTDIR\Vantrel.ini"
  Delete "$INSTDIR\Lang\*.lng"
  keep:
  !include "${FILE_LIST}"
  Delete "$INSTDIR\${UNINSTALLER}"
  ; Only an empty folder goes: kept settings keep it.
  RMDir "$INSTDIR"
SectionEnd
