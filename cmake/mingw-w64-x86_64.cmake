# Cross-compiling for 64-bit Windows with MinGW-w64. Programs built with it run here under Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

find_program(CHIMEWICK_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(CHIMEWICK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CHIMEWICK_WINE})
endif()
