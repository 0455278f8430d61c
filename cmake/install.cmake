# What `cmake --install` puts where; the Debian package (debian/) installs the same.

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
