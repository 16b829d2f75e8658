# Cross toolchain: MinGW-w64 for 32-bit Windows, programs run under Wine.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
set(MINGW_WIDTH 32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
