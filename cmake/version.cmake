# Makes generated/cal_version.h from the project's version: the numbers for
# the version resources' FILEVERSION lines, and the two spellings of the
# version, "1.0.0.3" and the resources' "1.00.00.03".
function(cal_two_digits out value)
    if(value LESS 10)
        set(${out} "0${value}" PARENT_SCOPE)
    else()
        set(${out} "${value}" PARENT_SCOPE)
    endif()
endfunction()

foreach(part MINOR PATCH TWEAK)
    if("${PROJECT_VERSION_${part}}" STREQUAL "")
        set(PROJECT_VERSION_${part} 0)
    endif()
endforeach()
cal_two_digits(cal_minor ${PROJECT_VERSION_MINOR})
cal_two_digits(cal_patch ${PROJECT_VERSION_PATCH})
cal_two_digits(cal_tweak ${PROJECT_VERSION_TWEAK})
set(CAL_VERSION_RESOURCE_STRING "${PROJECT_VERSION_MAJOR}.${cal_minor}.${cal_patch}.${cal_tweak}")

configure_file(${CMAKE_SOURCE_DIR}/cmake/cal_version.h.in ${CMAKE_BINARY_DIR}/generated/cal_version.h @ONLY)
add_library(cal_version INTERFACE)
target_include_directories(cal_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
