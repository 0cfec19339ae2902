# `make install` (cmake --install, honouring DESTDIR and CMAKE_INSTALL_PREFIX):
# the game binary and the level maker's editor, checker, solver and player
# model, the data
# read-only under share/, the launcher that players start, the desktop
# entries, icons, metainfo, manual pages and licence.
include(GNUInstallDirs)

set(CURDOVAR_GAMESDIR "games" CACHE STRING
  "Where the launcher goes, relative to the install prefix")
set(CURDOVAR_DATADIR "${CMAKE_INSTALL_DATADIR}/games/curdovar" CACHE STRING
  "Where the read-only data/ folder goes, relative to the install prefix")
set(CURDOVAR_BINARYDIR "${CMAKE_INSTALL_LIBEXECDIR}/curdovar" CACHE STRING
  "Where the game and tool binaries go, relative to the install prefix")
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
set(CURDOVAR_EDIT_APP_ID "example.curdovar.CurdovarEdit")

# The launcher is also the level maker's curdovar-edit and curdovar-lint
# (links to it): the programs behind them all need a folder whose data/ holds
# the game's images. Installed, it finds the programs and the data relative
# to itself, so the same files work under /usr, /usr/local or a folder a
# package was unpacked into.
file(RELATIVE_PATH CURDOVAR_LAUNCHER_TO_PROGRAMS "/prefix/${CURDOVAR_GAMESDIR}"
  "/prefix/${CURDOVAR_BINARYDIR}")
file(RELATIVE_PATH CURDOVAR_LAUNCHER_TO_DATA "/prefix/${CURDOVAR_GAMESDIR}"
  "/prefix/${CURDOVAR_DATADIR}/data")
# The day the project version above was released, for the metainfo and the manual.
set(CURDOVAR_RELEASE_DATE 2026-12-07)
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
configure_file(${packaging}/curdovar.in ${CMAKE_BINARY_DIR}/packaging/curdovar @ONLY)
foreach(page curdovar curdovar-edit curdovar-lint curdovar-difficulty)
  configure_file(${packaging}/${page}.6.in ${CMAKE_BINARY_DIR}/packaging/${page}.6 @ONLY)
endforeach()
configure_file(${packaging}/curdovar.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/packaging/${CURDOVAR_APP_ID}.metainfo.xml @ONLY)

# The same launcher for the build tree, aimed at the programs built here and
# the source's data: build/launcher/curdovar --levels FOLDER plays a pack
# without installing.
set(CURDOVAR_LAUNCHER_TO_PROGRAMS ${CMAKE_BINARY_DIR})
set(CURDOVAR_LAUNCHER_TO_DATA ${CMAKE_SOURCE_DIR}/data)
configure_file(${packaging}/curdovar.in ${CMAKE_BINARY_DIR}/packaging/build-tree/curdovar @ONLY)
file(COPY ${CMAKE_BINARY_DIR}/packaging/build-tree/curdovar DESTINATION ${CMAKE_BINARY_DIR}/launcher
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
  WORLD_READ WORLD_EXECUTE)
foreach(name curdovar-edit curdovar-lint curdovar-difficulty)
  file(CREATE_LINK curdovar ${CMAKE_BINARY_DIR}/launcher/${name} SYMBOLIC)
endforeach()

install(TARGETS curdovar curdovar-edit curdovar-lint curdovar-solve curdovar-difficulty
  RUNTIME DESTINATION ${CURDOVAR_BINARYDIR})
install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/curdovar DESTINATION ${CURDOVAR_GAMESDIR})
foreach(name curdovar-edit curdovar-lint curdovar-difficulty)
  install(CODE "execute_process(COMMAND ${CMAKE_COMMAND} -E create_symlink curdovar
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CURDOVAR_GAMESDIR}/${name}\")
    message(STATUS \"Linking: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CURDOVAR_GAMESDIR}/${name} -> curdovar\")")
endforeach()

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
install(FILES ${packaging}/curdovar-edit.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  RENAME ${CURDOVAR_EDIT_APP_ID}.desktop)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${CURDOVAR_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${packaging}/icons/curdovar-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME curdovar.png)
endforeach()
foreach(page curdovar curdovar-edit curdovar-lint curdovar-difficulty)
  install(FILES ${CMAKE_BINARY_DIR}/packaging/${page}.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
endforeach()
install(FILES LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR})
