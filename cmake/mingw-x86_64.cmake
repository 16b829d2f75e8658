# Cross toolchain: MinGW-w64 for 64-bit Windows. The release is the 32-bit program; this is its
# test build, for machines whose kernel runs no 32-bit code (the programs run under 64-bit Wine).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
set(MINGW_WIDTH 64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
