# Small helpers shared by every CMakeLists of the project.

# Adds a subdirectory only when it has a CMakeLists.txt, so areas can appear one by one.
function(velmora_add_optional_subdirectory dir)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
        add_subdirectory(${dir})
    endif()
endfunction()

# Adds every listed subdirectory that exists.
function(velmora_add_subdirectories)
    foreach(dir IN LISTS ARGN)
        velmora_add_optional_subdirectory(${dir})
    endforeach()
endfunction()

# velmora_add_test(NAME test_xml SOURCES a.cpp b.cpp LIBS zestra_xml [PROPERTIES LABELS long TIMEOUT 300])
# One GoogleTest binary per area; every test runs headless (SDL dummy drivers, no sound device). PROPERTIES are
# further CTest properties of each of its tests.
function(velmora_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS;PROPERTIES" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} velmora_options GTest::gtest GTest::gtest_main)
    target_compile_definitions(${T_NAME} PRIVATE VELMORA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${T_NAME}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        # One value per property: the discovery flattens a list value into separate words.
        PROPERTIES ENVIRONMENT SDL_VIDEODRIVER=dummy ENVIRONMENT_MODIFICATION SDL_AUDIODRIVER=set:dummy ${T_PROPERTIES}
        DISCOVERY_TIMEOUT 60)
endfunction()

# velmora_add_fuzzer(NAME fuzz_xml SOURCES f.cpp LIBS zestra_xml CORPUS dir)
# libFuzzer target; the corpus folder is kept in the repository as the seed.
function(velmora_add_fuzzer)
    cmake_parse_arguments(F "" "NAME;CORPUS" "SOURCES;LIBS" ${ARGN})
    add_executable(${F_NAME} ${F_SOURCES})
    target_compile_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${F_NAME} PRIVATE ${F_LIBS} velmora_options)
    set_target_properties(${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
    get_filename_component(corpus "${F_CORPUS}" ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    set_property(GLOBAL APPEND PROPERTY VELMORA_FUZZERS "${F_NAME}|${corpus}")
endfunction()
