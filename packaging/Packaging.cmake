# Desktop integration and the Debian package (make package).
set(TAMRIVEL_APP_ID org.tamrivel.Tamrivel)

if(UNIX AND NOT APPLE)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/${TAMRIVEL_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
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
