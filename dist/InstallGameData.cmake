# Install-time copy of the game folder's data (everything the program reads beside itself), leaving out the build
# system's own files: the game folder doubles as CMake's binary folder for game/. Expects VELMORA_GAME_DIR and
# VELMORA_INSTALL_GAME_DIR (relative to the prefix) to be set by the install code that runs this script.
file(GLOB entries LIST_DIRECTORIES true "${VELMORA_GAME_DIR}/*")
set(destination "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${VELMORA_INSTALL_GAME_DIR}")
foreach(entry IN LISTS entries)
    get_filename_component(name "${entry}" NAME)
    if(name MATCHES "^(CMakeFiles|Makefile|build\\.ninja|cmake_install\\.cmake|CTestTestfile\\.cmake|velmora)$"
       OR name MATCHES "\\.(a|o)$" OR EXISTS "${entry}/cmake_install.cmake")
        continue()
    endif()
    file(INSTALL "${entry}" DESTINATION "${destination}" USE_SOURCE_PERMISSIONS)
endforeach()
