# 32-bit Windows, cross-compiled with Debian's MinGW-w64; runs under Wine's WoW64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
