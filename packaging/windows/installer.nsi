; The Orbitra Table installer: for the current user, no administrator rights.
;   makensis -DVERSION=1.0.0 -DSTAGE=<the zip's folder> -DICON=flask.ico
;            -DINSTALL_FILES=<install.nsh> -DUNINSTALL_FILES=<uninstall.nsh>
;            -DOUTFILE=setup.exe [-DUNCOMPRESSED]
; install.nsh and uninstall.nsh (written by tools/windows/pack.sh) list the
; files of the stage folder one by one, so the uninstaller removes exactly what
; was installed. A 64-bit installer for the 64-bit program.
Target amd64-unicode
!ifdef UNCOMPRESSED
    SetCompress off
!else
    SetCompressor /SOLID lzma
!endif
RequestExecutionLevel user

; MAJOR.MINOR.PATCH, as the program's own version resource has it.
!searchparse /noerrors "${VERSION}" "" VERSION_MAJOR "." VERSION_MINOR "." VERSION_PATCH
!ifndef VERSION_PATCH
    !error "VERSION ${VERSION}: three numbers are needed, MAJOR.MINOR.PATCH"
!endif
!searchparse /noerrors "${VERSION_PATCH}" "" VERSION_REST "." VERSION_FOURTH
!ifdef VERSION_FOURTH
    !error "VERSION ${VERSION}: three numbers are needed, MAJOR.MINOR.PATCH"
!endif

!define NAME "Orbitra Table"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrbitraTable"
; Where versions before the data moved beside the program kept it.
!define OLD_DATA "$APPDATA\${NAME}"
; The program holds this mutex while it runs (markRunning in the record layer).
!define RUNNING_MUTEX "Local\OrbitraTableRunning"
!define SYNCHRONIZE 0x00100000

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
VIProductVersion "${VERSION}.0"
VIFileVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${NAME}"
VIAddVersionKey /LANG=1033 "FileDescription" "${NAME} installer"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "Orbitra Table developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT licence"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Files in use cannot be replaced or removed, and a program that lost its DLLs
; midway would fail: while the program runs, the installer and the uninstaller
; ask for it to be closed, and when run silently (/S) change nothing and end
; with exit code 2.
!macro CLOSE_PROGRAM_FUNCTION un
    Function ${un}closeProgram
        Push $0
      check:
        System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p .r0'
        StrCmp $0 0 closed
        System::Call 'kernel32::CloseHandle(p r0)'
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${NAME} is running. Close it, then press Retry." /SD IDCANCEL IDRETRY check
        SetErrorLevel 2
        Quit
      closed:
        Pop $0
    FunctionEnd
!macroend
!insertmacro CLOSE_PROGRAM_FUNCTION ""
!insertmacro CLOSE_PROGRAM_FUNCTION "un."

Function .onInit
    Call closeProgram
FunctionEnd

Function un.onInit
    Call un.closeProgram
FunctionEnd

; Copies the file $0 of the old data folder into the program folder, unless the
; program folder has one of that name; $1 is 1 when it copied, 0 when not. A
; copy that fails stops setup before anything is installed, taking back a
; period.bio it copied just before, so the next run carries both over.
Function carryOver
    StrCpy $1 0
    IfFileExists "$INSTDIR\$0" done
    IfFileExists "${OLD_DATA}\$0" 0 done
    System::Call 'kernel32::CopyFileW(w "${OLD_DATA}\$0", w "$INSTDIR\$0", i 1) i .r1'
    StrCmp $1 0 failed
    StrCpy $1 1
    Goto done
  failed:
    StrCmp $0 "period.bak" 0 +2
        Delete "$INSTDIR\period.bio"
    MessageBox MB_OK|MB_ICONSTOP "Your data file $0 could not be copied from ${OLD_DATA} to $INSTDIR. Setup stopped; your data is still in ${OLD_DATA}." \
        /SD IDOK
    SetErrorLevel 3
    Quit
  done:
FunctionEnd

Section "Install"
    SetShellVarContext current
    ; The program may have been started while the directory page was open.
    Call closeProgram
    CreateDirectory "$INSTDIR"

    ; The data lives beside the program. A period.bio that an earlier version
    ; kept in the user's roaming data folder comes across, with its period.bak,
    ; when the program folder has none, so edits made there carry on; the old
    ; folder stays as it is.
    StrCpy $0 "period.bio"
    Call carryOver
    StrCmp $1 1 0 carried_over
    StrCpy $0 "period.bak"
    Call carryOver
  carried_over:

    !include "${INSTALL_FILES}"

    ; The shipped data file and its backup go in only where the folder has
    ; none, so edits survive reinstalling and upgrading.
    SetOutPath "$INSTDIR"
    SetOverwrite off
    File "${STAGE}/period.bio"
    File "${STAGE}/period.bak"
    SetOverwrite on

    ; The shortcut starts the program in its own folder (the current output
    ; path), where its data file is.
    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\orbitra-table.exe" "" \
        "$INSTDIR\orbitra-table.exe" 0 SW_SHOWNORMAL "" "A periodic table of the elements"

    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Orbitra Table developers"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\orbitra-table.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMajor" ${VERSION_MAJOR}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "VersionMinor" ${VERSION_MINOR}
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer put in the program folder, file by file, and the
; folders only when that leaves them empty: period.bio, period.bak, anything
; else the user keeps there, and so the folder holding them, stay.
Section "Uninstall"
    SetShellVarContext current
    Call un.closeProgram
    Delete "$SMPROGRAMS\${NAME}.lnk"
    !include "${UNINSTALL_FILES}"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
