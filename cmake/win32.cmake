# Cross configuration: Calendar.dll, and the Windows tests that run under Wine.
enable_language(RC)

# The library's platform code, shared by the DLL and the tests that link
# its objects directly. Object files rather than an archive, so that the
# exports named only by the module-definition file are always linked in.
add_library(cal_win32 OBJECT
    plugin/module.cpp
    plugin/entry_points.cpp
    tool/tool_settings.cpp
    tool/tool_create.cpp
    tool/screen_density.cpp
    tool/tool_window.cpp
    tool/shown_month.cpp
    tool/background_request.cpp
    tool/commands.cpp
    tool/context_menu.cpp
    tool/host_requests.cpp
    tool/ideal_size.cpp
    tool/tool_view.cpp
    tool/day_marks.cpp
    tool/day_text.cpp
    tool/day_tip.cpp
    tool/selection.cpp
    tool/accessible.cpp
    view/month_text.cpp
    view/text_font.cpp
    view/month_paint.cpp
    dialogs/labels.cpp
    dialogs/font_choice.cpp
    dialogs/about_box.cpp
    dialogs/properties_page.cpp
)
target_include_directories(cal_win32 PUBLIC ${CMAKE_SOURCE_DIR}/resources)
target_link_libraries(cal_win32 PUBLIC cal_core cal_version comctl32 comdlg32 oleacc ole32 oleaut32 uuid PRIVATE cal_warnings)

add_library(Calendar SHARED
    plugin/dll_entry.cpp
    plugin/Calendar.def
    resources/calendar.rc
)
target_link_libraries(Calendar PRIVATE cal_win32 cal_warnings)
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
# Every run of a GoogleTest program leaves its cases' results here, as JSON
# named after the run (a path the programs read through Wine's drive Z:).
set(CAL_GTEST_RESULTS ${CMAKE_BINARY_DIR}/gtest-results)

# On a machine that runs no 32-bit programs, Wine's 32-bit half runs through
# qemu's user-mode emulator (scripts/enable-32bit): every Windows process then
# takes tens of seconds to start and runs several times slower. The time
# limits stretch by this factor, and the long runs shorten (their figures say
# what ran).
option(CAL_EMULATED "32-bit programs run through an emulator" OFF)
set(CAL_TIMEOUT_SCALE 1)
if(CAL_EMULATED)
    set(CAL_TIMEOUT_SCALE 8)
endif()
# Where every Windows process costs a minute or two of emulation, the whole
# suite does not fit in a run of reasonable length: only the runs below do,
# chosen so that every part is exercised once, in as few processes as will
# do it: the tool window; the keyboard; the screen readers; the locale sweep
# in a mirrored script; the panel host on another screen (144 dots per
# inch), which is also the panel host's run; and a sixth of the injected
# failures (the menu, the properties page and the settings under every
# failing call). The summary names every run left out. Where 32-bit programs
# run natively, all run.
set(CAL_RUN_WHEN_EMULATED tool_window_test keyboard_test accessibility_test locale_sweep_test_he_IL
    host_screens_dpi144 injected_failures_5)

# Whether a run is left out on this machine; if so, it is listed for the summary.
function(cal_left_out test result_var)
    set(left_out FALSE)
    if(CAL_EMULATED AND NOT test IN_LIST CAL_RUN_WHEN_EMULATED)
        set_property(GLOBAL APPEND PROPERTY CAL_LEFT_OUT ${test})
        set(left_out TRUE)
    endif()
    set(${result_var} ${left_out} PARENT_SCOPE)
endfunction()

# With COMCTL6 the program is built a second time, NAME_cc6, with a process
# manifest that asks for common controls 6, and runs again as a test of its
# own; both builds also check which generation the library really got.
function(cal_wine_test name)
    cmake_parse_arguments(T "COMCTL6;LOADS_LIBRARY" "TIMEOUT;LOCALE" "SOURCES;LIBS;ARGS" ${ARGN})
    # LOADS_LIBRARY: the program loads the built library, named as its last argument.
    if(T_LOADS_LIBRARY)
        list(APPEND T_ARGS $<TARGET_FILE:Calendar>)
    endif()
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    if(NOT T_LOCALE)
        set(T_LOCALE en_US.UTF-8)
    endif()
    set(builds ${name})
    if(T_COMCTL6)
        list(APPEND builds ${name}_cc6)
        set(T_SOURCES ${T_SOURCES} ${CMAKE_SOURCE_DIR}/tests/win32/comctl_generation_test.cpp)
    endif()
    foreach(program ${builds})
        add_executable(${program} ${T_SOURCES})
        target_link_libraries(${program} PRIVATE ${T_LIBS} cal_warnings GTest::gtest)
        target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR}/resources)
        cal_wine_run(${program} ${program} ${T_TIMEOUT} ${T_LOCALE} ${T_ARGS})
        if(T_LOADS_LIBRARY)
            add_dependencies(${program} Calendar)
        endif()
    endforeach()
    if(T_COMCTL6)
        target_sources(${name}_cc6 PRIVATE ${CMAKE_SOURCE_DIR}/tests/win32/support/comctl6.rc)
        target_compile_definitions(${name}_cc6 PRIVATE CAL_TEST_COMCTL_MAJOR=6)
        add_dependencies(${name}_cc6 Calendar)
    endif()
