# The bitmaps and the application icon, drawn from the sources in app/pictures/ by
# tools/make_pictures.py into ${RUVEX_PICTURES_DIR}, where the resource script finds them.
find_package(Python3 COMPONENTS Interpreter REQUIRED)

set(RUVEX_PICTURES_DIR ${CMAKE_BINARY_DIR}/pictures)
set(RUVEX_PICTURE_FILES ${RUVEX_PICTURES_DIR}/app.ico)
foreach(id RANGE 400 413)
    list(APPEND RUVEX_PICTURE_FILES ${RUVEX_PICTURES_DIR}/${id}.bmp)
endforeach()
foreach(id RANGE 450 453)
    list(APPEND RUVEX_PICTURE_FILES ${RUVEX_PICTURES_DIR}/${id}.bmp)
endforeach()

# A new source in app/pictures/ makes CMake look again.
file(GLOB picture_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/app/pictures/*.txt ${CMAKE_SOURCE_DIR}/app/pictures/*.py)
add_custom_command(
    OUTPUT ${RUVEX_PICTURE_FILES}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/make_pictures.py ${RUVEX_PICTURES_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_pictures.py ${picture_sources}
    COMMENT "Drawing the bitmaps and the application icon"
    VERBATIM)
add_custom_target(ruvex_pictures DEPENDS ${RUVEX_PICTURE_FILES})
