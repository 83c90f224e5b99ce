# The Qt shell library; the executables that use it add their own targets.
set(CMAKE_AUTOMOC ON)
find_package(Qt6 REQUIRED COMPONENTS Core Network)
add_library(kelo_gui STATIC ${KELO_GUI_SOURCES})
target_link_libraries(kelo_gui PUBLIC kelo_core Qt6::Core Qt6::Network)
