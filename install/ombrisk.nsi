; The Windows installer of Ombrisk, built by the CMake target `installer` (makensis) from the
; stage of the install folder. makensis gets: VERSION (1.0.0), STAGE (the stage folder),
; LISTS (the folder of install_files.nsh and uninstall_files.nsh), ICON and OUTFILE.
;
; Silent use:  Ombrisk-x.y.z-setup.exe /S [/NOSTARTATSIGNIN] [/D=C:\Folder]   (/D last)
;              uninstall.exe /S [/REMOVESETTINGS]
; Exit code 0 on success, 2 when aborted, 3 when installed but the sign-in task could not be
; registered.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true
RequestExecutionLevel admin

!define PRODUCT "Ombrisk"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SETTINGS_KEY "Software\${PRODUCT}"
!define TASK_NAME "${PRODUCT}"
; The task as registered, kept beside the program: Wine's scheduler (and a curious user) can
; read it there, and `schtasks /Create /TN Ombrisk /XML StartAtSignIn.xml /F` registers it again.
!define TASK_FILE "StartAtSignIn.xml"
; The program's main window and its tray menu's Exit command (app/window_messages.h).
!define MAIN_WINDOW_CLASS "TarvokQ77GMClass"
!define COMMAND_EXIT 1028

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${SETTINGS_KEY}" "InstallDir"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}.0"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=1033 "CompanyName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${PRODUCT}"

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include WinMessages.nsh
!include Sections.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\Ombrisk.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now (its icon appears in the notification area)"

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!define MUI_COMPONENTSPAGE_TEXT_TOP "Your settings, button labels and macros stay unless you tick them."
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var TaskUser

; --- Shared by installer and uninstaller -----------------------------------------------------

; Ends a running Ombrisk as its tray menu's Exit does, so that its files can be replaced or
; removed; waits up to ten seconds for its window to go.
!macro CloseRunningProgram un
Function ${un}CloseRunningProgram
  Push $0
  Push $1
  FindWindow $0 "${MAIN_WINDOW_CLASS}"
  ${If} $0 <> 0
    DetailPrint "Closing the running ${PRODUCT}"
    SendMessage $0 ${WM_COMMAND} ${COMMAND_EXIT} 0 /TIMEOUT=5000
    StrCpy $1 0
    ${Do}
      FindWindow $0 "${MAIN_WINDOW_CLASS}"
      ${If} $0 = 0
      ${OrIf} $1 >= 50
        ${ExitDo}
      ${EndIf}
      Sleep 200
      IntOp $1 $1 + 1
    ${Loop}
    Sleep 500 ; the process lets go of its executable a moment after its window
  ${EndIf}
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro CloseRunningProgram ""
!insertmacro CloseRunningProgram "un."

!macro RemoveLogonTask un
Function ${un}RemoveLogonTask
  nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /Delete /TN "${TASK_NAME}" /F'
  Pop $0 ; fails harmlessly when there is no task
  Delete "$INSTDIR\${TASK_FILE}"
FunctionEnd
!macroend
!insertmacro RemoveLogonTask ""
!insertmacro RemoveLogonTask "un."

; --- Installer ---------------------------------------------------------------------------------

; $0 with &, < and > written as XML entities.
Function XmlEscape
  Exch $0
  Push $1
  Push $2
  Push $3
  StrCpy $1 ""
  StrCpy $2 0
  ${Do}
    StrCpy $3 $0 1 $2
    ${If} $3 == ""
      ${ExitDo}
    ${ElseIf} $3 == "&"
      StrCpy $3 "&amp;"
    ${ElseIf} $3 == "<"
      StrCpy $3 "&lt;"
    ${ElseIf} $3 == ">"
      StrCpy $3 "&gt;"
    ${EndIf}
    StrCpy $1 "$1$3"
    IntOp $2 $2 + 1
  ${Loop}
  StrCpy $0 $1
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd

!macro TaskLine text
  FileWriteUTF16LE $9 `${text}$\r$\n`
!macroend

