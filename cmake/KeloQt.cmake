# SPDX-License-Identifier: GPL-3.0-or-later
# The Qt shell library; the executables that use it add their own targets.
set(CMAKE_AUTOMOC ON)
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network DBus Test)
# Sounds need Qt Multimedia; without it the table plays nothing. Only the kelo-sound module
# links it (see below).
find_package(Qt6 QUIET OPTIONAL_COMPONENTS Multimedia)

# The hall interface's adaptor is generated from the checked-in introspection file.
qt_add_dbus_adaptor(KELO_DBUS_SOURCES
    ${CMAKE_SOURCE_DIR}/src/app/qt/com.zandor.KeloChessGame.IStartGame.xml
    app/qt/CStartGameDBus.h kelo::CStartGameDBus istartgame_adaptor IStartGameAdaptor)

# Shell sources of one layer (paths under src/), compiled against that layer's include folder
# (src/CMakeLists.txt): like the core, a qt/ folder sees its own layer and those below it, with
# their qt/ folders, never a layer above. LIB is the shell library that takes the objects.
function(kelo_qt_layer lib layer)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_SOURCE_DIR}/src/)
    add_library(${lib}_${layer} OBJECT ${ARG_SOURCES})
    target_link_libraries(${lib}_${layer} PUBLIC kelo_${layer} ${ARG_LINKS})
    target_link_libraries(${lib} PUBLIC ${lib}_${layer})
endfunction()

# The platform's ports on QtCore and QtDBus, without a window: the event loop, a chess engine's
# process, the program's modules, the connection made from its module and the hall interface.
# The headless tools (kelo-bot, kelo-hall) link only these, with the socket below.
add_library(kelo_qt_ports STATIC)
set(KELO_QT_PORTS Qt6::Core Qt6::DBus)
kelo_qt_layer(kelo_qt_ports base SOURCES ports/qt/CQtEventLoop.cpp ports/qt/CQtEngineProcess.cpp
              base/qt/CProgramModule.cpp
              LINKS ${KELO_QT_PORTS})
kelo_qt_layer(kelo_qt_ports link SOURCES link/qt/CDeferredSocketControl.cpp
              LINKS ${KELO_QT_PORTS})
kelo_qt_layer(kelo_qt_ports app SOURCES app/qt/CStartGameDBus.cpp app/qt/CHallClients.cpp
              LINKS ${KELO_QT_PORTS})
# The generated adaptor and its header are in the build tree.
target_sources(kelo_qt_ports_app PRIVATE ${KELO_DBUS_SOURCES})
target_include_directories(kelo_qt_ports_app PRIVATE ${CMAKE_CURRENT_BINARY_DIR})

# The table's TCP connection on QtNetwork, for the tools that connect themselves; the table
# client takes it from the kelo-link module below.
add_library(kelo_qt_socket STATIC)
kelo_qt_layer(kelo_qt_socket link SOURCES link/qt/SocketControl.cpp LINKS Qt6::Core Qt6::Network)

# The windows, dialogs and sounds (QtWidgets, QtGui; the sounds' multimedia in a module).
add_library(kelo_gui STATIC)
target_link_libraries(kelo_gui PUBLIC kelo_qt_ports)
set(KELO_QT_GUI Qt6::Core Qt6::Gui Qt6::Widgets Qt6::DBus)
kelo_qt_layer(kelo_gui base SOURCES base/qt/CQtStockWords.cpp base/qt/CSkinPictures.cpp
              ports/qt/CQtSoundPlayer.cpp
              LINKS ${KELO_QT_GUI})
kelo_qt_layer(kelo_gui table
    SOURCES table/qt/CBitmapViewer.cpp table/qt/CButtonBoardWnd.cpp table/qt/CChessBoardWnd.cpp
            table/qt/CDialogInput.cpp table/qt/CDialogResult.cpp table/qt/CDialogVerify.cpp
            table/qt/CGameMenu.cpp table/qt/CNegotiationDlg.cpp table/qt/CPromoteDlg.cpp
            table/qt/CTableDialog.cpp table/qt/BoardFallback.cpp table/qt/CBoardAccessible.cpp
            table/qt/CMoveBoxWnd.cpp table/qt/CAnnouncer.cpp
            table/qt/CChessBoardStudyWnd.cpp table/qt/CChnBoardStudyImp.cpp
            table/qt/CDialogManualWnd.cpp
    LINKS ${KELO_QT_GUI})
kelo_qt_layer(kelo_gui social SOURCES social/qt/CChatWnd.cpp social/qt/CPersonListWnd.cpp
              LINKS ${KELO_QT_GUI})
kelo_qt_layer(kelo_gui app
    SOURCES app/qt/CMainView.cpp app/qt/CPaintedPart.cpp app/qt/CQtPrompts.cpp app/qt/CDialogResume.cpp
            app/qt/CDialogSet.cpp app/qt/CDialogResumeAnswer.cpp app/qt/CDialogResumeExit.cpp
            app/qt/CResumeDialogs.cpp app/qt/CInstanceLock.cpp app/qt/CTableHost.cpp
            app/qt/SkinFallback.cpp app/qt/CDesktopBrowser.cpp
            # A game against the computer: its dialog, the programs it starts.
            app/qt/CPracticeDialog.cpp app/qt/CPracticeLauncher.cpp app/qt/CChildProgram.cpp
    LINKS ${KELO_QT_GUI})

# The sounds' multimedia stack (Qt Multimedia with the sound server's and the codecs' libraries)
# is a module that the table loads on its first sound, so that the window starts without it.
if(TARGET Qt6::Multimedia)
    add_library(kelo-sound MODULE ${CMAKE_SOURCE_DIR}/src/ports/qt/CQtWaveEffects.cpp)
    target_include_directories(kelo-sound PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(kelo-sound PRIVATE Qt6::Multimedia)
    # kelo-sound.so beside kelo-chess in the build tree; lib/games/kelo-chess/ when installed.
    set_target_properties(kelo-sound PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY
                                                          ${CMAKE_BINARY_DIR})
    install(TARGETS kelo-sound LIBRARY DESTINATION ${KELO_INSTALL_MODULEDIR})
    # Nothing of it calls the C library itself, but a shared object must name it.
    target_link_options(kelo-sound PRIVATE LINKER:--push-state,--no-as-needed,-lc,--pop-state)
endif()

# The connection to a game server with Qt Network (and the proxy and Kerberos libraries under
# it), loaded when the table first connects: a local table never does.
add_library(kelo-link MODULE ${CMAKE_SOURCE_DIR}/src/link/qt/SocketControl.cpp
                             ${CMAKE_SOURCE_DIR}/src/link/qt/SocketModuleEntry.cpp)
target_include_directories(kelo-link PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(kelo-link PRIVATE Qt6::Core Qt6::Network)
set_target_properties(kelo-link PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
install(TARGETS kelo-link LIBRARY DESTINATION ${KELO_INSTALL_MODULEDIR})

# The table client itself.
add_executable(kelo-chess ${CMAKE_SOURCE_DIR}/src/main.cpp)
target_link_libraries(kelo-chess PRIVATE kelo_gui)
add_dependencies(kelo-chess kelo-link)
if(TARGET kelo-sound)
    add_dependencies(kelo-chess kelo-sound)
endif()
