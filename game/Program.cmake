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
target_link_libraries(velmora PRIVATE velmora_options zestra_app zestra_sdl zestra_headless game_app game_diag)
foreach(dep game_menus)
    if(TARGET ${dep})
        target_link_libraries(velmora PRIVATE ${dep})
    endif()
endforeach()
set_target_properties(velmora PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VELMORA_GAME_DIR})

# Installation keeps the same shape: program and data together in one private folder (the program finds its data
# beside its own file), a command in bin linking to it, and the desktop entry and icon where desktops look.
set(VELMORA_INSTALL_GAME_DIR ${CMAKE_INSTALL_LIBDIR}/velmora-row)
install(TARGETS velmora RUNTIME DESTINATION ${VELMORA_INSTALL_GAME_DIR})
install(CODE "set(VELMORA_GAME_DIR \"${VELMORA_GAME_DIR}\")
    set(VELMORA_INSTALL_GAME_DIR \"${VELMORA_INSTALL_GAME_DIR}\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/../dist/InstallGameData.cmake)
file(RELATIVE_PATH VELMORA_BIN_TO_GAME ${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}
     ${CMAKE_INSTALL_PREFIX}/${VELMORA_INSTALL_GAME_DIR}/velmora)
install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK \"${VELMORA_BIN_TO_GAME}\" \"\${bin}/velmora\" SYMBOLIC)
    message(STATUS \"Installing: \${bin}/velmora -> ${VELMORA_BIN_TO_GAME}\")")
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../dist/velmora-row.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/../dist/velmora-row.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
