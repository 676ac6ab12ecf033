# The compiler's own DLLs, which the programs and Qt load at run time.
set(TAMRIVEL_MINGW_RUNTIME)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} has no ${dll}")
  endif()
  get_filename_component(path "${path}" REALPATH)
  list(APPEND TAMRIVEL_MINGW_RUNTIME "${path}")
endforeach()
