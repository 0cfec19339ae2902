# `make install` (cmake --install, honouring DESTDIR and CMAKE_INSTALL_PREFIX):
# the game binary, its data read-only under share/, the launcher that players
# start, the desktop entry, icons, metainfo, manual page and licence.
include(GNUInstallDirs)

set(CURDOVAR_GAMESDIR "games" CACHE STRING
  "Where the launcher goes, relative to the install prefix")
set(CURDOVAR_DATADIR "${CMAKE_INSTALL_DATADIR}/games/curdovar" CACHE STRING
  "Where the read-only data/ folder goes, relative to the install prefix")
set(CURDOVAR_BINARYDIR "${CMAKE_INSTALL_LIBEXECDIR}/curdovar" CACHE STRING
  "Where the game binary goes, relative to the install prefix")
# A font installed by the system is linked instead of copied (Debian's
# ttf-bitstream-vera); empty ships the copy in data/fonts.
set(debian_font /usr/share/fonts/truetype/ttf-bitstream-vera/VeraMono.ttf)
if(EXISTS ${debian_font})
  set(default_font ${debian_font})
endif()
set(CURDOVAR_SYSTEM_FONT "${default_font}" CACHE FILEPATH
  "Absolute path of a system VeraMono.ttf for the installed data to link")
# Screenshots and homepage in the metainfo; change it once the game has a public home.
set(CURDOVAR_HOMEPAGE "https://curdovar.example" CACHE STRING "The game's web page")
set(CURDOVAR_APP_ID "example.curdovar.Curdovar")

# The launcher finds the binary and the data relative to itself, so the same
# files work under /usr, /usr/local or a folder a package was unpacked into.
file(RELATIVE_PATH CURDOVAR_LAUNCHER_TO_BINARY "/prefix/${CURDOVAR_GAMESDIR}"
  "/prefix/${CURDOVAR_BINARYDIR}/curdovar")
file(RELATIVE_PATH CURDOVAR_LAUNCHER_TO_DATA "/prefix/${CURDOVAR_GAMESDIR}"
  "/prefix/${CURDOVAR_DATADIR}/data")
# The day the project version above was released, for the metainfo and the manual.
set(CURDOVAR_RELEASE_DATE 2026-12-07)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
configure_file(${packaging}/curdovar.in ${CMAKE_BINARY_DIR}/packaging/curdovar @ONLY)
configure_file(${packaging}/curdovar.6.in ${CMAKE_BINARY_DIR}/packaging/curdovar.6 @ONLY)
configure_file(${packaging}/curdovar.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/packaging/${CURDOVAR_APP_ID}.metainfo.xml @ONLY)

install(TARGETS curdovar RUNTIME DESTINATION ${CURDOVAR_BINARYDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/curdovar DESTINATION ${CURDOVAR_GAMESDIR})

set(data_dest ${CURDOVAR_DATADIR}/data)
install(DIRECTORY data/levels DESTINATION ${data_dest} FILES_MATCHING PATTERN "*.lvl")
install(DIRECTORY data/images DESTINATION ${data_dest}
  FILES_MATCHING PATTERN "*.bmp" PATTERN "*.png")
install(DIRECTORY data/sound DESTINATION ${data_dest}
  FILES_MATCHING PATTERN "*.wav" PATTERN "*.mp3" PATTERN "*.flac")
if(CURDOVAR_SYSTEM_FONT)
  install(DIRECTORY DESTINATION ${data_dest}/fonts)
  install(CODE "execute_process(COMMAND ${CMAKE_COMMAND} -E create_symlink
    \"${CURDOVAR_SYSTEM_FONT}\"
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${data_dest}/fonts/VeraMono.ttf\")
    message(STATUS \"Linking: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${data_dest}/fonts/VeraMono.ttf -> ${CURDOVAR_SYSTEM_FONT}\")")
else()
  install(FILES data/fonts/VeraMono.ttf DESTINATION ${data_dest}/fonts)
  install(FILES data/fonts/VeraMono-COPYRIGHT.txt DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

install(FILES ${packaging}/curdovar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  RENAME ${CURDOVAR_APP_ID}.desktop)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${CURDOVAR_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${packaging}/icons/curdovar-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME curdovar.png)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/packaging/curdovar.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
