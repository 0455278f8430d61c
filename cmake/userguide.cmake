# The Czech user guide, rendered from docs/navod.md into help/ beside the
# executable (where a build or a carried copy finds it) and installed into
# share/lexitka/help (where an installed program finds it).
add_executable(renderguide tools/renderguide.cpp)
target_link_libraries(renderguide PRIVATE Qt6::Gui)
set(LEXITKA_GUIDE_DIR ${CMAKE_BINARY_DIR}/help)
file(GLOB LEXITKA_GUIDE_IMAGES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/docs/images/*.png)
add_custom_command(OUTPUT ${LEXITKA_GUIDE_DIR}/navod.html
  COMMAND ${CMAKE_COMMAND} -E make_directory ${LEXITKA_GUIDE_DIR}/images
  # A build tool's leaks are no finding of ours.
  COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:renderguide> ${CMAKE_SOURCE_DIR}/docs/navod.md ${LEXITKA_GUIDE_DIR}/navod.html
  COMMAND ${CMAKE_COMMAND} -E copy ${LEXITKA_GUIDE_IMAGES} ${LEXITKA_GUIDE_DIR}/images
  DEPENDS renderguide ${CMAKE_SOURCE_DIR}/docs/navod.md ${LEXITKA_GUIDE_IMAGES}
  COMMENT "Rendering the user guide")
add_custom_target(user_guide ALL DEPENDS ${LEXITKA_GUIDE_DIR}/navod.html)
add_dependencies(lexitka user_guide)
install(FILES ${LEXITKA_GUIDE_DIR}/navod.html DESTINATION ${CMAKE_INSTALL_DATADIR}/lexitka/help)
install(FILES ${LEXITKA_GUIDE_IMAGES} DESTINATION ${CMAKE_INSTALL_DATADIR}/lexitka/help/images)
