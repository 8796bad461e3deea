; Installer of the ZU Demo program, built by makensis from each Windows build:
;   makensis -DDEMO_EXE=<zu_demo.exe> -DOUTFILE=<setup.exe> -DVERSION=<n> -DMINORVERSION=<n> zu_demo.nsi
; With -DTARGET_AMD64 the installer itself is a 64-bit program (for the win64 build, which
; must run where no 32-bit code can).
; It installs for the current user (no elevation) into %LOCALAPPDATA%\ZuDemo, or the directory
; given with /D=, and records what the launcher reads back:
;   HKEY_CURRENT_USER\Software\ZuDemo\InstallDir   the install directory
;   <install dir>\zu_demo.ini  [GENERAL] VERSION, MINORVERSION
; Switches: /S installs silently (the launcher's SilentInstall); /A installs without asking
; anything but shows its progress and closes by itself (the launcher's AutoInstall).
; A version file section that serves it:
;   [ZUDEMO]
;   PATH_REG=HKEY_CURRENT_USER\Software\ZuDemo\InstallDir
;   EXE_NAME=zu_demo.exe
;   INI_FILE_NAME=zu_demo.ini
;   VERSION=<n>
;   MINORVERSION=<n>
;   NAME=ZU Demo
;   DOWN_URL=http://<server>/zu_demo_setup.exe

!ifndef DEMO_EXE
  !error "define DEMO_EXE, the path of zu_demo.exe"
!endif
!ifndef OUTFILE
  !define OUTFILE "zu_demo_setup.exe"
!endif
!ifndef VERSION
  !define VERSION 1
!endif
!ifndef MINORVERSION
  !define MINORVERSION 0
!endif

!ifdef TARGET_AMD64
  Target amd64-unicode
!endif

!include "FileFunc.nsh"

Name "ZU Demo ${VERSION}.${MINORVERSION}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\ZuDemo"
InstallDirRegKey HKCU "Software\ZuDemo" "InstallDir"
SetCompressor /SOLID lzma
ShowInstDetails show
BrandingText "ZU Demo"

Var AutoInstall

Page directory SkipWhenAutomatic
Page instfiles

Function .onInit
  StrCpy $AutoInstall 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/A" $1
  IfErrors +3
    StrCpy $AutoInstall 1
    SetAutoClose true
FunctionEnd

Function SkipWhenAutomatic
  StrCmp $AutoInstall 1 0 +2
    Abort
FunctionEnd

Section "ZU Demo"
  SetOutPath "$INSTDIR"
  File "/oname=zu_demo.exe" "${DEMO_EXE}"
  WriteINIStr "$INSTDIR\zu_demo.ini" "GENERAL" "VERSION" "${VERSION}"
  WriteINIStr "$INSTDIR\zu_demo.ini" "GENERAL" "MINORVERSION" "${MINORVERSION}"
  FlushINI "$INSTDIR\zu_demo.ini"
  WriteRegStr HKCU "Software\ZuDemo" "InstallDir" "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\zu_demo.exe"
  Delete "$INSTDIR\zu_demo.ini"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegValue HKCU "Software\ZuDemo" "InstallDir"
  DeleteRegKey /ifempty HKCU "Software\ZuDemo"
SectionEnd
