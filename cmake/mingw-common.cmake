# Shared part of the mingw-w64 toolchain files: set KV_MINGW_TRIPLET and CMAKE_SYSTEM_PROCESSOR,
# then include this. The posix-thread compilers give std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KV_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KV_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${KV_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KV_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
