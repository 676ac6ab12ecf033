# Desktop integration and the Debian package (make package).
set(TAMRIVEL_APP_ID org.tamrivel.Tamrivel)

if(UNIX AND NOT APPLE)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.desktop
                ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.Check.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # Debian wants manual pages compressed, and without gzip's name and time
  # stamp, so that a rebuild gives the same package.
  find_program(TAMRIVEL_GZIP gzip REQUIRED)
  set(TAMRIVEL_MAN_PAGES)
  # man finds a translated page by its folder (ja/man1), and sets it with
  # that language's rules, Japanese line breaking included.
  function(tamrivel_man_page source folder)
    set(page ${PROJECT_BINARY_DIR}/man/${folder}/tamrivel-cli.1)
    add_custom_command(OUTPUT ${page}.gz
      COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${source} ${page}
      COMMAND ${TAMRIVEL_GZIP} -9nf ${page}
      DEPENDS ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${source}
      VERBATIM)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${folder})
    set(TAMRIVEL_MAN_PAGES ${TAMRIVEL_MAN_PAGES} ${page}.gz PARENT_SCOPE)
  endfunction()
  tamrivel_man_page(tamrivel-cli.1 man1)
  tamrivel_man_page(ja/tamrivel-cli.1 ja/man1)
  add_custom_target(tamrivel_man_pages ALL DEPENDS ${TAMRIVEL_MAN_PAGES})
endif()

set(CPACK_PACKAGE_NAME tamrivel)
set(CPACK_PACKAGE_VERSION ${TAMRIVEL_VERSION})
set(CPACK_PACKAGE_VENDOR "Tamrivel")
set(CPACK_PACKAGE_CONTACT "Tamrivel developers <dev@tamrivel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Split a 16-bit ROM image into even and odd bytes for two 8-bit EPROMs")
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
# The Qt libraries come from dpkg-shlibdeps; the window also needs Qt's
# platform plugins and a font with Japanese glyphs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-ipafont-gothic | fonts-noto-cjk")
include(CPack)

# Windows: the install folder runs as it is (make windows lays it out as
# build-windows/dist): the programs, the Qt DLLs and plugins they load, and
# the compiler's run-time DLLs.
if(WIN32)
  include(${PROJECT_SOURCE_DIR}/cmake/MingwRuntime.cmake)
  install(FILES ${TAMRIVEL_MINGW_RUNTIME} $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui>
                $<TARGET_FILE:Qt6::Widgets>
          DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
          DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
  install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION ${CMAKE_INSTALL_BINDIR}/styles)
  # The setup program's version record takes the four numbers with dots.
  string(REPLACE "," "." TAMRIVEL_VI_VERSION "${TAMRIVEL_RC_VERSION}")
  set(TAMRIVEL_PATH_HELPER $<TARGET_FILE:setup-path>)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/tamrivel.nsi.in ${PROJECT_BINARY_DIR}/tamrivel.nsi.configured @ONLY)
  # The helper's path is known only once the build is generated.
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/tamrivel.nsi INPUT ${PROJECT_BINARY_DIR}/tamrivel.nsi.configured)
endif()