endfunction()

# Registers a run of a Windows test program, unless this machine leaves it
# out: cal_add_wine_run(TEST TIMEOUT ENVIRONMENT COMMAND...), the time limit
# stretched where 32-bit programs are emulated. Whether it ran is read from
# GoogleTest's own summary, never from the exit status alone: Wine reports
# some crashes with status 0.
function(cal_add_wine_run test timeout environment)
    cal_left_out(${test} left_out)
    if(left_out)
        return()
    endif()
    math(EXPR timeout "${timeout} * ${CAL_TIMEOUT_SCALE}")
    add_test(NAME ${test} COMMAND ${ARGN})
    set_tests_properties(${test} PROPERTIES
        TIMEOUT ${timeout}
        ENVIRONMENT "${environment};CAL_TIME_SCALE=${CAL_TIMEOUT_SCALE};GTEST_OUTPUT=json:Z:${CAL_GTEST_RESULTS}/${test}.json"
        FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]"
        PASS_REGULAR_EXPRESSION "\\[  PASSED  \\]")
endfunction()

# Registers one more run of a Windows test program, for instance in another locale.
function(cal_wine_run test program timeout locale)
    cal_add_wine_run(${test} ${timeout} "LC_ALL=${locale}" ${program} ${ARGN})
    if(NOT TEST ${test})
        return()
    endif()
    # Wine keeps the user's locale settings in the prefix's registry and
    # rewrites them whenever a process of another locale starts: a run in
    # another locale beside the others once read German names in the English
    # date pattern. Such runs have the prefix to themselves.
    if(NOT locale STREQUAL "en_US.UTF-8")
        set_tests_properties(${test} PROPERTIES RUN_SERIAL TRUE)
    endif()
endfunction()

# The prefix of a screen's runs, and the setting it is made with: the usual
# prefix for "standard"; for the others (dpi120, dpi144, dpi192: a density;
# contrast: the high-contrast scheme; colours: a standard prefix for the runs
# that change the system's colours while they run) a prefix of their own, set
# when it is made (scripts/wine-run) so that no run on the usual prefix ever
# sees it, and listed for the test run to make and serve (scripts/run-tests).
function(cal_screen_prefix screen prefix_var setting_var)
    if(screen STREQUAL "standard")
        set(${prefix_var} ${CAL_WINEPREFIX} PARENT_SCOPE)
        set(${setting_var} "" PARENT_SCOPE)
        return()
    endif()
    set(setting "CAL_SCREEN=${screen}")
    if(screen MATCHES "^dpi([0-9]+)$")
        set(setting "CAL_LOGPIXELS=${CMAKE_MATCH_1}")
    elseif(screen STREQUAL "contrast")
        set(setting "CAL_SCHEME=high-contrast")
    endif()
    set_property(GLOBAL APPEND PROPERTY CAL_SCREEN_PREFIXES "wineprefix-${screen} ${setting}")
    set(${prefix_var} ${CMAKE_BINARY_DIR}/wineprefix-${screen} PARENT_SCOPE)
    set(${setting_var} ${setting} PARENT_SCOPE)
endfunction()

# Registers a run of a Windows test program on another screen.
function(cal_wine_screen_run test screen timeout program)
    # Only the prefixes of runs that run here are made and served.
    if(NOT CAL_EMULATED OR test IN_LIST CAL_RUN_WHEN_EMULATED)
        cal_screen_prefix(${screen} prefix setting)
    endif()
    cal_add_wine_run(${test} ${timeout} "LC_ALL=en_US.UTF-8;${setting}"
        ${CMAKE_SOURCE_DIR}/scripts/wine-run ${prefix} $<TARGET_FILE:${program}> ${ARGN})
endfunction()

