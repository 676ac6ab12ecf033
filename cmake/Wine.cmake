# Cross-built tests and programs run under Wine through build/wine-run (tests
# through build/wine-test, which shows their logs): headless,
# quiet, in a Wine prefix of this build's own, with Qt's and the compiler's
# DLLs on the path.
include(${CMAKE_CURRENT_LIST_DIR}/MingwRuntime.cmake)

set(folders "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
foreach(dll IN LISTS TAMRIVEL_MINGW_RUNTIME)
  get_filename_component(folder "${dll}" DIRECTORY)
  list(APPEND folders "${folder}")
endforeach()
list(REMOVE_DUPLICATES folders)
set(TAMRIVEL_WINEPATH)
foreach(folder IN LISTS folders)
  string(REPLACE "/" "\\" folder "Z:${folder}")
  list(APPEND TAMRIVEL_WINEPATH "${folder}")
endforeach()
list(JOIN TAMRIVEL_WINEPATH ";" TAMRIVEL_WINEPATH)
set(TAMRIVEL_WINEPREFIX "${CMAKE_BINARY_DIR}/wine")

configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-test.in ${CMAKE_BINARY_DIR}/wine-test @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-test)
