# What a desktop needs to list the three programs: a desktop entry each (started in the user's
# terminal), the shared icon in the hicolor theme at every usual size and as SVG, and AppStream
# metadata for software centres. Depends on: cmake/icon.cmake, release/desktop, GNUInstallDirs
# (included by cmake/install.cmake).
include(${PROJECT_SOURCE_DIR}/cmake/icon.cmake)
set(GAME_HOMEPAGE "https://example.org/${GAME_PACKAGE_NAME}" CACHE STRING
    "The project's home page, named in the AppStream metadata")
set(GAME_SCREENSHOTS_URL "${GAME_HOMEPAGE}/screenshots" CACHE STRING
    "Where release/screenshots is published; the metadata's screenshots point there")
set(desktop_sources ${PROJECT_SOURCE_DIR}/release/desktop)
set(desktop_outputs ${CMAKE_CURRENT_BINARY_DIR}/desktop)
set(icon_name ${GAME_PACKAGE_NAME})

foreach(size 16 24 32 48 64 128 256)
  draw_icon(${desktop_outputs}/${size}x${size}/${icon_name}.png ${size})
  list(APPEND desktop_icons ${desktop_outputs}/${size}x${size}/${icon_name}.png)
  install(FILES ${desktop_outputs}/${size}x${size}/${icon_name}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
draw_icon(${desktop_outputs}/scalable/${icon_name}.svg)
list(APPEND desktop_icons ${desktop_outputs}/scalable/${icon_name}.svg)
install(FILES ${desktop_outputs}/scalable/${icon_name}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
add_custom_target(desktop_icons ALL DEPENDS ${desktop_icons})

# Each program: its menu title, the kind of level and the enemies to kill.
foreach(entry "marbek|Brumvoke|in a small level of rooms|10"
              "tolvan|Skarnfell|along a long level|230"
              "ziravo|Zorvel's Map|in a long level crowded with enemies|256")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 title)
  list(GET entry 3 kills)
  list(GET entry 2 level)
  set(summary "Shoot ${kills} enemies ${level}, drawn as text in a terminal")
  set(component org.example.${GAME_PACKAGE_NAME}.${program})
  configure_file(${desktop_sources}/program.desktop.in ${desktop_outputs}/${component}.desktop
                 @ONLY)
  configure_file(${desktop_sources}/program.metainfo.xml.in
                 ${desktop_outputs}/${component}.metainfo.xml @ONLY)
  install(FILES ${desktop_outputs}/${component}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${desktop_outputs}/${component}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endforeach()
