# Native configuration: the platform-free code and its tests, under
# AddressSanitizer and UndefinedBehaviorSanitizer.
if(NOT CAL_TESTS)
    return()
endif()

option(CAL_SANITIZE "Build the native tests with ASan and UBSan" ON)
if(CAL_SANITIZE)
    set(cal_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_compile_options(cal_core PRIVATE ${cal_sanitizers})
    target_link_options(cal_core INTERFACE ${cal_sanitizers})
endif()

include(GoogleTest)

add_executable(native_tests ${CAL_CORE_TEST_SOURCES})
target_link_libraries(native_tests PRIVATE cal_core cal_warnings GTest::gtest_main)
if(CAL_SANITIZE)
    target_compile_options(native_tests PRIVATE ${cal_sanitizers})
endif()
gtest_discover_tests(native_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# The panel host's reading of calendar files, with the system's libical.
if(CAL_SANITIZE)
    target_compile_options(panelhost_events PRIVATE ${cal_sanitizers})
    target_link_options(panelhost_events INTERFACE ${cal_sanitizers})
endif()
add_executable(host_events_test ${CMAKE_SOURCE_DIR}/tests/native/host_events_test.cpp)
target_link_libraries(host_events_test PRIVATE panelhost_events cal_warnings GTest::gtest_main)
target_compile_definitions(host_events_test PRIVATE CAL_SAMPLES_DIR="${CMAKE_SOURCE_DIR}/samples")
if(CAL_SANITIZE)
    target_compile_options(host_events_test PRIVATE ${cal_sanitizers})
endif()
gtest_discover_tests(host_events_test DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)

# The native benchmarks of the platform-free core.
add_subdirectory(bench)
