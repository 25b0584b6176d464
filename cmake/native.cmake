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

# The native benchmarks of the platform-free core.
add_subdirectory(bench)
