# Checks the release archive as a host developer meets it: exactly the files
# it should hold; unpacked into an empty folder outside the build tree, the
# sample compiles from it as C with warnings as errors against its headers;
# from that folder the panel host writes a valid compressed picture and the
# sample host passes its end-to-end run with nothing loaded from elsewhere.
cmake_minimum_required(VERSION 3.20)
if(NOT EXISTS "${ARCHIVE}")
    message(FATAL_ERROR "no archive ${ARCHIVE}: `make dist` makes it")
endif()

function(run what)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY "${folder}"
        RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
    message("${out}${err}")
    if(NOT rc EQUAL 0 OR out MATCHES "\\[  FAILED  \\]")
        message(FATAL_ERROR "${what} failed (${rc})")
    endif()
endfunction()

# The listing: files only, in any order.
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf "${ARCHIVE}" OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot list ${ARCHIVE}")
endif()
string(REPLACE "\n" ";" listing "${listing}")
list(FILTER listing EXCLUDE REGEX "/$|^$")
list(SORT listing)
string(REPLACE "," ";" wanted "${FILES}")
list(TRANSFORM wanted PREPEND "${TOP}/")
list(SORT wanted)
message("archive ${ARCHIVE}:")
foreach(entry IN LISTS listing)
    message("  ${entry}")
endforeach()
if(NOT listing STREQUAL wanted)
    message(FATAL_ERROR "the archive holds\n  ${listing}\nbut should hold\n  ${wanted}")
endif()

# An empty folder outside the build and source trees.
execute_process(COMMAND mktemp -d /tmp/calendar-release.XXXXXX OUTPUT_VARIABLE outside OUTPUT_STRIP_TRAILING_WHITESPACE)
string(FIND "${outside}" "${BUILD_TREE}" inBuild)
string(FIND "${outside}" "${SOURCE_TREE}" inSource)
if(outside STREQUAL "" OR inBuild EQUAL 0 OR inSource EQUAL 0)
    message(FATAL_ERROR "no empty folder outside the trees: '${outside}'")
endif()
set(folder "${outside}")
run("unpacking" ${CMAKE_COMMAND} -E tar xf "${ARCHIVE}")
set(folder "${outside}/${TOP}")

run("compiling the sample as C from the archive"
    ${CC} -std=c11 -Wall -Wextra -Werror -Iinclude samples/minimal-host/minimal_host.c
    -o MinimalHost.exe -mwindows)

string(REPLACE "/" "\\" shot "Z:${outside}/panel.png")
run("PanelHost.exe --screenshot from the archive's folder"
    sh ${WINE_RUN} ${PREFIX} "${folder}/PanelHost.exe" --screenshot "${shot}")
get_filename_component(here "${CMAKE_CURRENT_LIST_FILE}" DIRECTORY)
run("checking the picture" sh "${here}/check_png.sh" "${outside}/panel.png")

run("the sample host's end-to-end run from the archive's folder"
    sh ${WINE_RUN} ${PREFIX} "${DRIVER}" "${folder}/MinimalHost.exe" "${folder}/PanelHost.exe")

file(REMOVE_RECURSE "${outside}")
