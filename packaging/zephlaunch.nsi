; Per-user installer of Zephlaunch: installs without administrator rights into the
; user's programs folder, the x86_64 build on 64-bit Windows and the i686 build
; elsewhere, adds a Start-menu shortcut and registers an uninstaller for the user.
; The uninstaller removes what the installer put there and nothing else: the user's
; settings folder and profiles (%APPDATA%\Zephlaunch) stay. So the installer refuses a
; folder that already holds files of another origin, and the uninstaller removes nothing
; while Zephlaunch.exe or zephrun.exe still runs.
;
; Built by scripts/package.sh:
;   makensis -DVERSION=x.y.z -DWIN64_DIR=dir -DWIN32_DIR=dir -DDOC_DIR=dir
;            -DICON=file -DOUTFILE=file [-DTEST_AMD64] packaging/zephlaunch.nsi
; WIN64_DIR and WIN32_DIR hold Zephlaunch.exe and zephrun.exe of each build; DOC_DIR
; holds zephlaunch_service.ini, README.txt and LICENSE.txt.

!ifndef VERSION
  !error "VERSION is not defined (see scripts/package.sh)"
!endif
!ifndef WIN64_DIR
  !error "WIN64_DIR is not defined (see scripts/package.sh)"
!endif
!ifndef WIN32_DIR
  !error "WIN32_DIR is not defined (see scripts/package.sh)"
!endif
!ifndef DOC_DIR
  !error "DOC_DIR is not defined (see scripts/package.sh)"
!endif
!ifndef ICON
  !error "ICON is not defined (see scripts/package.sh)"
!endif
!ifndef OUTFILE
  !error "OUTFILE is not defined (see scripts/package.sh)"
!endif

!ifdef TEST_AMD64
  ; The same installer as a 64-bit program, only for testing it where 32-bit programs
  ; cannot run (scripts/package.sh --test-installer); it always installs the x86_64 build.
  Unicode true
  Target amd64-unicode
!else
  ; ANSI, like the programs themselves: the installer runs on Windows 9x too.
  Unicode false
  Target x86-ansi
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel user

!include LogicLib.nsh
!include x64.nsh
!include FileFunc.nsh

!define PRODUCT "Zephlaunch"
!define PUBLISHER "The Zephlaunch authors"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zephlaunch"
!define SHORTCUT "$SMPROGRAMS\Zephlaunch.lnk"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
Icon "${ICON}"
UninstallIcon "${ICON}"
InstallDir "$LOCALAPPDATA\Programs\Zephlaunch"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "Copyright (C) 2026 The Zephlaunch authors. MIT License."

Page directory "" "" LeaveDirectoryPage
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Function .onInit
  SetShellVarContext current
  ; Systems before Windows 2000 have no per-user local application data folder.
  ${If} $LOCALAPPDATA == ""
    StrCpy $INSTDIR "$PROGRAMFILES\Zephlaunch"
  ${EndIf}
FunctionEnd

; $0 = 1 when $INSTDIR may take the program: it is missing or empty, or it is the folder
; of the installation this one replaces (the one the uninstall entry names).
Function CheckInstallFolder
  Push $1
  Push $2
  StrCpy $0 1
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  StrCmp $1 $INSTDIR checked
  ClearErrors
  FindFirst $1 $2 "$INSTDIR\*.*"
  next:
    StrCmp $2 "" done
    StrCmp $2 "." skip
    StrCmp $2 ".." skip
    StrCpy $0 0
    Goto done
  skip:
    FindNext $1 $2
    Goto next
  done:
  FindClose $1
  checked:
  Pop $2
  Pop $1
FunctionEnd

!define FOLDER_IN_USE "$INSTDIR already holds files of its own.$\r$\n$\r$\nChoose an empty or new folder \
for Zephlaunch, so that uninstalling it never removes files it did not put there."

Function LeaveDirectoryPage
  Call CheckInstallFolder
  ${If} $0 != 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "${FOLDER_IN_USE}"
    Abort
  ${EndIf}
FunctionEnd

Section "Zephlaunch"
  ; Again here: a silent installation has no directory page.
  Call CheckInstallFolder
  ${If} $0 != 1
    MessageBox MB_OK|MB_ICONSTOP "${FOLDER_IN_USE}" /SD IDOK
    Abort "${FOLDER_IN_USE}"
  ${EndIf}
  SetOutPath "$INSTDIR"
  ${If} ${RunningX64}
    File "${WIN64_DIR}\Zephlaunch.exe"
    File "${WIN64_DIR}\zephrun.exe"
  ${Else}
    File "${WIN32_DIR}\Zephlaunch.exe"
    File "${WIN32_DIR}\zephrun.exe"
  ${EndIf}
  File "${DOC_DIR}\zephlaunch_service.ini"
  File "${DOC_DIR}\README.txt"
  File "${DOC_DIR}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; The shortcut starts in the program folder: Start runs zephrun.exe from the
  ; GUI's current directory.
  SetOutPath "$INSTDIR"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\Zephlaunch.exe" "" "$INSTDIR\Zephlaunch.exe" 0

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Zephlaunch.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; Sets $0 to 1 when the program exists and cannot be opened for writing (it is running).
!macro PROGRAM_IN_USE PROGRAM
  ${If} ${FileExists} "${PROGRAM}"
    ClearErrors
    FileOpen $1 "${PROGRAM}" a
    ${If} ${Errors}
      StrCpy $0 1
    ${Else}
      FileClose $1
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  SetShellVarContext current
  ; Neither program may be running before anything is deleted: a GUI left without its
  ; controller (or a controller without its GUI) could not restore a pending run. A running
  ; program cannot be opened for writing. Then nothing is removed (the uninstall entry stays
  ; for a later attempt).
  retry:
  StrCpy $0 0
  !insertmacro PROGRAM_IN_USE "$INSTDIR\Zephlaunch.exe"
  !insertmacro PROGRAM_IN_USE "$INSTDIR\zephrun.exe"
  ${If} $0 == 0
    Delete "$INSTDIR\Zephlaunch.exe"
    Delete "$INSTDIR\zephrun.exe"
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Zephlaunch.exe"
  ${OrIf} ${FileExists} "$INSTDIR\zephrun.exe"
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Zephlaunch or a run of it (zephrun.exe) is still running.\
$\r$\n$\r$\nClose them, then choose Retry." /SD IDCANCEL IDRETRY retry
    Abort "Zephlaunch is still running: close it and uninstall again."
  ${EndIf}
  Delete "${SHORTCUT}"
  Delete "$INSTDIR\zephlaunch_service.ini"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  ; The controller's log of runs started from the installed GUI.
  Delete "$INSTDIR\zephrun_log.txt"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: files the user put there stay, and so does the folder.
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