# Registers a run of the panel host's picture mode in a prefix, with the
# environment given: it writes the PNG picture and, beside it under the same
# name ending .txt, the host's report of where each calendar lies.
function(cal_host_picture_run test picture prefix environment)
    string(REGEX REPLACE "\\.png$" ".txt" report ${picture})
    get_filename_component(name ${picture} NAME)
    string(REPLACE "." "\\." name ${name})
    add_test(NAME ${test}
        COMMAND sh -c "\"$0\" \"$@\" >\"${report}\"; s=$?; cat \"${report}\"; exit $s"
            ${CMAKE_SOURCE_DIR}/scripts/wine-run ${prefix} $<TARGET_FILE:PanelHost> --screenshot Z:${picture})
    set_tests_properties(${test} PROPERTIES
        TIMEOUT 60
        ENVIRONMENT "${environment}"
        PASS_REGULAR_EXPRESSION "picture .*${name} [0-9]+x[0-9]+")
endfunction()

# The reference panel host, the sample host written for host developers,
# and what the release archive holds.
add_subdirectory(host)
add_subdirectory(samples/minimal-host)
include(cmake/dist.cmake)

if(NOT CAL_TESTS)
    return()
endif()

# What the Windows tests and the benchmark share, without GoogleTest: a
# host's way of loading the library, a recording parent window, counting of
# what a module makes and releases, import hooks and the fault injector, modal
# loops driven from inside, pictures read from surfaces, the screen and the
# library's transfers, and a host run as a process of its own.
add_library(cal_win32_support STATIC
    tests/win32/support/import_hooks.cpp
    tests/win32/support/resource_ledger.cpp
    tests/win32/support/test_parent.cpp
    tests/win32/support/plugin_loader.cpp
    tests/win32/support/modal_driver.cpp
    tests/win32/support/fault_table.cpp
    tests/win32/support/fault_injection.cpp
    tests/win32/support/comctl_generation.cpp
    tests/win32/support/record_guard.cpp
    tests/win32/support/tool_record.cpp
    tests/win32/support/screen_capture.cpp
    tests/win32/support/transfer_capture.cpp
    tests/win32/support/menu_look.cpp
    tests/win32/support/process_resources.cpp
    tests/win32/support/host_process.cpp
    tests/win32/support/test_files.cpp
    tests/win32/support/png_decode.cpp
)
target_include_directories(cal_win32_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(cal_win32_support PUBLIC cal_core windowscodecs ole32 uuid PRIVATE cal_warnings)

# Keeps a prefix's desktop in use while the tests run (scripts/run-tests).
add_executable(desktop_keeper WIN32 tests/win32/support/desktop_keeper.cpp)
target_link_libraries(desktop_keeper PRIVATE cal_warnings)

# The part that uses GoogleTest: the tests' main, the base of the tool window
# tests and the expectations they share.
add_library(cal_test_support STATIC
    tests/win32/support/test_main.cpp
    tests/win32/support/tool_test.cpp
    tests/win32/support/ledger_expectations.cpp
)
target_link_libraries(cal_test_support PUBLIC cal_win32_support GTest::gtest PRIVATE cal_warnings)

# The platform-free tests once more, built for the 32-bit target.
cal_wine_test(core_tests_win32
    SOURCES ${CAL_CORE_TEST_SOURCES}
    LIBS cal_core GTest::gtest_main)

cal_wine_test(layout_records_test
    SOURCES tests/win32/layout_records_test.cpp tests/win32/caltool_header_check.c
    LIBS cal_win32 GTest::gtest_main)

cal_wine_test(resources_test
    SOURCES tests/win32/resources_test.cpp
    LIBS cal_test_support cal_version version
    LOADS_LIBRARY)

# The entry points, in a process of their own: the first enumeration
# happens once per process.
cal_wine_test(entry_points_test
    SOURCES tests/win32/entry_points_test.cpp
    LIBS cal_test_support
    LOADS_LIBRARY)

# Tool windows made by the built library and driven as a host drives them.
cal_wine_test(tool_window_test
    COMCTL6
    SOURCES tests/win32/tool_window_test.cpp
    LIBS cal_test_support
    LOADS_LIBRARY)

# The tool driven from the keyboard alone: focus, keys, the menu, the mark.
cal_wine_test(keyboard_test
    COMCTL6
    SOURCES tests/win32/keyboard_test.cpp
    LIBS cal_test_support
    LOADS_LIBRARY
    TIMEOUT 180)
# The two builds focus tools and open menus from the keyboard, and their keys
# go to the active window: each runs alone, since any other run's window or
# menu may take the activation.
foreach(test keyboard_test keyboard_test_cc6)
    if(TEST ${test})
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK keyboard_focus RUN_SERIAL TRUE)
    endif()
