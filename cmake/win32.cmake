# Cross configuration: Calendar.dll, and the Windows tests that run under Wine.
enable_language(RC)

# The library's platform code, shared by the DLL and the tests that link
# its objects directly.
add_library(cal_win32 STATIC
    tool/tool_settings.cpp
)
target_link_libraries(cal_win32 PUBLIC cal_core PRIVATE cal_warnings)

add_library(Calendar SHARED
    plugin/dll_entry.cpp
    resources/calendar.rc
)
target_link_libraries(Calendar PRIVATE cal_win32 cal_warnings)
target_include_directories(Calendar PRIVATE ${CMAKE_SOURCE_DIR}/resources)
set_target_properties(Calendar PROPERTIES
    PREFIX ""
    OUTPUT_NAME Calendar
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}
)
# Export only what the module-definition file lists, never every symbol.
target_link_options(Calendar PRIVATE -Wl,--exclude-all-symbols)

# Windows tests run under Wine through this emulator, with a prefix of the
# build's own. Each program is one CTest test: a Wine start costs a second.
set(CAL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run ${CAL_WINEPREFIX})

function(cal_wine_test name)
    cmake_parse_arguments(T "" "TIMEOUT;LOCALE" "SOURCES;LIBS;ARGS" ${ARGN})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    if(NOT T_LOCALE)
        set(T_LOCALE en_US.UTF-8)
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} cal_warnings GTest::gtest)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/resources)
    add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "LC_ALL=${T_LOCALE}"
        FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

# The platform-free tests once more, built for the 32-bit target.
cal_wine_test(core_tests_win32
    SOURCES
        tests/native/calendar_test.cpp
        tests/native/week_number_test.cpp
        tests/native/month_layout_test.cpp
        tests/native/fit_size_test.cpp
    LIBS cal_core GTest::gtest_main)

cal_wine_test(layout_records_test
    SOURCES tests/win32/layout_records_test.cpp tests/win32/caltool_header_check.c
    LIBS cal_win32 GTest::gtest_main)

cal_wine_test(resources_test
    SOURCES tests/win32/resources_test.cpp
    LIBS version
    ARGS $<TARGET_FILE:Calendar>)
add_dependencies(resources_test Calendar)

# What the built library exports and imports, read from the file itself.
add_test(NAME dll_interface
    COMMAND ${CMAKE_COMMAND}
        -DOBJDUMP=${CMAKE_OBJDUMP}
        -DDLL=$<TARGET_FILE:Calendar>
        -P ${CMAKE_SOURCE_DIR}/tests/win32/check_dll_interface.cmake)
set_tests_properties(dll_interface PROPERTIES TIMEOUT 60)
