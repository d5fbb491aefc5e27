; The peer installer: the same job as setup.exe, written for NSIS, to compare
; against. It moves the unpacked Corvane folder beside it to the chosen
; folder (replacing an earlier installation), writes the same registry
; layout, moves and loads the emoji font, puts the desktop shortcut, and
; reports success. Built with: makensis -DOUTFILE=... peer.nsi
Unicode true
Name "Corvane"
Caption "Corvane Setup"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Corvane"
RequestExecutionLevel user
ShowInstDetails nevershow

Page directory
Page instfiles

!define PROGID "CoraneHTM.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA"
!define CLIENT "SOFTWARE\Clients\StartMenuInternet\Corane.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA"
!define EXE "$INSTDIR\halvex.exe"

!macro Association KEY NAME
  WriteRegStr HKLM "${CLIENT}\Capabilities\${KEY}" "${NAME}" "${PROGID}"
!macroend

Section
  RMDir /r "$INSTDIR"
  ClearErrors
  Rename "$EXEDIR\Corvane" "$INSTDIR"
  IfErrors 0 moved
    MessageBox MB_OK|MB_ICONSTOP "Unspecified error."
    Abort
  moved:

  WriteRegStr HKCR "${PROGID}" "" "Corvane HTML Document"
  WriteRegStr HKCR "${PROGID}\DefaultIcon" "" "${EXE},0"
  WriteRegStr HKCR "${PROGID}\shell\open\command" "" '"${EXE}" --single-argument %1'
  WriteRegStr HKLM "${CLIENT}" "" "Corvane"
  WriteRegStr HKLM "${CLIENT}\shell\open\command" "" '"${EXE}" --single-argument %1'
  WriteRegStr HKLM "${CLIENT}\DefaultIcon" "" "${EXE},0"
  WriteRegStr HKLM "${CLIENT}\Capabilities" "ApplicationDescription" "Corvane is a web browser targetting legacy versions of Windows and has various other important features."
  WriteRegStr HKLM "${CLIENT}\Capabilities" "ApplicationIcon" "${EXE},0"
  WriteRegStr HKLM "${CLIENT}\Capabilities" "ApplicationName" "Corvane"
  !insertmacro Association FileAssociations .htm
  !insertmacro Association FileAssociations .html
  !insertmacro Association FileAssociations .pdf
  !insertmacro Association FileAssociations .shtml
  !insertmacro Association FileAssociations .svg
  !insertmacro Association FileAssociations .webp
  !insertmacro Association FileAssociations .xht
  !insertmacro Association FileAssociations .xhtml
  WriteRegStr HKLM "${CLIENT}\Capabilities\Startmenu" "StartMenuInternet" "Corane.Q4RWKB7XMZ2HLNCE5TVYDJ6FSA"
  !insertmacro Association URLAssociations http
  !insertmacro Association URLAssociations https
  !insertmacro Association URLAssociations irc
  !insertmacro Association URLAssociations mailto
  !insertmacro Association URLAssociations mms
  !insertmacro Association URLAssociations news
  !insertmacro Association URLAssociations nntp
  !insertmacro Association URLAssociations sms
  !insertmacro Association URLAssociations smsto
  !insertmacro Association URLAssociations snews
  !insertmacro Association URLAssociations tel
  !insertmacro Association URLAssociations urn
  !insertmacro Association URLAssociations webcal
  WriteRegStr HKLM "${CLIENT}\InstallInfo" "HideIconsCommand" '"${EXE}" --hide-icons'
  WriteRegStr HKLM "${CLIENT}\InstallInfo" "ShowIconsCommand" '"${EXE}" --show-icons'
  WriteRegStr HKLM "${CLIENT}\InstallInfo" "ReinstallCommand" '"${EXE}" --make-default-browser'
  WriteRegDWORD HKLM "${CLIENT}\InstallInfo" "IconsVisible" 1

  Rename "$EXEDIR\NotoEmoji.ttf" "$FONTS\NotoEmoji.ttf"
  System::Call 'gdi32::AddFontResourceW(w "$FONTS\NotoEmoji.ttf")'

  CreateShortCut "$DESKTOP\Corvane.lnk" "${EXE}" "" "" 0 SW_SHOWNORMAL "" "Corvane Web Browser"

  MessageBox MB_OK "Corvane setup has successfully completed."
  Quit
SectionEnd
