# 64-bit Windows build of the same sources: it runs the Windows tests on hosts whose kernel
# cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KV_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
