# The application icon in any of its forms, drawn at build time by release/make_icon.py: the
# Windows programs', the desktop's and the web page's icons all come from that one picture.
# Depends on: a host python3.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(GAME_ICON_SCRIPT ${PROJECT_SOURCE_DIR}/release/make_icon.py)

# OUTPUT is a .ico, a .svg, or a .png of the size given after it.
function(draw_icon output)
  get_filename_component(folder ${output} DIRECTORY)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND Python3::Interpreter ${GAME_ICON_SCRIPT} ${output} ${ARGN}
    DEPENDS ${GAME_ICON_SCRIPT}
    COMMENT "Drawing the icon ${output}")
endfunction()
