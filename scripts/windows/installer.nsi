; SPDX-License-Identifier: MIT
; The Windows installer: a per-user install that needs no administrator, a Start-menu entry,
; the .glm file type with its icon, and an uninstaller.
; makensis -DVERSION=2.1 -DSTAGE=<folder with the program's files> -DOUT=<setup.exe>
Unicode true
; A 64-bit installer, as the program is: it runs where the program runs, Wine64 included.
Target amd64-unicode
RequestExecutionLevel user
SetCompressor /SOLID lzma

!define NAME "Glimra絵エディッタ"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\GlimraEditor"
!define CLASS "Software\Classes\GlimraEditor.GlyphFile"

Name "${NAME} ${VERSION}"
OutFile "${OUT}"
InstallDir "$LOCALAPPDATA\Programs\GlimraEditor"
InstallDirRegKey HKCU "${KEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

Section "Install"
    SetOutPath "$INSTDIR"
    File "${STAGE}\glimra-editor.exe"
    File "${STAGE}\glimra-convert.exe"
    File "${STAGE}\qt.conf"
    File "${STAGE}\sample.glm"
    File "${STAGE}\LICENSE.txt"
    File "${STAGE}\guide.en.md"
    File "${STAGE}\guide.ja.md"
    SetOutPath "$INSTDIR\translations"
    File "${STAGE}\translations\qtbase_ja.qm"
    SetOutPath "$INSTDIR\data\mime\packages"
    File "${STAGE}\data\mime\packages\glimra-editor.xml"
    SetOutPath "$INSTDIR"

    CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\glimra-editor.exe"

    ; The .glm file type, for this user: its icon, and a double-click opens it.
    WriteRegStr HKCU "Software\Classes\.glm" "" "GlimraEditor.GlyphFile"
    WriteRegStr HKCU "${CLASS}" "" "Glimra絵ファイル"
    WriteRegStr HKCU "${CLASS}\DefaultIcon" "" "$INSTDIR\glimra-editor.exe,0"
    WriteRegStr HKCU "${CLASS}\shell\open\command" "" '"$INSTDIR\glimra-editor.exe" "%1"'
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

    WriteUninstaller "$INSTDIR\uninstall.exe"
    WriteRegStr HKCU "${KEY}" "DisplayName" "${NAME}"
    WriteRegStr HKCU "${KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${KEY}" "DisplayIcon" "$INSTDIR\glimra-editor.exe,0"
    WriteRegStr HKCU "${KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
    WriteRegStr HKCU "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
    WriteRegDWORD HKCU "${KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
    Delete "$SMPROGRAMS\${NAME}.lnk"
    Delete "$INSTDIR\translations\qtbase_ja.qm"
    RMDir "$INSTDIR\translations"
    Delete "$INSTDIR\data\mime\packages\glimra-editor.xml"
    RMDir "$INSTDIR\data\mime\packages"
    RMDir "$INSTDIR\data\mime"
    RMDir "$INSTDIR\data"
    Delete "$INSTDIR\glimra-editor.exe"
    Delete "$INSTDIR\glimra-convert.exe"
    Delete "$INSTDIR\qt.conf"
    Delete "$INSTDIR\sample.glm"
    Delete "$INSTDIR\LICENSE.txt"
    Delete "$INSTDIR\guide.en.md"
    Delete "$INSTDIR\guide.ja.md"
    Delete "$INSTDIR\uninstall.exe"
    RMDir "$INSTDIR"
    ; The file type is removed only while it is still this program's.
    ReadRegStr $0 HKCU "Software\Classes\.glm" ""
    StrCmp $0 "GlimraEditor.GlyphFile" 0 +2
    DeleteRegKey HKCU "Software\Classes\.glm"
    DeleteRegKey HKCU "${CLASS}"
    DeleteRegKey HKCU "${KEY}"
    System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
SectionEnd
