# Installing the three programs, and the release files made of them: on Linux, in the usual
# places, the programs, one manual page in section 6 (the other two names link to it), the
# README, and the desktop's entries, icons and metadata (cmake/desktop.cmake), which CPack packs
# as a Debian package that depends only on the shared libraries the programs load; on Windows,
# the programs and a README.txt side by side, which tools/windows_zip.sh packs as a zip.
# A release is made alike from the same commit: the scripts set SOURCE_DATE_EPOCH, which CPack
# takes for every time stamp.
set(GAME_PACKAGE_NAME tolmarzi CACHE INTERNAL "The name of the releases")
set(release ${PROJECT_SOURCE_DIR}/release)

if(WIN32)
  install(TARGETS marbek tolvan ziravo RUNTIME DESTINATION .)
  configure_file(${release}/windows-README.txt README.txt @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)
  return()
endif()

set(CMAKE_INSTALL_DOCDIR share/doc/${GAME_PACKAGE_NAME} CACHE PATH "Documentation directory")
include(GNUInstallDirs)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
install(TARGETS marbek tolvan ziravo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The manual page and the changelog are installed compressed, without a name or time stamp in the
# gzip header.
find_program(GAME_GZIP gzip REQUIRED)
set(packed ${CMAKE_CURRENT_BINARY_DIR}/packed)
file(MAKE_DIRECTORY ${packed})
foreach(name marbek.6 changelog)
  add_custom_command(
    OUTPUT ${packed}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${release}/${name} ${packed}/${name}
    COMMAND ${GAME_GZIP} -9nf ${packed}/${name}
    DEPENDS ${release}/${name}
    COMMENT "Compressing ${name}")
  list(APPEND packed_files ${packed}/${name}.gz)
endforeach()
add_custom_target(packed_documents ALL DEPENDS ${packed_files})
foreach(name tolvan ziravo)
  file(CREATE_LINK marbek.6.gz ${packed}/${name}.6.gz SYMBOLIC)
endforeach()
install(FILES ${packed}/marbek.6.gz ${packed}/tolvan.6.gz ${packed}/ziravo.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES README.md ${packed}/changelog.gz ${release}/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The desktop's entries, icons and metadata are drawn with python3, which only they need.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND AND NOT EMSCRIPTEN)
  include(cmake/desktop.cmake)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${GAME_PACKAGE_NAME})
set(CPACK_PACKAGE_CONTACT "The tolmarzi developers <tolmarzi@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small first-person shooters drawn as text in a terminal")
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Three programs, marbek, tolvan and ziravo, each a first-person shooter drawn"
  "with text characters in any xterm-like terminal: walk a grid level seen in"
  "perspective, shoot the enemies that hunt you along the level's routes, and"
  "reach the exit once enough of them are dead. They differ only in their level"
  "and its goals. Keyboard and mouse; the kitty keyboard protocol is used where"
  "the terminal has it.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
