# Test build: the same sources for x86_64, whose tests run under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KP_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
