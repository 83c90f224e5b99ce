# SPDX-License-Identifier: GPL-3.0-or-later
# What `cmake --install` puts under the prefix, and the Debian package made from it with
# `cpack -G DEB`. The installed kelo-chess finds its data in ../share/kelo-chess/.
include(GNUInstallDirs)

# kelo_install_gzipped(FILE FOLDER) installs FILE compressed as FOLDER/NAME.gz, as Debian keeps
# manual pages and changelogs (gzip -n: no name or time stamp, so the bytes stay the same).
function(kelo_install_gzipped file folder)
    get_filename_component(name ${file} NAME)
    install(CODE "
        set(target \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${folder}/${name}.gz\")
        message(STATUS \"Installing: \${target}\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${folder}\")
        execute_process(COMMAND gzip -9n -c \"${file}\" OUTPUT_FILE \"\${target}\"
                        RESULT_VARIABLE status)
        if(status)
            message(FATAL_ERROR \"gzip ${file}: \${status}\")
        endif()")
endfunction()

set(KELO_INSTALLED_PROGRAMS kelo-chess kelo-record kelo-hall kelo-table-server kelo-bot
                             kelo-relay)
foreach(program ${KELO_INSTALLED_PROGRAMS})
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${KELO_INSTALL_PROGRAMDIR})
        kelo_install_gzipped(${CMAKE_SOURCE_DIR}/data/man/${program}.6
                             ${CMAKE_INSTALL_MANDIR}/man6)
    endif()
endforeach()

# The skin, the sounds and the head pictures drawn by data/make_skin.py, and the help page.
install(DIRECTORY ${CMAKE_BINARY_DIR}/skin ${CMAKE_BINARY_DIR}/sound ${CMAKE_BINARY_DIR}/room
                  ${CMAKE_BINARY_DIR}/help
        DESTINATION ${CMAKE_INSTALL_DATADIR}/kelo-chess PATTERN "generated.stamp" EXCLUDE)
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

# How the desktop and the hall find the program.
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/kelo-chess.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/kelo-chess.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/com.zandor.KeloChessGame.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
# The licence, as Debian keeps it for every package.
install(FILES ${CMAKE_SOURCE_DIR}/data/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/kelo-chess)
kelo_install_gzipped(${CMAKE_SOURCE_DIR}/data/debian/changelog ${CMAKE_INSTALL_DATADIR}/doc/kelo-chess)

# The bus starts the installed program: its path is known only once the prefix is.
install(CODE [[
    set(service "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/dbus-1/services/com.zandor.KeloChessGame.service")
    message(STATUS "Installing: ${service}")
    file(WRITE "${service}"
         "[D-BUS Service]\nName=com.zandor.KeloChessGame\nExec=${CMAKE_INSTALL_PREFIX}/games/kelo-chess -Embedding\n")
]])

# The Debian package: kelo-chess_<version>_amd64.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelo-chess)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_LICENSE GPL-3.0-or-later)
set(CPACK_PACKAGE_CONTACT "The Kelo Chess developers <dev@kelo-chess.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess table of the Kelo game hall")
set(CPACK_PACKAGE_DESCRIPTION
    "The table of an online game hall for chess: the board, the two players
with their clocks, the chat and the people at the table, the table's
negotiations, record files and a study board. A local table lets one
person play both sides, and the practice table plays against a UCI chess
engine (stockfish).
.
The tools: kelo-record reads and converts record files, kelo-hall stands
in for the hall, kelo-table-server is a game server for tests and
practice, kelo-bot plays at a table without a window, and kelo-relay is a
bad network link for tests.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://kelo-chess.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The skin's texts are drawn in WenQuanYi Micro Hei, which no shared library pulls in; Qt's own
# boxes and file dialogs take their Chinese words from Qt's catalogues.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei, qt6-translations-l10n")
# The practice table plays against a UCI engine; Debian's stockfish is the one it looks for first.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dbus-user-session, stockfish")
# No owner other than root, and nothing of the build folder in the package.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
