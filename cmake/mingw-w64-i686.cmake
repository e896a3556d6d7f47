# Cross-compiles Morrowby for 32-bit Windows. The result cannot run on this
# machine (no 32-bit Wine here), so no emulator is set and tests are only built.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
