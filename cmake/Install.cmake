# SPDX-License-Identifier: GPL-3.0-or-later
# Installs Tickbell like a desktop program:
#   <prefix>/lib/tickbell/                the program folder: tickbell, sound/, plug/config.txt, holidays.txt,
#                                         statutory-holidays.txt, and the tools plug/*.exe
#   <prefix>/bin/tickbell                 a relative symlink into the program folder
#   <prefix>/share/applications/          the menu entry
#   <prefix>/share/icons/hicolor/         the icon at the usual sizes
#   <prefix>/share/metainfo/              AppStream metadata
#   <prefix>/share/tickbell/autostart/    the start-at-login entry the user copies into ~/.config/autostart
#   <prefix>/share/doc/tickbell/          the user guide, the licence terms (Debian's machine-readable
#                                         copyright file) and the changelog
#   <prefix>/share/man/man1/              the manual page
# The program looks for its files beside its executable, and it resolves the bin/ symlink to find
# them, so the program folder stays whole. The folder is arch-dependent, hence lib/ rather than share/.
include(GNUInstallDirs)

set(TICKBELL_APP_ID org.tickbell.Tickbell)
set(TICKBELL_INSTALL_PROGRAMDIR lib/tickbell CACHE STRING "The program folder, relative to the install prefix")

install(TARGETS tickbell RUNTIME DESTINATION ${TICKBELL_INSTALL_PROGRAMDIR})
# The tools Tickbell starts by their Windows names (plug/clocktool.exe ...), executables here too.
install(TARGETS ${TICKBELL_TOOLS} RUNTIME DESTINATION ${TICKBELL_INSTALL_PROGRAMDIR}/plug)

foreach(file IN LISTS TICKBELL_ASSET_FILES)
    get_filename_component(subdir ${file} DIRECTORY)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/${file} DESTINATION ${TICKBELL_INSTALL_PROGRAMDIR}/${subdir})
endforeach()

# install(FILES) copies a symlink as a symlink.
file(RELATIVE_PATH link_target /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${TICKBELL_INSTALL_PROGRAMDIR}/tickbell)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install-links)
file(CREATE_LINK ${link_target} ${CMAKE_BINARY_DIR}/install-links/tickbell SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install-links/tickbell DESTINATION ${CMAKE_INSTALL_BINDIR})

set(packaging ${CMAKE_SOURCE_DIR}/packaging)
install(FILES ${packaging}/${TICKBELL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${packaging}/${TICKBELL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size IN ITEMS 16 22 24 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/tickbell-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${TICKBELL_APP_ID}.png)
endforeach()
# Not in /etc/xdg/autostart: starting at login is the user's choice, switched on by copying this
# file into ~/.config/autostart (the user guide gives the command).
install(FILES ${packaging}/${TICKBELL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/tickbell/autostart)
set(docdir ${CMAKE_INSTALL_DATADIR}/doc/tickbell)
install(FILES ${packaging}/README-user.md DESTINATION ${docdir} RENAME README.md)
install(FILES ${packaging}/copyright DESTINATION ${docdir})

# The changelog and the manual page go compressed, as Debian ships them: -9, and -n so that no
# file name or time stamp makes two builds differ.
find_program(TICKBELL_GZIP gzip REQUIRED)
function(tickbell_install_gzipped name destination)
    set(gz ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging}/${name})
    file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
    execute_process(COMMAND ${TICKBELL_GZIP} -9 -n -c ${packaging}/${name} OUTPUT_FILE ${gz}
        COMMAND_ERROR_IS_FATAL ANY)
    install(FILES ${gz} DESTINATION ${destination})
endfunction()
tickbell_install_gzipped(changelog ${docdir})
tickbell_install_gzipped(tickbell.1 ${CMAKE_INSTALL_MANDIR}/man1)

include(${packaging}/cpack.cmake)
