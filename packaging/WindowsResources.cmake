# What Explorer, the taskbar and Windows itself read from an executable: the
# version record, the icon (drawn from the project's SVG at build time) and
# the manifest.
find_program(TAMRIVEL_RSVG_CONVERT rsvg-convert REQUIRED NO_CMAKE_FIND_ROOT_PATH)
find_program(TAMRIVEL_ICOTOOL icotool REQUIRED NO_CMAKE_FIND_ROOT_PATH)

set(TAMRIVEL_ICON ${PROJECT_BINARY_DIR}/icon/tamrivel.ico)
set(TAMRIVEL_MANIFEST ${PROJECT_SOURCE_DIR}/packaging/tamrivel.manifest)
set(svg ${PROJECT_SOURCE_DIR}/packaging/org.tamrivel.Tamrivel.svg)
# The sizes Windows asks for at 100 % to 200 %; the largest is kept as PNG,
# as Windows stores it.
set(pngs)
set(commands)
foreach(size 16 20 24 32 40 48 64 256)
  set(png ${PROJECT_BINARY_DIR}/icon/${size}.png)
  list(APPEND commands COMMAND ${TAMRIVEL_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg})
  if(size EQUAL 256)
    list(APPEND pngs --raw=${png})
  else()
    list(APPEND pngs ${png})
  endif()
endforeach()
add_custom_command(OUTPUT ${TAMRIVEL_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icon
  ${commands}
  COMMAND ${TAMRIVEL_ICOTOOL} -c -o ${TAMRIVEL_ICON} ${pngs}
  DEPENDS ${svg}
  VERBATIM)

# One resource script for each executable: its own file name, description and
# internal name.
function(tamrivel_windows_resources target description internal_name)
  set(TAMRIVEL_RC_FILENAME ${target}.exe)
  set(TAMRIVEL_RC_DESCRIPTION ${description})
  set(TAMRIVEL_RC_INTERNAL_NAME ${internal_name})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/tamrivel.rc.in ${rc} @ONLY)
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${TAMRIVEL_ICON};${TAMRIVEL_MANIFEST}")
  target_sources(${target} PRIVATE ${rc} ${TAMRIVEL_ICON})
endfunction()
