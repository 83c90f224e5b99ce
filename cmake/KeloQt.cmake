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

add_library(kelo_gui STATIC
    ${CMAKE_SOURCE_DIR}/src/app/qt/CMainView.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CQtPrompts.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CDialogResume.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CDialogSet.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CDialogResumeAnswer.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CDialogResumeExit.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CResumeDialogs.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CStartGameDBus.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CHallClients.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CInstanceLock.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/CTableHost.cpp
    ${CMAKE_SOURCE_DIR}/src/app/qt/SkinFallback.cpp
    ${CMAKE_SOURCE_DIR}/src/base/qt/CSkinPictures.cpp
    ${CMAKE_SOURCE_DIR}/src/link/qt/SocketControl.cpp
    ${CMAKE_SOURCE_DIR}/src/ports/qt/CQtEventLoop.cpp
    ${CMAKE_SOURCE_DIR}/src/ports/qt/CQtSoundPlayer.cpp
    ${CMAKE_SOURCE_DIR}/src/social/qt/CChatWnd.cpp
    ${CMAKE_SOURCE_DIR}/src/social/qt/CPersonListWnd.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CBitmapViewer.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CButtonBoardWnd.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CChessBoardWnd.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CDialogInput.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CDialogResult.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CDialogVerify.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CGameMenu.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CNegotiationDlg.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CPromoteDlg.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CTableDialog.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/BoardFallback.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CChessBoardStudyWnd.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CChnBoardStudyImp.cpp
    ${CMAKE_SOURCE_DIR}/src/table/qt/CDialogManualWnd.cpp
    ${KELO_DBUS_SOURCES})
# The shell sits on top of every layer and sees the whole source tree.
target_include_directories(kelo_gui PUBLIC ${CMAKE_SOURCE_DIR}/src ${CMAKE_CURRENT_BINARY_DIR})
target_link_libraries(kelo_gui PUBLIC kelo_core Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network
                                      Qt6::DBus)

# The sounds' multimedia stack (Qt Multimedia with the sound server's and the codecs' libraries)
# is a module that the table loads on its first sound, so that the window starts without it.
if(TARGET Qt6::Multimedia)
    add_library(kelo-sound MODULE ${CMAKE_SOURCE_DIR}/src/ports/qt/CQtWaveEffects.cpp)
    target_include_directories(kelo-sound PRIVATE ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(kelo-sound PRIVATE Qt6::Multimedia)
    # kelo-sound.so beside kelo-chess in the build tree; lib/kelo-chess/ when installed.
    set_target_properties(kelo-sound PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY
                                                          ${CMAKE_BINARY_DIR})
    install(TARGETS kelo-sound LIBRARY DESTINATION lib/kelo-chess)
endif()

# The table client itself.
add_executable(kelo-chess ${CMAKE_SOURCE_DIR}/src/main.cpp)
target_link_libraries(kelo-chess PRIVATE kelo_gui)
if(TARGET kelo-sound)
    add_dependencies(kelo-chess kelo-sound)
endif()
