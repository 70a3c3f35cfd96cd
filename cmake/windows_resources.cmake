# Windows resources of each program: the shared application icon, a version resource naming the
# program and a manifest asking for the caller's execution level. Depends on: cmake/icon.cmake,
# the toolchain's resource compiler, platform/win32/resources.
enable_language(RC)
include(${PROJECT_SOURCE_DIR}/cmake/icon.cmake)

set(windows_resource_sources ${PROJECT_SOURCE_DIR}/platform/win32/resources)
set(windows_resource_outputs ${PROJECT_BINARY_DIR}/resources)
set(windows_program_icon ${windows_resource_outputs}/program.ico)

# Drawn once for all three programs; the custom target keeps parallel builds from drawing it
# several times at once.
draw_icon(${windows_program_icon})
add_custom_target(windows_program_icon DEPENDS ${windows_program_icon})

function(attach_windows_resources program)
  set(GAME_PROGRAM ${program})
  set(GAME_PROGRAM_ICON ${windows_program_icon})
  set(GAME_PROGRAM_MANIFEST ${windows_resource_sources}/program.manifest)
  set(resource_script ${windows_resource_outputs}/${program}.rc)
  configure_file(${windows_resource_sources}/program.rc.in ${resource_script} @ONLY)
  set_source_files_properties(${resource_script} PROPERTIES
    OBJECT_DEPENDS "${windows_program_icon};${GAME_PROGRAM_MANIFEST}")
  target_sources(${program} PRIVATE ${resource_script})
  add_dependencies(${program} windows_program_icon)
endfunction()
