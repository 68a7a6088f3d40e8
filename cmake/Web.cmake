# The browser build (configured through emcmake): WebAssembly and a script, shown by our own page in web/.
# It has no threads (so no special server headers are needed) and no emscripten ports (they download): pictures
# and sounds decode through the stb single-file codecs, there is no FreeType, and the blocking main loop and the
# loading task yield to the browser through asyncify.
set(VELMORA_BUILD_TESTS OFF CACHE BOOL "" FORCE)
set(VELMORA_BUILD_BENCH OFF CACHE BOOL "" FORCE)
set(VELMORA_BUILD_CONTENT OFF CACHE BOOL "" FORCE)
set(VELMORA_FUZZ OFF CACHE BOOL "" FORCE)

# The game's data is the desktop build's generated archive (the content generator is a desktop program).
set(VELMORA_WEB_DATA "${PROJECT_SOURCE_DIR}/build/game" CACHE PATH "Folder holding the generated main.pak")
# Where the site (page, script, WebAssembly, data) is put together.
set(VELMORA_WEB_SITE "${CMAKE_BINARY_DIR}/site" CACHE PATH "Folder of the static site")

# Exceptions are caught (resource lookups throw by design); everything else is plain C++.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# Link settings of the page's program: asyncify lets the blocking main loop and the loading fiber yield to the
# browser; the memory grows as the stores load; the game's data is one preloaded archive below /game; the page's
# file system keeps /persist in IndexedDB.
function(velmora_web_program target)
    set(flags
        -sASYNCIFY=1
        -sASYNCIFY_STACK_SIZE=262144
        -sALLOW_MEMORY_GROWTH=1
        -sINITIAL_MEMORY=67108864
        -sEXIT_RUNTIME=1
        -sENVIRONMENT=web
        -sFORCE_FILESYSTEM=1
        -lidbfs.js
        "-sEXPORTED_RUNTIME_METHODS=['FS','IDBFS','addRunDependency','removeRunDependency','callMain']"
        "-sEXPORTED_FUNCTIONS=['_main','_velmora_audio_fill']"
        --preload-file ${VELMORA_WEB_DATA}/main.pak@/game/main.pak)
    target_link_options(${target} PRIVATE ${flags})
    set_target_properties(${target} PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${VELMORA_WEB_SITE})
    # The archive is packed into the script's data file at link time: a new archive means a new link.
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${VELMORA_WEB_DATA}/main.pak)
    # Our own page (emscripten's page template needs a minifier that fails here).
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/web/index.html ${VELMORA_WEB_SITE}/index.html
        VERBATIM)
endfunction()
