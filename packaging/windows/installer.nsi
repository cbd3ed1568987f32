; The Orbitra Table installer: for the current user, no administrator rights.
; makensis -DVERSION=1.0 -DSTAGE=<the zip's folder> -DICON=flask.ico -DOUTFILE=setup.exe
; A 64-bit installer for the 64-bit program.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!define NAME "Orbitra Table"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\OrbitraTable"
!define DATA "$APPDATA\${NAME}"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
VIProductVersion "${VERSION}.0.0"
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

Section "Install"
    SetShellVarContext current
    SetOutPath "$INSTDIR"
    File "${STAGE}\orbitra-table.exe"
    File "${STAGE}\periodbio.exe"
    File "${STAGE}\*.dll"
    File "${STAGE}\README.txt"
    SetOutPath "$INSTDIR\platforms"
    File "${STAGE}\platforms\*.dll"
    SetOutPath "$INSTDIR\styles"
    File "${STAGE}\styles\*.dll"
    SetOutPath "$INSTDIR\licences"
    File "${STAGE}\licences\*.*"

    ; The user's data folder gets the shipped data file and its backup only
    ; where it has none, so edits survive reinstalling and upgrading.
    CreateDirectory "${DATA}"
    SetOutPath "${DATA}"
    SetOverwrite off
    File "${STAGE}\period.bio"
    File "${STAGE}\period.bak"
    SetOverwrite on

    ; The shortcut starts the program in the data folder (the current output path).
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
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    SectionGetSize 0 $0
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Removes what the installer put in the program folder, file by file, and the
; folders only when that leaves them empty; the data folder, with the user's
; period.bio, stays.
Section "Uninstall"
    SetShellVarContext current
    Delete "$SMPROGRAMS\${NAME}.lnk"
    Delete "$INSTDIR\orbitra-table.exe"
    Delete "$INSTDIR\periodbio.exe"
    Delete "$INSTDIR\Qt6Core.dll"
    Delete "$INSTDIR\Qt6Gui.dll"
    Delete "$INSTDIR\Qt6Widgets.dll"
    Delete "$INSTDIR\libstdc++-6.dll"
    Delete "$INSTDIR\libgcc_s_seh-1.dll"
    Delete "$INSTDIR\libwinpthread-1.dll"
    Delete "$INSTDIR\README.txt"
    Delete "$INSTDIR\platforms\qwindows.dll"
    RMDir "$INSTDIR\platforms"
    Delete "$INSTDIR\styles\qwindowsvistastyle.dll"
    RMDir "$INSTDIR\styles"
    Delete "$INSTDIR\licences\*.txt"
    Delete "$INSTDIR\licences\*.md"
    RMDir "$INSTDIR\licences"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
