# Desktop integration and the Debian package (make package).
set(TAMRIVEL_APP_ID org.tamrivel.Tamrivel)

if(UNIX AND NOT APPLE)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  # Debian wants manual pages compressed, and without gzip's name and time
  # stamp, so that a rebuild gives the same package.
  set(TAMRIVEL_MAN_PAGE ${PROJECT_BINARY_DIR}/man/tamrivel-cli.1)
  find_program(TAMRIVEL_GZIP gzip REQUIRED)
  add_custom_command(OUTPUT ${TAMRIVEL_MAN_PAGE}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/tamrivel-cli.1 ${TAMRIVEL_MAN_PAGE}
    COMMAND ${TAMRIVEL_GZIP} -9nf ${TAMRIVEL_MAN_PAGE}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/tamrivel-cli.1
    VERBATIM)
  add_custom_target(tamrivel_man_page ALL DEPENDS ${TAMRIVEL_MAN_PAGE}.gz)
  install(FILES ${TAMRIVEL_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
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
