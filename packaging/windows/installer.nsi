; The Orbitra Table installer: for the current user, no administrator rights.
;   makensis -DVERSION=1.0.0 -DSTAGE=<the zip's folder> -DICON=flask.ico
;            -DINSTALL_FILES=<install.nsh> -DUNINSTALL_FILES=<uninstall.nsh>
;            -DUNINSTALLER=<uninstall.exe> -DOUTFILE=setup.exe [-DUNCOMPRESSED]
; install.nsh and uninstall.nsh (written by tools/windows/pack.sh) list the
; files of the stage folder one by one, so the uninstaller removes exactly what
; was installed. A 64-bit installer for the 64-bit program.
;
; With -DMAKE_UNINSTALLER=<Un.exe> instead of -DUNINSTALLER (and OUTFILE a
; file to throw away), the script writes the NSIS uninstaller as Un.exe, which
; uninstall.exe (uninstall.c) carries and runs; see there why.
Target amd64-unicode
!ifdef UNCOMPRESSED
    SetCompress off
!else
    SetCompressor /SOLID lzma
!endif
RequestExecutionLevel user
; Sharp at every display scale; made for Windows 10 and 11, as Qt 6 is.
ManifestDPIAware true
ManifestSupportedOS Win10

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
!define ERROR_FILE_NOT_FOUND 2
; Bytes in one record of the data file.
!define RECORD_SIZE 177

!include LogicLib.nsh
!include WinVer.nsh

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
!ifdef MAKE_UNINSTALLER
    VIAddVersionKey /LANG=1033 "FileDescription" "${NAME} uninstaller"
!else
    VIAddVersionKey /LANG=1033 "FileDescription" "${NAME} installer"
!endif
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "Orbitra Table developers"
VIAddVersionKey /LANG=1033 "LegalCopyright" "MIT licence"

; Files in use cannot be replaced or removed, and a program that lost its DLLs
; midway would fail: while the program runs, the installer and the uninstaller
; ask for it to be closed, and when run silently (/S) change nothing and end
; with exit code 2. Only a mutex that does not exist means that no copy runs: a
; copy started as administrator holds one that the user may not open.
!macro CLOSE_PROGRAM_FUNCTION un
    Function ${un}closeProgram
        Push $0
        Push $1
      check:
        System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${RUNNING_MUTEX}") p .r0 ?e'
        Pop $1
        StrCmp $0 0 0 running
        IntCmp $1 ${ERROR_FILE_NOT_FOUND} closed ask ask
      running:
        System::Call 'kernel32::CloseHandle(p r0)'
      ask:
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${NAME} is running. Close it, then press Retry." /SD IDCANCEL IDRETRY check
        SetErrorLevel 2
        Quit
      closed:
        Pop $1
        Pop $0
    FunctionEnd
!macroend

!ifdef MAKE_UNINSTALLER

UninstPage uninstConfirm
UninstPage instfiles
!insertmacro CLOSE_PROGRAM_FUNCTION "un."
!uninstfinalize 'cp "%1" "${MAKE_UNINSTALLER}"'

Section
    WriteUninstaller "$TEMP\Un.exe"
SectionEnd

Function un.onInit
    Call un.closeProgram
FunctionEnd

; Removes what the installer put in the program folder, file by file, and the
; folders only when that leaves them empty: period.bio, period.bak, anything
; else the user keeps there, and so the folder holding them, stay.
Section "Uninstall"
    SetShellVarContext current
    Call un.closeProgram
    Delete "$SMPROGRAMS\${NAME}.lnk"
    !include "${UNINSTALL_FILES}"
    ; uninstall.exe waits for this uninstaller to end, and Windows deletes no
    ; program while it runs; it may be moved, though: into this uninstaller's
    ; temporary folder. (Where that lies on another volume, it is deleted if it
    ; can be.)
    Rename "$INSTDIR\uninstall.exe" "$EXEDIR\uninstall.exe"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

!else

Page directory
Page instfiles
!insertmacro CLOSE_PROGRAM_FUNCTION ""

