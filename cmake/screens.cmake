# The panel on other screens: the panel host's picture at 96, 144 and 192
# dots per inch and in a high-contrast scheme, each in a prefix made for
# that screen (scripts/wine-run), then put together in one picture,
# CAL_SCREENS_PICTURE: the standard and high-contrast panels side by side,
# the denser ones under them.
set(CAL_SCREENS_PICTURE ${CMAKE_BINARY_DIR}/screens.png CACHE FILEPATH "The picture of the panel on several screens")
set(screens_dir ${CMAKE_BINARY_DIR}/screens)
file(MAKE_DIRECTORY ${screens_dir})

if(CAL_EMULATED)
    set_property(GLOBAL APPEND PROPERTY CAL_LEFT_OUT screens_picture)
    return()
endif()

foreach(screen standard dpi144 dpi192 contrast)
    set(prefix ${CAL_WINEPREFIX})
    set(setting "")
    if(screen MATCHES "^dpi([0-9]+)$")
        set(setting "CAL_LOGPIXELS=${CMAKE_MATCH_1}")
    elseif(screen STREQUAL "contrast")
        set(setting "CAL_SCHEME=high-contrast")
    endif()
    if(NOT screen STREQUAL "standard")
        set(prefix ${CMAKE_BINARY_DIR}/wineprefix-${screen})
        set_property(GLOBAL APPEND PROPERTY CAL_SCREEN_PREFIXES "wineprefix-${screen} ${setting}")
    endif()
    add_test(NAME screens_${screen}
        COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run ${prefix} $<TARGET_FILE:PanelHost>
            --screenshot Z:${screens_dir}/${screen}.png)
    set_tests_properties(screens_${screen} PROPERTIES
        TIMEOUT 60
        ENVIRONMENT "LC_ALL=en_US.UTF-8;${setting}"
        RESOURCE_LOCK keyboard_focus
        FIXTURES_SETUP screens
        PASS_REGULAR_EXPRESSION "picture .*${screen}\\.png [0-9]+x[0-9]+")
endforeach()

add_test(NAME screens_picture COMMAND sh -c "python3 \"$0\" \"$@\" && pngfix --quiet \"$1\""
    ${CMAKE_SOURCE_DIR}/scripts/screens-picture ${CAL_SCREENS_PICTURE}
    ${screens_dir}/standard.png+${screens_dir}/contrast.png ${screens_dir}/dpi144.png ${screens_dir}/dpi192.png)
set_tests_properties(screens_picture PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED screens)
