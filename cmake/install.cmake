# What `cmake --install` puts where, and the Debian package made of it.

install(TARGETS lexitka RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The samples an installed program copies into each user's folder.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${CMAKE_INSTALL_DATADIR}/lexitka)

install(FILES ${CMAKE_SOURCE_DIR}/desktop/${LEXITKA_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(LEXITKA_RELEASE_DATE 2026-12-08)
configure_file(${CMAKE_SOURCE_DIR}/desktop/${LEXITKA_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/desktop/${LEXITKA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${LEXITKA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/desktop/${LEXITKA_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${LEXITKA_APP_ID}.xml)
install(FILES ${LEXITKA_ICON_SVG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS LEXITKA_ICON_SIZES)
  install(FILES ${CMAKE_BINARY_DIR}/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME ${LEXITKA_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/desktop/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/lexitka)
install(FILES ${CMAKE_SOURCE_DIR}/man/lexitka.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/man/cs/lexitka.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/cs/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lexitka)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tým Lexitka")
set(CPACK_PACKAGE_CONTACT "Tým Lexitka <lexitka@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vocabulary trainer for Czech speakers")
# Lines of the package's long description, each under 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Lexitka examines Czech speakers on the words of English, German, French,"
  "Russian, Spanish and Latin, kept in one dictionary per language and split"
  "into lessons. It counts right and wrong answers, asks a wrong word again"
  "later, keeps a database of mistakes to practise and records the success"
  "rate of each test. The user interface is in Czech."
  "Licence: GPL-3.0-or-later.")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds no font without one; the window's fonts fall back to these.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-extra, qt6-translations-l10n")
include(CPack)
