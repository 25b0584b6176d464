# Reads the export and import tables of the built library with objdump and
# fails unless it exports exactly EXPORTS (a comma-separated list, empty for none) and
# imports nothing but the system's own DLLs.
#   cmake -DOBJDUMP=... -DDLL=... [-DEXPORTS=a,b] -P check_dll_interface.cmake
cmake_minimum_required(VERSION 3.20)
set(allowed_imports kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll msvcrt.dll
    oleacc.dll ole32.dll oleaut32.dll)

execute_process(COMMAND ${OBJDUMP} -p ${DLL} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "objdump failed on ${DLL}")
endif()

string(REGEX MATCHALL "DLL Name: [^\n]+" import_lines "${dump}")
set(imports "")
foreach(line IN LISTS import_lines)
    string(REGEX REPLACE "DLL Name: *" "" name "${line}")
    string(STRIP "${name}" name)
    string(TOLOWER "${name}" name)
    list(APPEND imports ${name})
    if(NOT name IN_LIST allowed_imports)
        message(FATAL_ERROR "${DLL} imports ${name}, which is not a system DLL")
    endif()
endforeach()
if(NOT imports)
    message(FATAL_ERROR "no import table found in ${DLL}: objdump output not understood")
endif()

# The name pointer table lists one "[ordinal] name" line per exported name.
set(exports "")
string(FIND "${dump}" "[Ordinal/Name Pointer] Table" table_at)
if(NOT table_at EQUAL -1)
    string(SUBSTRING "${dump}" ${table_at} -1 table)
    # The table ends at the first blank line.
    string(FIND "${table}" "\n\n" table_end)
    if(NOT table_end EQUAL -1)
        string(SUBSTRING "${table}" 0 ${table_end} table)
    endif()
    string(REGEX MATCHALL "\n[\t ]+\\[[ 0-9]+\\] [^\n]+" entries "${table}")
    foreach(entry IN LISTS entries)
        string(REGEX REPLACE "^\n[\t ]+\\[[ 0-9]+\\] " "" name "${entry}")
        string(STRIP "${name}" name)
        list(APPEND exports ${name})
    endforeach()
endif()
list(SORT exports)
string(REPLACE "," ";" expected "${EXPORTS}")
list(SORT expected)
if(NOT "${exports}" STREQUAL "${expected}")
    message(FATAL_ERROR "${DLL} exports [${exports}], expected [${expected}]")
endif()
message(STATUS "imports: ${imports}")
message(STATUS "exports: [${exports}]")
