# The iCalendar library the panel host reads calendars with, as the target
# cal_libical. Natively (tests, fuzzers, benchmarks) it is the system's own
# libical; for 32-bit Windows it is built here, static, from the source the
# bootstrap fetched (scripts/fetch-libical), and linked into the host alone.
if(NOT WIN32)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
    add_library(cal_libical INTERFACE)
    target_link_libraries(cal_libical INTERFACE PkgConfig::LIBICAL)
    return()
endif()

include(ExternalProject)
set(CAL_LIBICAL_VERSION 3.0.16)
set(CAL_LIBICAL_SOURCE ${CMAKE_SOURCE_DIR}/build/third_party/libical-${CAL_LIBICAL_VERSION}
    CACHE PATH "The libical source the bootstrap unpacked")
if(NOT EXISTS ${CAL_LIBICAL_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "no libical source at ${CAL_LIBICAL_SOURCE}: run scripts/bootstrap (or scripts/fetch-libical)")
endif()
set(cal_libical_prefix ${CMAKE_BINARY_DIR}/libical)
set(cal_libical_archive ${cal_libical_prefix}/lib/libical.a)
# Neither ICU nor Berkeley DB: the host needs the parser, the time zones of
# the files it reads and the recurrence rules, nothing else.
ExternalProject_Add(libical_build
    SOURCE_DIR ${CAL_LIBICAL_SOURCE}
    BINARY_DIR ${CMAKE_BINARY_DIR}/libical-build
    INSTALL_DIR ${cal_libical_prefix}
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        -DCMAKE_INSTALL_LIBDIR=lib
        -DSTATIC_ONLY=ON -DICAL_GLIB=OFF -DLIBICAL_BUILD_TESTING=OFF -DWITH_CXX_BINDINGS=OFF
        -DICAL_BUILD_DOCS=OFF -DUSE_BUILTIN_TZDATA=ON -DGOBJECT_INTROSPECTION=OFF
        -DCMAKE_DISABLE_FIND_PACKAGE_ICU=ON -DCMAKE_DISABLE_FIND_PACKAGE_BerkeleyDB=ON
    BUILD_BYPRODUCTS ${cal_libical_archive}
    LOG_CONFIGURE ON LOG_BUILD ON LOG_INSTALL ON LOG_OUTPUT_ON_FAILURE ON
)
file(MAKE_DIRECTORY ${cal_libical_prefix}/include)
add_library(cal_libical STATIC IMPORTED GLOBAL)
set_target_properties(cal_libical PROPERTIES
    IMPORTED_LOCATION ${cal_libical_archive}
    INTERFACE_INCLUDE_DIRECTORIES ${cal_libical_prefix}/include
    INTERFACE_COMPILE_DEFINITIONS LIBICAL_ICAL_STATIC_DEFINE
    # Built with the POSIX threads of the -posix compilers, linked statically.
    INTERFACE_LINK_LIBRARIES pthread)
add_dependencies(cal_libical libical_build)

# Its licence texts go into the release archive beside the host.
set(CAL_LIBICAL_LICENCES
    ${CAL_LIBICAL_SOURCE}/LICENSE
    ${CAL_LIBICAL_SOURCE}/LICENSE.LGPL21.txt
    ${CAL_LIBICAL_SOURCE}/LICENSE.MPL2.txt)
