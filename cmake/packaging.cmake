# Installation for the desktop (binary, desktop entry, icons, AppStream metainfo) and the .deb.
include(GNUInstallDirs)

set(TERRANOX_APP_ID org.terranox.terranox)

install(TARGETS terranox RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TERRANOX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${TERRANOX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/assets/icon-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME terranox.png)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME terranox)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "TERRANOX developers <terranox@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Turn-based conquest of a random island world")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libc6, libstdc++6, libsdl2-2.0-0, libx11-6, libfreetype6, libfontconfig1, libpng16-16, libjpeg62-turbo, fonts-urw-base35, fonts-liberation")
include(CPack)