endforeach()

# The tool and the system: clipped spinners, printing, clock, locale and
# colour broadcasts.
cal_wine_test(system_events_test
    SOURCES tests/win32/system_events_test.cpp
    LIBS cal_test_support
    LOADS_LIBRARY
    TIMEOUT 180)

# The month view painted into memory surfaces, checked pixel by pixel, with
# the library's objects linked in.
cal_wine_test(month_paint_test
    SOURCES tests/win32/month_paint_test.cpp
    LIBS cal_win32 cal_test_support GTest::gtest_main)

# The locale's texts of the month view, in three locales: a Western one, one
# with other names and one in another script.
cal_wine_test(month_text_test
    SOURCES tests/win32/month_text_test.cpp
    LIBS cal_win32 cal_test_support GTest::gtest_main)
cal_wine_run(month_text_test_de month_text_test 120 de_DE.UTF-8)
cal_wine_run(month_text_test_ja month_text_test 120 ja_JP.UTF-8)

# What a built library exports and imports, read from the file itself.
add_test(NAME dll_interface
    COMMAND ${CMAKE_COMMAND}
        -DOBJDUMP=${CMAKE_OBJDUMP}
        -DDLL=$<TARGET_FILE:Calendar>
        -DEXPORTS=CalToolCleanup,CalToolCreate,EnumeratePanelTypes,InitCalToolType
        -P ${CMAKE_SOURCE_DIR}/tests/win32/check_dll_interface.cmake)
set_tests_properties(dll_interface PROPERTIES TIMEOUT 60)

# The context menu and its commands, driven through the real popup menu, in
# two locales.
cal_wine_test(context_menu_test
    COMCTL6
    SOURCES tests/win32/context_menu_test.cpp
    LIBS cal_test_support
    LOADS_LIBRARY
    TIMEOUT 300)
cal_wine_run(context_menu_test_de context_menu_test 300 de_DE.UTF-8 $<TARGET_FILE:Calendar>)

# The About box and the properties page, with the library's objects and
# resources linked in so that the page's process-wide binding can be read.
cal_wine_test(dialogs_test
    COMCTL6
    SOURCES tests/win32/dialogs_test.cpp resources/calendar.rc
    LIBS cal_win32 cal_test_support
    TIMEOUT 300)
cal_wine_run(dialogs_test_de dialogs_test 300 de_DE.UTF-8)

# The tool as screen readers read it, through the platform's accessibility
# calls, in two locales.
cal_wine_test(accessibility_test
    SOURCES tests/win32/accessibility_test.cpp
    LIBS cal_test_support cal_core oleacc ole32 oleaut32 uuid
    LOADS_LIBRARY)
cal_wine_run(accessibility_test_de accessibility_test 120 de_DE.UTF-8 $<TARGET_FILE:Calendar>)
# They focus a tool and read the focus and its events from the selected day:
# a window another run brought up took the activation, and the focus with
# it, between a key and its events, twice (once with the lock alone). They
# run alone, as the keyboard runs do; each takes about a second.
foreach(test accessibility_test accessibility_test_de)
    if(TEST ${test})
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK keyboard_focus RUN_SERIAL TRUE)
    endif()
endforeach()

# The host's requests: settings, page creation, preferred and fitted sizes.
cal_wine_test(host_requests_test
    COMCTL6
    SOURCES tests/win32/host_requests_test.cpp
    LIBS cal_test_support
    LOADS_LIBRARY
    TIMEOUT 300)

# The tool's texts in eighteen locales, read where it draws them: one
# program, run once in each locale, one run at a time.
cal_wine_test(locale_sweep_test
    SOURCES tests/win32/locales/locale_sweep_test.cpp
    LIBS cal_test_support cal_core
    LOADS_LIBRARY)
foreach(locale de_DE fr_FR ru_RU el_GR pl_PL cs_CZ tr_TR he_IL ar_EG fa_IR th_TH hi_IN vi_VN zh_CN zh_TW
        ja_JP ko_KR)
    cal_wine_run(locale_sweep_test_${locale} locale_sweep_test 120 ${locale}.UTF-8 $<TARGET_FILE:Calendar>)
endforeach()

