; The per-user installer: no administrator rights, the program under
; %LOCALAPPDATA%\Programs, a Start menu entry, and an uninstaller that keeps the
; user's colour sets and settings unless asked to remove them.
; makensis -DVERSION=x.y.z -DSTAGE=<folder of the portable zip> -DOUTFILE=<setup.exe> huesplinter.nsi

; A 64-bit installer for a 64-bit program: it also runs where only 64-bit
; programs can (a Wine without its 32-bit half).
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define NAME "Huesplinter"
!define MAKER "Vextora"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${NAME}"

Name "${NAME} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${STAGE}\huesplinter.ico"
UninstallIcon "${STAGE}\huesplinter.ico"
InstallDir "$LOCALAPPDATA\Programs\${NAME}"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
  SetShellVarContext current
  SetOutPath "$INSTDIR"
  File /r "${STAGE}\*.*"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\huesplinter.exe" "" "$INSTDIR\huesplinter.exe" 0
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${MAKER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\huesplinter.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  SetShellVarContext current
  Delete "$SMPROGRAMS\${NAME}.lnk"
  ; Only what the installer put there: a file the user keeps in the program
  ; folder survives, and so does the folder then.
  !include "${FILELIST}"
  Delete "$INSTDIR\Uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ; The user's own data goes only when asked (never in a silent uninstall).
  IfSilent keep
  MessageBox MB_YESNO|MB_DEFBUTTON2|MB_ICONQUESTION \
    "Also remove your colour sets, templates and settings?$\r$\n$\r$\n$APPDATA\${MAKER}\${NAME}" \
    IDYES remove IDNO keep
  remove:
    RMDir /r "$APPDATA\${MAKER}\${NAME}"
    Delete "$LOCALAPPDATA\${MAKER}\${NAME}.conf"
    DeleteRegKey HKCU "Software\${MAKER}\${NAME}"
    RMDir "$APPDATA\${MAKER}"
    RMDir "$LOCALAPPDATA\${MAKER}"
    DeleteRegKey /ifempty HKCU "Software\${MAKER}"
  keep:
SectionEnd
