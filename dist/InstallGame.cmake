# Install-time copy of the program and of the game folder's data (everything the program reads beside itself),
# leaving out the build system's own files: the game folder doubles as CMake's binary folder for game/.
# Expects VELMORA_GAME_DIR, VELMORA_PROGRAM and VELMORA_STRIP from the install code that runs this script. The two
# folders below the prefix are read here, at install time, so one build installs in either layout:
#   VELMORA_INSTALL_BINDIR   the program's folder (default bin; the Debian package uses games)
#   VELMORA_INSTALL_DATADIR  the data's folder (default share/velmora-row; the package: share/games/velmora-row)
# The program finds its data in either (game/app/GameApp.cpp lists the places it looks).
if(NOT VELMORA_INSTALL_BINDIR)
    set(VELMORA_INSTALL_BINDIR bin)
endif()
if(NOT VELMORA_INSTALL_DATADIR)
    set(VELMORA_INSTALL_DATADIR share/velmora-row)
endif()

# file(INSTALL) puts $DESTDIR in front by itself.
set(bin "${CMAKE_INSTALL_PREFIX}/${VELMORA_INSTALL_BINDIR}")
file(INSTALL "${VELMORA_PROGRAM}" DESTINATION "${bin}" USE_SOURCE_PERMISSIONS)
if(CMAKE_INSTALL_DO_STRIP AND VELMORA_STRIP)
    get_filename_component(name "${VELMORA_PROGRAM}" NAME)
    execute_process(COMMAND "${VELMORA_STRIP}" --strip-unneeded --remove-section=.comment --remove-section=.note
                            "$ENV{DESTDIR}${bin}/${name}" COMMAND_ERROR_IS_FATAL ANY)
endif()

file(GLOB entries LIST_DIRECTORIES true "${VELMORA_GAME_DIR}/*")
foreach(entry IN LISTS entries)
    get_filename_component(name "${entry}" NAME)
    if(name MATCHES "^(CMakeFiles|Makefile|build\\.ninja|cmake_install\\.cmake|CTestTestfile\\.cmake|velmora)$"
       OR name MATCHES "\\.(a|o)$" OR EXISTS "${entry}/cmake_install.cmake")
        continue()
    endif()
    file(INSTALL "${entry}" DESTINATION "${CMAKE_INSTALL_PREFIX}/${VELMORA_INSTALL_DATADIR}" USE_SOURCE_PERMISSIONS)
endforeach()
