# How Korvane is installed and packed on each platform: a Linux desktop program (menu entry,
# icon, AppStream metainfo, man pages, the .syx type) and a Debian package; a Windows folder
# with the Qt and MinGW libraries beside the programs and an NSIS installer; a macOS bundle in
# a disk image.
set(CPACK_PACKAGE_NAME korvane)
set(CPACK_PACKAGE_VENDOR "Talvern Systems")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor and librarian for the SP rack sample player")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvane edits the Waves, Tones, Maps, Presets, Multis and Global settings of the SP sample player over MIDI System Exclusive, loads its disk banks and manages its memory. Without MIDI hardware it runs on its built-in Virtual SP.")
set(CPACK_PACKAGE_CONTACT "Korvane developers <korvane@talvern.invalid>")
# The build keeps its debug information; the packages do not need it.
set(CPACK_STRIP_FILES ON)

if(WIN32)
  install(TARGETS korvane korvane-vsp RUNTIME DESTINATION .)
  # windeployqt does not run on a Linux host: the libraries and plugins the programs load are
  # named here. Qt finds its plugins in the folders beside the program.
  foreach(library Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Sql)
    install(FILES $<TARGET_FILE:${library}> DESTINATION .)
  endforeach()
  install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
          $<TARGET_FILE:Qt6::QMinimalIntegrationPlugin> DESTINATION platforms)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
  # The library's database driver.
  install(FILES $<TARGET_FILE:Qt6::QSQLiteDriverPlugin> DESTINATION sqldrivers)
  # MinGW's own runtime, which every program it builds needs.
  foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
      find_file(runtime_path ${runtime} PATHS /usr/${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32/lib NO_CACHE REQUIRED)
    endif()
    install(FILES ${runtime_path} DESTINATION .)
  endforeach()

  set(CPACK_GENERATOR NSIS)
  # A 64-bit installer for 64-bit programs: it runs where they run, into "Program Files".
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Korvane)
  set(CPACK_NSIS_PACKAGE_NAME Korvane)
  set(CPACK_NSIS_DISPLAY_NAME Korvane)
  # The Start menu entry; the uninstaller is the generator's own.
  set(CPACK_PACKAGE_EXECUTABLES korvane Korvane)
  set(CPACK_NSIS_INSTALLED_ICON_NAME korvane.exe)
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  set(CPACK_NSIS_MODIFY_PATH OFF)
elseif(APPLE)
  # Not yet built or tried: these are the rules a macOS build would follow.
  install(TARGETS korvane BUNDLE DESTINATION . RUNTIME DESTINATION bin)
  install(TARGETS korvane-vsp RUNTIME DESTINATION bin)
  set(CPACK_GENERATOR DragNDrop)
  set(CPACK_DMG_VOLUME_NAME Korvane)
else()
  include(GNUInstallDirs)
  install(TARGETS korvane korvane-vsp RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES packaging/korvane.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES packaging/korvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES packaging/com.talvern.korvane.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES packaging/korvane-syx.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
  install(FILES packaging/korvane.1 packaging/korvane-vsp.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  # `cpack -G DEB` in the build folder makes the Debian package.
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION sound)
  # Qt's platform plugins are a package of their own; without them no window can open.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6sql6-sqlite (>= 6.4), qt6-qpa-plugins (>= 6.4), librtmidi6 (>= 5.0), libstdc++6, libgcc-s1, libc6")
endif()
include(CPack)
