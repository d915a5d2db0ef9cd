# The Windows packages: a ZIP of the program's folder and an NSIS installer,
# both named velmira-<version>-win64.
#
# The installer puts the program in Program Files and the data a clinic owns in
# %ProgramData%\Velmira, the Start-menu shortcut's "Start in" folder, since the
# program reads its files from its working folder. The statistics files there
# are the clinic's once installed: an upgrade adds missing ones and never
# replaces one, and uninstalling leaves them and says so. The picture and the
# icon are the program's own and are replaced on every install.
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_VERBATIM_VARIABLES ON)  # the NSIS code below holds quotes and backslashes
set(CPACK_PACKAGE_NAME Velmira)
set(CPACK_PACKAGE_VENDOR "${VELMIRA_PUBLISHER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_FILE_NAME "velmira-${PROJECT_VERSION}-win64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Velmira)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Velmira)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Velmira)
set(CPACK_NSIS_DISPLAY_NAME Velmira)
set(CPACK_NSIS_INSTALLED_ICON_NAME velmira.exe)
# Our own installer script, in Russian (data/windows/NSIS.template.in), with
# the program's icon and the links of its "Programs and Features" entry.
set(CPACK_MODULE_PATH "${PROJECT_SOURCE_DIR}/data/windows")
set(CPACK_NSIS_MUI_ICON "${VELMIRA_WINDOWS_ICON}")
set(CPACK_NSIS_MUI_UNIICON "${VELMIRA_WINDOWS_ICON}")
set(CPACK_NSIS_MUI_WELCOMEFINISHPAGE_BITMAP "${VELMIRA_INSTALLER_BITMAP}")
set(CPACK_NSIS_MUI_UNWELCOMEFINISHPAGE_BITMAP "${VELMIRA_INSTALLER_BITMAP}")
set(CPACK_NSIS_URL_INFO_ABOUT "${VELMIRA_HOMEPAGE}")
set(CPACK_NSIS_HELP_LINK "${VELMIRA_HOMEPAGE}")
# A 64-bit Unicode installer, like the program: it runs where the program runs
# (and under a 64-bit-only Wine), and sees the real Program Files.
set(CPACK_NSIS_DEFINES "  Target amd64-unicode")
# An upgrade first runs the old uninstaller, which leaves %ProgramData% alone.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)

set(VELMIRA_STATISTICS_FILES Statistics_1.txt Statistics_2.txt)
set(VELMIRA_PROGRAM_DATA_FILES Tavrel.jpg stet.png)

# $R9 is the clinic's data folder. %ProgramData% exists on every Windows since
# Vista.
set(data_dir [[
  ReadEnvStr $R9 PROGRAMDATA
  StrCmp $R9 "" 0 +3
    MessageBox MB_OK|MB_ICONSTOP "Переменная %ProgramData% не задана: некуда положить статистику клиники." /SD IDOK
    Abort
  StrCpy $R9 "$R9\Velmira"
  CreateDirectory "$R9"]])

set(install_data "${data_dir}\n")
foreach(file IN LISTS VELMIRA_STATISTICS_FILES)
    string(APPEND install_data
        "  IfFileExists \"$R9\\${file}\" +2 0\n"
        "    CopyFiles /SILENT \"$INSTDIR\\${file}\" \"$R9\"\n")
endforeach()
foreach(file IN LISTS VELMIRA_PROGRAM_DATA_FILES)
    string(APPEND install_data "  CopyFiles /SILENT \"$INSTDIR\\${file}\" \"$R9\"\n")
endforeach()
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "${install_data}")

# The shortcut's working folder is the output path when it is made; its icon
# is the program's own.
set(CPACK_NSIS_CREATE_ICONS_EXTRA "${data_dir}
  SetOutPath \"$R9\"
  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\Velmira.lnk\" \"$INSTDIR\\velmira.exe\" \"\" \"$INSTDIR\\velmira.exe\" 0")
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete "$SMPROGRAMS\$MUI_TEMP\Velmira.lnk"]])
# The keeper's window has a shortcut of its own, and
# the installer's pages name it where they named the console program.
set(keeper_shortcut "Velmira — статистика клиники.lnk")
string(APPEND CPACK_NSIS_CREATE_ICONS_EXTRA "
  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\${keeper_shortcut}\" \"$INSTDIR\\velmira-stats-gui.exe\" \"\" \"$INSTDIR\\velmira-stats-gui.exe\" 0")
string(APPEND CPACK_NSIS_DELETE_ICONS_EXTRA "
  Delete \"$SMPROGRAMS\\$MUI_TEMP\\${keeper_shortcut}\"")
set(CPACK_VELMIRA_TABLES_TEXT "постройте и установите их из журнала случаев клиники в окне \
«Velmira — статистика клиники» (ярлык в меню «Пуск»)")
string(APPEND CPACK_NSIS_CREATE_ICONS_EXTRA "
  SetOutPath \"$INSTDIR\"")

set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS [[
  ReadEnvStr $R9 PROGRAMDATA
  DetailPrint "Статистика клиники в $R9\Velmira оставлена на месте."
  MessageBox MB_OK|MB_ICONINFORMATION "Папка $R9\Velmira со статистикой клиники оставлена на месте. Удалите её вручную, если она больше не нужна." /SD IDOK]])

include(CPack)
