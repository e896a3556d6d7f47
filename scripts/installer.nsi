; Morrowby setup: a per-user installation that needs no administrator rights.
;
; Built by scripts/package.sh, which passes:
;   VERSION     1.2.3.4 (from res/version.h)
;   MAKER       the maker's name, the first part of the registry keys (from res/version.h)
;   PRODUCT     the product's name (from res/version.h)
;   X64_EXE     the 64-bit morrowby.exe
;   X86_EXE     the 32-bit morrowby.exe
;   OUTFILE     where to write the setup program
;   COPYRIGHT   the copyright line of the version record (optional)
;   TARGET      amd64-unicode to build a 64-bit setup program (optional; the
;               default 32-bit one runs on every Windows and is what we ship)
;
; Command line of the setup program, besides NSIS's own /S and /D=dir:
;   /STARTUP         also start Morrowby when the user signs in
; and of the uninstaller:
;   /REMOVESETTINGS  also remove Morrowby's settings without asking

Unicode true
!ifdef TARGET
Target ${TARGET}
!endif

!ifndef VERSION
!error "VERSION is not defined (build with scripts/package.sh)"
!endif
!ifndef MAKER
!error "MAKER is not defined (build with scripts/package.sh)"
!endif
!ifndef PRODUCT
!error "PRODUCT is not defined (build with scripts/package.sh)"
!endif
!ifndef COPYRIGHT
!define COPYRIGHT "Copyright (C) ${MAKER}"
!endif

!define PROGRAM "morrowby.exe"
!define UNINSTALLER "uninstall.exe"
; Morrowby's hidden main window; present exactly while the program runs.
!define MAIN_WINDOW_CLASS "MORROWBY"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define MAKER_KEY "Software\${MAKER}"
!define SETTINGS_KEY "${MAKER_KEY}\${PRODUCT}"
!define SHORTCUT_NAME "${PRODUCT}.lnk"
; Exit code of a silent run that stopped because Morrowby is running.
!define EXIT_PROGRAM_RUNNING 2

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include Sections.nsh
!include x64.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\${PRODUCT}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestSupportedOS all
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "CompanyName" "${MAKER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} Setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${COPYRIGHT}"

!define MUI_ICON "${__FILEDIR__}\..\res\art\morrowby.ico"
!define MUI_UNICON "${__FILEDIR__}\..\res\art\morrowby.ico"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\${PROGRAM}"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunText)"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!include "${__FILEDIR__}\installer-languages.nsh"

; Morrowby may be locked with an unlock word, so it is never killed: the user
; exits it from its tray menu. Interactive runs may retry; a cancel, and every
; silent run, end the setup (or uninstaller) with EXIT_PROGRAM_RUNNING.
!macro DefineRunningCheck prefix
Function ${prefix}EnsureMorrowbyNotRunning
retry:
    FindWindow $0 "${MAIN_WINDOW_CLASS}"
    StrCmp $0 0 done
    ; The tray menu opens on a click or a tap of the icon.
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(RunningText)" /SD IDCANCEL IDRETRY retry
    SetErrorLevel ${EXIT_PROGRAM_RUNNING}
    Quit
done:
FunctionEnd
!macroend
!insertmacro DefineRunningCheck ""
!insertmacro DefineRunningCheck "un."

Section "${PRODUCT}" SecProgram
    SectionIn RO
    ; The program may have been started since the setup did.
    Call EnsureMorrowbyNotRunning
    SetOutPath "$INSTDIR"
!if ${NSIS_PTR_SIZE} > 4
    File "/oname=${PROGRAM}" "${X64_EXE}"
!else
    ${If} ${RunningX64}
        File "/oname=${PROGRAM}" "${X64_EXE}"
    ${Else}
        File "/oname=${PROGRAM}" "${X86_EXE}"
    ${EndIf}
!endif
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "$SMPROGRAMS\${SHORTCUT_NAME}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" "$0"
SectionEnd

Section /o "$(StartupSectionName)" SecStartup
    CreateShortcut "$SMSTARTUP\${SHORTCUT_NAME}" "$INSTDIR\${PROGRAM}" "" "$INSTDIR\${PROGRAM}" 0
SectionEnd

; Unchecking the option on a reinstall turns start at sign-in off again.
Section "-StartupOff"
    ${IfNot} ${SectionIsSelected} ${SecStartup}
        Delete "$SMSTARTUP\${SHORTCUT_NAME}"
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "$(ProgramSectionText)"
    !insertmacro MUI_DESCRIPTION_TEXT ${SecStartup} "$(StartupSectionText)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function .onInit
    SetShellVarContext current
    Call EnsureMorrowbyNotRunning
    ; Keep what an earlier installation chose, and let /STARTUP choose it.
    ${If} ${FileExists} "$SMSTARTUP\${SHORTCUT_NAME}"
        !insertmacro SelectSection ${SecStartup}
    ${EndIf}
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/STARTUP" $R1
    ${IfNot} ${Errors}
        !insertmacro SelectSection ${SecStartup}
    ${EndIf}
FunctionEnd

Function un.onInit
    SetShellVarContext current
    Call un.EnsureMorrowbyNotRunning
FunctionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${SHORTCUT_NAME}"
    Delete "$SMSTARTUP\${SHORTCUT_NAME}"
    Delete "$INSTDIR\${PROGRAM}"
    ; A folder that is some process's current directory cannot be removed.
    SetOutPath "$TEMP"
    ; This is a copy of the uninstaller run from the temp folder; the
    ; uninstall.exe that started it may still be exiting, and so keep the file
    ; or the folder busy for a moment. Only our own files are deleted: the
    ; folder goes only if nothing else is left in it.
    StrCpy $1 0
remove_folder:
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    ${If} ${FileExists} "$INSTDIR\*.*"
    ${AndIf} $1 < 50
        IntOp $1 $1 + 1
        Sleep 100
        Goto remove_folder
    ${EndIf}

    ; The settings hold the unlock word, so they stay unless the user says otherwise.
    ${GetParameters} $R0
    ClearErrors
    ${GetOptions} $R0 "/REMOVESETTINGS" $R1
    IfErrors 0 remove_settings
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "$(RemoveSettingsText)" \
        /SD IDNO IDYES remove_settings
    Goto settings_done
remove_settings:
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "${MAKER_KEY}"
settings_done:
    ; Last, so that an interrupted uninstall can still be started again.
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
