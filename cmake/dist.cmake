# The release archive, build/dist/Calendar-<version>-win32.zip: the library,
# the reference panel host, the public headers, the host guide, the sample
# host's source, the sample calendar file, the README and the changes of
# every version.
# `make dist` builds the two programs first; installing builds nothing else.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS Calendar PanelHost RUNTIME DESTINATION . LIBRARY DESTINATION .)
install(FILES plugin/caltool.h plugin/cal_protocol.h DESTINATION include)
install(FILES docs/hosting.md DESTINATION docs)
install(FILES samples/minimal-host/minimal_host.c samples/minimal-host/README.md
    DESTINATION samples/minimal-host)
install(FILES samples/holidays-and-appointments.ics DESTINATION samples)
install(FILES README.md CHANGES.md DESTINATION .)
# The host links libical: its licence texts travel with it.
install(FILES ${CAL_LIBICAL_LICENCES} DESTINATION licences/libical)

# The files the archive holds, relative to its top folder; the archive test
# compares the archive's listing with this one.
set(CAL_DIST_FILES
    Calendar.dll
    PanelHost.exe
    include/caltool.h
    include/cal_protocol.h
    docs/hosting.md
    samples/minimal-host/minimal_host.c
    samples/minimal-host/README.md
    samples/holidays-and-appointments.ics
    README.md
    CHANGES.md
    licences/libical/LICENSE
    licences/libical/LICENSE.LGPL21.txt
    licences/libical/LICENSE.MPL2.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Calendar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Calendar-${PROJECT_VERSION}-win32)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CAL_DIST_DIR ${CMAKE_SOURCE_DIR}/build/dist CACHE PATH "Where make dist puts the release archive")
set(CPACK_PACKAGE_DIRECTORY ${CAL_DIST_DIR})
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
include(CPack)
