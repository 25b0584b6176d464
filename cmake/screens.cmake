# The panel on other screens: the panel host's picture at 96, 144 and 192
# dots per inch and in a high-contrast scheme, each in the prefix of that
# screen, then put together in one picture,
# CAL_SCREENS_PICTURE: the standard and high-contrast panels side by side,
# the denser ones under them.
set(CAL_SCREENS_PICTURE ${CMAKE_BINARY_DIR}/screens.png CACHE FILEPATH "The picture of the panel on several screens")
set(screens_dir ${CMAKE_BINARY_DIR}/screens)
file(MAKE_DIRECTORY ${screens_dir})

foreach(screen standard dpi144 dpi192 contrast)
    cal_screen_prefix(${screen} prefix setting)
    cal_host_picture_run(screens_${screen} ${screens_dir}/${screen}.png ${prefix} "LC_ALL=en_US.UTF-8;${setting}")
    set_tests_properties(screens_${screen} PROPERTIES RESOURCE_LOCK keyboard_focus FIXTURES_SETUP screens)
endforeach()

add_test(NAME screens_picture COMMAND sh -c "python3 \"$0\" \"$@\" && pngfix --quiet \"$1\""
    ${CMAKE_SOURCE_DIR}/scripts/screens-picture ${CAL_SCREENS_PICTURE}
    ${screens_dir}/standard.png+${screens_dir}/contrast.png ${screens_dir}/dpi144.png ${screens_dir}/dpi192.png)
set_tests_properties(screens_picture PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED screens)
