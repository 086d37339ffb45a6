; The Windows installer: both programs, the README and the licence into one folder (by
; default Program Files\Verrolift), a Start-menu entry for all users, and an uninstaller
; listed in "Apps and features". scripts/package-windows builds it from build-win/:
;
;   makensis -WX -DVERSION=1.0 -DFILE_VERSION=1.0.0.0 -DSOURCE_DIR=<repo> \
;       -DPROGRAMS_DIR=<folder of the two .exe> -DOUT_FILE=<setup.exe> packaging/windows/verrolift.nsi
;
; PROGRAMS_DIR holds verrolift.exe and verrolift-import.exe as they are to be installed
; (the script strips build-win/bin's copies of their debug information).
;
; Silent: setup.exe /S [/D=<folder>] installs, uninstall.exe /S removes.

Unicode true
; A 64-bit installer: a 32-bit one would be redirected to Program Files (x86) and the
; 32-bit registry view, and wine64 does not run it at all.
Target amd64-unicode

!macro Required NAME
  !ifndef ${NAME}
    !error "${NAME} is not defined: makensis -D${NAME}=..."
  !endif
!macroend
!insertmacro Required VERSION
!insertmacro Required FILE_VERSION
!insertmacro Required SOURCE_DIR
!insertmacro Required PROGRAMS_DIR
!insertmacro Required OUT_FILE

!define PRODUCT "Verrolift"
!define PUBLISHER "Corvendel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

!include MUI2.nsh
!include FileFunc.nsh

Name "${PRODUCT} ${VERSION}"
OutFile "${OUT_FILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
; Installing again goes to the folder of the earlier installation.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${FILE_VERSION}"
VIFileVersion "${FILE_VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=0 "LegalCopyright" "Verrolift developers"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${SOURCE_DIR}/packaging/copyright"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The 64-bit registry view and the all-users Start menu, for installing and uninstalling
; alike (a 64-bit installer has the 64-bit view already; saying so keeps it so).
!macro MachineWide
  SetRegView 64
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro MachineWide
FunctionEnd

Function un.onInit
  !insertmacro MachineWide
FunctionEnd

Section "${PRODUCT}"
  SetOutPath "$INSTDIR"
  File "${PROGRAMS_DIR}/verrolift.exe"
  File "${PROGRAMS_DIR}/verrolift-import.exe"
  File "${SOURCE_DIR}/README.md"
  File "/oname=COPYRIGHT.txt" "${SOURCE_DIR}/packaging/copyright"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortcut "${SHORTCUT}" "$INSTDIR\verrolift.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\verrolift.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In KiB, as "Apps and features" reads it: the folder as it now is, uninstaller included.
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Exactly what the installer put there: a file of the user's in the folder keeps the folder.
Section "Uninstall"
  Delete "$INSTDIR\verrolift.exe"
  Delete "$INSTDIR\verrolift-import.exe"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\COPYRIGHT.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "${SHORTCUT}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
