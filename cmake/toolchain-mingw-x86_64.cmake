# Cross build of the same programs for 64-bit Windows: the machine here runs no 32-bit programs,
# so this build is the one run under wine to check the Windows code paths and frames.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(GAME_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw_common.cmake)