; Qt 6 runs on Windows 10 and later: on an earlier system the program would
; not start. The installer refuses there, changing nothing, with exit code 4.
Function .onInit
    ${IfNot} ${AtLeastWin10}
        MessageBox MB_OK|MB_ICONSTOP "${NAME} needs Windows 10 or later." /SD IDOK
        SetErrorLevel 4
        Quit
    ${EndIf}
    Call closeProgram
FunctionEnd

; $2 is 1 when the program folder has no data file $0 worth keeping: none, or
; one shorter than a record (an earlier version's program, started in that
; folder, created an empty one); 0 otherwise.
Function dataMissing
    StrCpy $2 1
    ClearErrors
    FileOpen $3 "$INSTDIR\$0" r
    IfErrors done
    FileSeek $3 0 END $4
    FileClose $3
    IntCmp $4 ${RECORD_SIZE} 0 done 0
    StrCpy $2 0
  done:
FunctionEnd

; Copies the file $0 of the old data folder into the program folder, unless the
; program folder has one worth keeping; $1 is 1 when it copied, 0 when not. A
; copy that fails stops setup before anything is installed, taking back a
; period.bio it copied just before, so the next run carries both over.
Function carryOver
    StrCpy $1 0
    Call dataMissing
    StrCmp $2 1 0 done
    IfFileExists "${OLD_DATA}\$0" 0 done
    System::Call 'kernel32::CopyFileW(w "${OLD_DATA}\$0", w "$INSTDIR\$0", i 0) i .r1'
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

; Brings the corrections of the shipped data file $0 into the user's, record by
; record, keeping every record the user changed (periodbio upgrade); the base,
; the shipped files the user was last given, lies in the program folder's base
; folder, release 1.0's data file standing in while there is none. What the
; user is to know (records whose correction their edit kept out) shows once in
; a message box; a failed upgrade is told and changes nothing.
Function upgradeData
    nsExec::ExecToStack '"$INSTDIR\periodbio.exe" upgrade "$PLUGINSDIR\$0" "$INSTDIR\$0" "$INSTDIR\base\$0" "$INSTDIR\1.0\period.bio"'
    Pop $1
    Pop $2
    ${If} $1 != 0
        MessageBox MB_OK|MB_ICONEXCLAMATION "The corrections of the new data could not be brought into $INSTDIR\$0, which stays as it was:$\r$\n$2" /SD IDOK
    ${ElseIf} $2 != ""
        MessageBox MB_OK|MB_ICONINFORMATION "$2" /SD IDOK
    ${EndIf}
FunctionEnd

Section "Install"
    SetShellVarContext current
    ; The program may have been started while the directory page was open.
    Call closeProgram
    CreateDirectory "$INSTDIR"

    ; The data lives beside the program. A period.bio that an earlier version
    ; kept in the user's roaming data folder comes across, with its period.bak,
    ; when the program folder has none worth keeping, so edits made there carry
    ; on; the old folder stays as it is.
    StrCpy $0 "period.bio"
    Call carryOver
    StrCmp $1 1 0 carried_over
    StrCpy $0 "period.bak"
    Call carryOver
  carried_over:

    !include "${INSTALL_FILES}"

    ; The shipped data file and its backup go in only where the folder has
    ; none worth keeping, so edits survive reinstalling and upgrading.
    SetOutPath "$INSTDIR"
    StrCpy $0 "period.bio"
    Call dataMissing
    StrCmp $2 1 0 +2
        File "${STAGE}/period.bio"
    StrCpy $0 "period.bak"
    Call dataMissing
    StrCmp $2 1 0 +2
        File "${STAGE}/period.bak"

    ; Over an earlier install, the new release's data merges into the user's.
    InitPluginsDir
    SetOutPath "$PLUGINSDIR"
    File "${STAGE}/period.bio"
    File "${STAGE}/period.bak"
    SetOutPath "$INSTDIR"
    StrCpy $0 "period.bio"
    Call upgradeData
    StrCpy $0 "period.bak"
    Call upgradeData

    ; The shortcut starts the program in its own folder (the current output
    ; path), where its data file is.
    CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\orbitra-table.exe" "" \
        "$INSTDIR\orbitra-table.exe" 0 SW_SHOWNORMAL "" "A periodic table of the elements"

    File "/oname=uninstall.exe" "${UNINSTALLER}"
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

!endif
