; Brenvik's installer for Windows (64 bit), in Italian. It installs for the current user alone, so
; it asks for no administrator rights: the program goes to %LOCALAPPDATA%\Programs\Brenvik, its
; entry to the user's Start menu, and its uninstaller is listed under "Programmi e funzionalità"
; (HKCU). Uninstalling removes the program and those entries, not the user's settings
; (HKCU\Software\Brenvik) nor any file the user made with it.
;
; Built by the target windows-packages (cmake/WindowsPackages.cmake), which passes:
;   VERSION    the program's version           PUBLISHER  the company named in the About window
;   STAGE      folder holding brenvik.exe      ICON       the program's .ico
;   SIDE       the side picture (BMP)          OUTFILE    the installer to write
Unicode true
Target amd64-unicode
ManifestDPIAware true
RequestExecutionLevel user
SetCompressor /SOLID lzma
; NSIS writes sizes with a decimal point, which reads wrong in Italian; a program this small needs
; no word on disk space.
SpaceTexts none

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brenvik"

Name "Brenvik ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Brenvik"
; A second installation goes where the first one went.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${PUBLISHER}"
ShowInstDetails nevershow
ShowUninstDetails nevershow
; NSIS's Italian word for a finished run is "Installazione completata", also after an uninstall.
CompletedText "Completato"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${SIDE}"
!define MUI_UNWELCOMEFINISHPAGE_BITMAP "${SIDE}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\brenvik.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Avvia Brenvik"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductName" "Brenvik"
VIAddVersionKey /LANG=${LANG_ITALIAN} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileDescription" "Installazione di Brenvik ${VERSION}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ITALIAN} "LegalCopyright" "© ${PUBLISHER}"

Section
    SetOutPath "$INSTDIR"
    File "${STAGE}/brenvik.exe"
    WriteUninstaller "$INSTDIR\Disinstalla.exe"
    CreateShortcut "$SMPROGRAMS\Brenvik.lnk" "$INSTDIR\brenvik.exe" "" "$INSTDIR\brenvik.exe" 0

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Brenvik"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brenvik.exe,0"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Disinstalla.exe"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\Disinstalla.exe" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
    Delete "$INSTDIR\brenvik.exe"
    Delete "$INSTDIR\Disinstalla.exe"
    ; Only when empty: whatever the user put there stays.
    RMDir "$INSTDIR"
    Delete "$SMPROGRAMS\Brenvik.lnk"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
