# Release build: the 32-bit KPSetup.exe.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KP_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