; Registers the sign-in task: at the installing user's sign-in, Ombrisk.exe with the user's
; highest rights (no consent prompt, which a Run-key entry of an elevated program would need),
; never stopped by a time limit or on battery power, one instance only.
Function RegisterLogonTask
  Push "$INSTDIR\Ombrisk.exe"
  Call XmlEscape
  Pop $5
  Push "$INSTDIR"
  Call XmlEscape
  Pop $6
  Push $TaskUser
  Call XmlEscape
  Pop $7
  FileOpen $9 "$INSTDIR\${TASK_FILE}" w
  FileWriteUTF16LE /BOM $9 ""
  !insertmacro TaskLine '<?xml version="1.0" encoding="UTF-16"?>'
  !insertmacro TaskLine '<Task version="1.2" xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task">'
  !insertmacro TaskLine '  <RegistrationInfo>'
  !insertmacro TaskLine '    <Description>Starts ${PRODUCT} in the notification area at sign-in.</Description>'
  !insertmacro TaskLine '  </RegistrationInfo>'
  !insertmacro TaskLine '  <Triggers>'
  !insertmacro TaskLine '    <LogonTrigger>'
  !insertmacro TaskLine '      <Enabled>true</Enabled>'
  !insertmacro TaskLine '      <UserId>$7</UserId>'
  !insertmacro TaskLine '    </LogonTrigger>'
  !insertmacro TaskLine '  </Triggers>'
  !insertmacro TaskLine '  <Principals>'
  !insertmacro TaskLine '    <Principal id="Author">'
  !insertmacro TaskLine '      <UserId>$7</UserId>'
  !insertmacro TaskLine '      <LogonType>InteractiveToken</LogonType>'
  !insertmacro TaskLine '      <RunLevel>HighestAvailable</RunLevel>'
  !insertmacro TaskLine '    </Principal>'
  !insertmacro TaskLine '  </Principals>'
  !insertmacro TaskLine '  <Settings>'
  !insertmacro TaskLine '    <MultipleInstancesPolicy>IgnoreNew</MultipleInstancesPolicy>'
  !insertmacro TaskLine '    <DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>'
  !insertmacro TaskLine '    <StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>'
  !insertmacro TaskLine '    <AllowHardTerminate>true</AllowHardTerminate>'
  !insertmacro TaskLine '    <StartWhenAvailable>false</StartWhenAvailable>'
  !insertmacro TaskLine '    <IdleSettings>'
  !insertmacro TaskLine '      <StopOnIdleEnd>false</StopOnIdleEnd>'
  !insertmacro TaskLine '      <RestartOnIdle>false</RestartOnIdle>'
  !insertmacro TaskLine '    </IdleSettings>'
  !insertmacro TaskLine '    <AllowStartOnDemand>true</AllowStartOnDemand>'
  !insertmacro TaskLine '    <Enabled>true</Enabled>'
  !insertmacro TaskLine '    <ExecutionTimeLimit>PT0S</ExecutionTimeLimit>'
  !insertmacro TaskLine '    <Priority>5</Priority>'
  !insertmacro TaskLine '  </Settings>'
  !insertmacro TaskLine '  <Actions Context="Author">'
  !insertmacro TaskLine '    <Exec>'
  !insertmacro TaskLine '      <Command>"$5"</Command>'
  !insertmacro TaskLine '      <WorkingDirectory>$6</WorkingDirectory>'
  !insertmacro TaskLine '    </Exec>'
  !insertmacro TaskLine '  </Actions>'
  !insertmacro TaskLine '</Task>'
  FileClose $9
  nsExec::ExecToLog '"$SYSDIR\schtasks.exe" /Create /TN "${TASK_NAME}" /XML "$INSTDIR\${TASK_FILE}" /F'
  Pop $0
  ${If} $0 != 0
    DetailPrint "The sign-in task could not be registered (schtasks: $0)"
    MessageBox MB_OK|MB_ICONEXCLAMATION "${PRODUCT} is installed, but it could not be set to start at sign-in (schtasks: $0)." /SD IDOK
    Delete "$INSTDIR\${TASK_FILE}"
    SetErrorLevel 3
  ${EndIf}
FunctionEnd

Section "${PRODUCT} (program, skins and ombriskctl)" SectionProgram
  SectionIn RO
  Call CloseRunningProgram
  SetOutPath "$INSTDIR"
  !include "${LISTS}/install_files.nsh"
  ; The user's files: a fresh set where there is none, never replaced on an upgrade.
  SetOverwrite off
  File "${STAGE}/config.bin"
  File "${STAGE}/str.ini"
  File "${STAGE}/record.ini"
  SetOverwrite on

  WriteUninstaller "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Ombrisk.exe" "" "$INSTDIR\Ombrisk.exe" 0

  WriteRegStr HKLM "${SETTINGS_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr HKLM "${SETTINGS_KEY}" "Version" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Ombrisk.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Start ${PRODUCT} at sign-in" SectionStartAtSignIn
  Call RegisterLogonTask
SectionEnd

; An upgrade that leaves the sign-in task out removes the one an earlier install registered.
Section "-Remember the sign-in choice"
  ${If} ${SectionIsSelected} ${SectionStartAtSignIn}
    WriteRegDWORD HKLM "${SETTINGS_KEY}" "StartAtSignIn" 1
  ${Else}
    Call RemoveLogonTask
    WriteRegDWORD HKLM "${SETTINGS_KEY}" "StartAtSignIn" 0
  ${EndIf}
SectionEnd

Function .onInit
  ; The task runs for the user who installs (the elevated installer keeps the user's name).
  ReadEnvStr $0 USERDOMAIN
  ReadEnvStr $1 USERNAME
  ${If} $0 == ""
    StrCpy $TaskUser $1
  ${Else}
    StrCpy $TaskUser "$0\$1"
  ${EndIf}
  ; An upgrade keeps the earlier choice about starting at sign-in; /NOSTARTATSIGNIN leaves it out.
  ClearErrors
  ReadRegDWORD $0 HKLM "${SETTINGS_KEY}" "StartAtSignIn"
  ${IfNot} ${Errors}
  ${AndIf} $0 = 0
    !insertmacro UnselectSection ${SectionStartAtSignIn}
  ${EndIf}
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/NOSTARTATSIGNIN" $2
  ${IfNot} ${Errors}
    !insertmacro UnselectSection ${SectionStartAtSignIn}
  ${EndIf}
FunctionEnd

; --- Uninstaller -------------------------------------------------------------------------------

Section "un.${PRODUCT}" SectionUninstallProgram
  SectionIn RO
  Call un.CloseRunningProgram
  Call un.RemoveLogonTask
  !include "${LISTS}/uninstall_files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  RMDir "$INSTDIR" ; stays while the user's files are in it
SectionEnd

Section /o "un.Your settings, button labels and macros (config.bin, str.ini, record.ini)" SectionRemoveSettings
  Delete "$INSTDIR\config.bin"
  Delete "$INSTDIR\str.ini"
  Delete "$INSTDIR\record.ini"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ${GetParameters} $1
  ClearErrors
  ${GetOptions} $1 "/REMOVESETTINGS" $2
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SectionRemoveSettings}
  ${EndIf}
FunctionEnd