# A tool in a mirrored panel beside one in an ordinary panel, read from the
# screen cell by cell and through the screen reader's object.
cal_wine_test(mirrored_view_test
    SOURCES tests/win32/locales/mirrored_view_test.cpp
    LIBS cal_test_support cal_core oleacc ole32 oleaut32 uuid
    LOADS_LIBRARY)
# The English sweep opens the tool's menu and page, and the mirrored view
# shows windows on top: neither runs beside the keyboard runs, whose keys go
# to whichever window is active. The mirrored view reads the screen, which
# another run's dialog once covered: it runs alone.
foreach(test locale_sweep_test mirrored_view_test)
    if(TEST ${test})
        set_tests_properties(${test} PROPERTIES RESOURCE_LOCK keyboard_focus)
    endif()
endforeach()
if(TEST mirrored_view_test)
    set_tests_properties(mirrored_view_test PROPERTIES RUN_SERIAL TRUE)
endif()

# The tool on dense screens: the run on the usual prefix (96 dots per inch)
# leaves its picture of a standard block for the runs at 120, 144 and 192.
set(dense_picture ${CMAKE_BINARY_DIR}/screens/standard-block.bin)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/screens)
cal_wine_test(dense_display_test
    SOURCES tests/win32/screens/dense_display_test.cpp
    LIBS cal_test_support cal_core
    ARGS ${dense_picture}
    LOADS_LIBRARY)
if(TEST dense_display_test)
    set_tests_properties(dense_display_test PROPERTIES FIXTURES_SETUP dense_standard)
    foreach(dpi 120 144 192)
        cal_wine_screen_run(dense_display_test_dpi${dpi} dpi${dpi} 120 dense_display_test ${dense_picture}
            $<TARGET_FILE:Calendar>)
        set_tests_properties(dense_display_test_dpi${dpi} PROPERTIES FIXTURES_REQUIRED dense_standard)
    endforeach()
endif()

# Today's mark in several colour schemes, set while the run lasts.
add_executable(high_contrast_test tests/win32/screens/high_contrast_test.cpp)
target_link_libraries(high_contrast_test PRIVATE cal_test_support cal_core cal_warnings GTest::gtest)
add_dependencies(high_contrast_test Calendar)
cal_wine_screen_run(high_contrast_test colours 120 high_contrast_test $<TARGET_FILE:Calendar>)

# A tool painted under each generation of the common controls and the two
# pictures compared: the plain program starts its twin, built with the
# common controls 6 manifest, which paints in a process of its own.
add_executable(comctl_picture_cc6 tests/win32/comctl_picture_test.cpp tests/win32/support/comctl6.rc)
target_compile_definitions(comctl_picture_cc6 PRIVATE CAL_TEST_COMCTL_MAJOR=6)
target_link_libraries(comctl_picture_cc6 PRIVATE cal_test_support cal_warnings GTest::gtest)
cal_wine_test(comctl_picture_test
    SOURCES tests/win32/comctl_picture_test.cpp
    LIBS cal_test_support
    ARGS $<TARGET_FILE:comctl_picture_cc6> $<TARGET_FILE:Calendar>)
add_dependencies(comctl_picture_test comctl_picture_cc6 Calendar)

# The panel host's and the sample host's end-to-end runs, the guide checked
# against the header, the release archive run from an empty folder, the
# benchmarks, and the long runs of hostile input and soak.
add_subdirectory(tests/win32/host)
add_subdirectory(tests/win32/kit)
add_subdirectory(bench)
add_subdirectory(tests/win32/robustness)
add_subdirectory(tests/win32/faults)
# The pictures of the world's calendars and of the panel on other screens.
foreach(picture world screens)
    cal_left_out(${picture}_picture left_out)
    if(NOT left_out)
        include(cmake/${picture}.cmake)
    endif()
endforeach()

# The prefixes of the other screens, each with the setting it is made with:
# the test run makes them and starts their servers before any test runs
# (scripts/run-tests), as it does for the usual prefix.
get_property(screen_prefixes GLOBAL PROPERTY CAL_SCREEN_PREFIXES)
list(REMOVE_DUPLICATES screen_prefixes)
string(REPLACE ";" "\n" screen_prefixes "${screen_prefixes}")
file(WRITE ${CMAKE_BINARY_DIR}/screen-prefixes.txt "${screen_prefixes}\n")

# What was left out here, for the summary of the test run.
get_property(left_out GLOBAL PROPERTY CAL_LEFT_OUT)
string(REPLACE ";" " " left_out "${left_out}")
file(WRITE ${CMAKE_BINARY_DIR}/left-out-tests.txt "${left_out}\n")
