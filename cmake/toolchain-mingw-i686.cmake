# Cross build of the Windows deliverables: 32-bit x86 console programs from the MinGW-w64
# compilers. SSE2 float arithmetic keeps frames byte-identical to the 64-bit builds; a static
# runtime means the programs need no DLLs beyond the system's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(GAME_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw_common.cmake)
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
