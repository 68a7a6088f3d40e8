# The game's application object and its start-up screens.
add_library(game_app STATIC
    ${CMAKE_CURRENT_LIST_DIR}/app/GameApp.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/LogoBall.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/LogoLetter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/LogoScreen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/DistributorScreen.cpp
    ${CMAKE_CURRENT_LIST_DIR}/app/TitleScreen.cpp)
target_link_libraries(game_app PUBLIC velmora_options zestra_app game_flow game_shop game_menus game_tutorial game_shopday
    game_store game_people game_data game_profile game_res)

# The program `velmora`: built into the game folder beside its data, so it runs from the build tree as it is.
add_executable(velmora ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
if(EMSCRIPTEN)
    target_link_libraries(velmora PRIVATE velmora_options zestra_app zestra_web zestra_headless game_app game_diag)
else()
    target_link_libraries(velmora PRIVATE velmora_options zestra_app zestra_sdl zestra_headless game_app game_diag)
endif()
foreach(dep game_menus)
    if(TARGET ${dep})
        target_link_libraries(velmora PRIVATE ${dep})
    endif()
endforeach()
set_target_properties(velmora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_GAME_DIR})
if(EMSCRIPTEN)
    # The browser build's program is a script with its WebAssembly and data, put together as a site.
    velmora_web_program(velmora)
else()
    # Resolve every library symbol at start and make the table read-only, as Debian builds its programs.
    target_link_options(velmora PRIVATE LINKER:-z,relro,-z,now)
    # The crash report's backtrace names the program's own functions only when they are in its dynamic table.
    set_target_properties(velmora PROPERTIES ENABLE_EXPORTS ON)
endif()

# Installation: the program in bin/ and its data in share/velmora-row/ by default; dist/InstallGame.cmake says how
# to choose both folders at install time (the Debian package does). The desktop entry and icon go where desktops
# look.
install(CODE "set(VELMORA_GAME_DIR \"${VELMORA_GAME_DIR}\")
    set(VELMORA_PROGRAM \"$<TARGET_FILE:velmora>\")
    set(VELMORA_STRIP \"${CMAKE_STRIP}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/../dist/InstallGame.cmake)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../dist/velmora-row.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../dist/velmora-row.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
