# The calendars in the languages of the world: the panel host's picture in
# each of these locales, one run at a time (a run in another locale rewrites
# the prefix's locale settings), then the calendars of all of them put side
# by side in one picture, CAL_WORLD_PICTURE. Hebrew, Arabic and Persian read
# right to left, so those panels are mirrored.
set(CAL_WORLD_LOCALES ru_RU el_GR pl_PL tr_TR he_IL ar_EG fa_IR th_TH hi_IN zh_CN ja_JP vi_VN)
set(CAL_WORLD_PICTURE ${CMAKE_BINARY_DIR}/world.png CACHE FILEPATH "The picture of the calendars in many languages")
set(world_dir ${CMAKE_BINARY_DIR}/world)
file(MAKE_DIRECTORY ${world_dir})

set(world_pictures "")
foreach(locale ${CAL_WORLD_LOCALES})
    # The host's report, where each calendar lies, is kept beside the picture.
    cal_host_picture_run(world_${locale} ${world_dir}/${locale}.png ${CAL_WINEPREFIX} "LC_ALL=${locale}.UTF-8")
    set_tests_properties(world_${locale} PROPERTIES RUN_SERIAL TRUE FIXTURES_SETUP world)
    list(APPEND world_pictures ${world_dir}/${locale}.png)
endforeach()

# Checked by libpng's pngfix too, apart from the script that wrote it.
add_test(NAME world_picture COMMAND sh -c "python3 \"$0\" \"$@\" && pngfix --quiet \"$1\""
    ${CMAKE_SOURCE_DIR}/scripts/world-picture ${CAL_WORLD_PICTURE} ${world_pictures})
set_tests_properties(world_picture PROPERTIES TIMEOUT 120 FIXTURES_REQUIRED world)
