# The bitmaps and the application icon, drawn from the sources in app/pictures/ by
# tools/make_pictures.py into ${RUVEX_PICTURES_DIR}, where the resource script finds them.
find_package(Python3 COMPONENTS Interpreter REQUIRED)

get_filename_component(_ruvex_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(RUVEX_PICTURES_DIR ${CMAKE_BINARY_DIR}/pictures)

set(_ruvex_picture_tool ${_ruvex_root}/tools/make_pictures.py)
# Every pixel-art (.txt) and drawing (.py) file in app/pictures/ is a source; a new one
# makes CMake look again.
file(GLOB _ruvex_picture_sources CONFIGURE_DEPENDS
     ${_ruvex_root}/app/pictures/*.txt ${_ruvex_root}/app/pictures/*.py)

set(RUVEX_PICTURE_FILES ${RUVEX_PICTURES_DIR}/app.ico)
foreach(_id RANGE 400 413)
    list(APPEND RUVEX_PICTURE_FILES ${RUVEX_PICTURES_DIR}/${_id}.bmp)
endforeach()
foreach(_id RANGE 450 453)
    list(APPEND RUVEX_PICTURE_FILES ${RUVEX_PICTURES_DIR}/${_id}.bmp)
endforeach()

add_custom_command(
    OUTPUT ${RUVEX_PICTURE_FILES}
    COMMAND ${Python3_EXECUTABLE} ${_ruvex_picture_tool} --out ${RUVEX_PICTURES_DIR}
    DEPENDS ${_ruvex_picture_tool} ${_ruvex_picture_sources}
    COMMENT "Drawing the bitmaps and the application icon"
    VERBATIM)
add_custom_target(ruvex_pictures DEPENDS ${RUVEX_PICTURE_FILES})
