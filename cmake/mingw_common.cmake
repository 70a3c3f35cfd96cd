# What both MinGW-w64 toolchains share: the compilers named by GAME_MINGW_PREFIX, libraries found
# only in the target's root, a fully static runtime and console programs.
set(CMAKE_CXX_COMPILER ${GAME_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${GAME_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GAME_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -mconsole")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
