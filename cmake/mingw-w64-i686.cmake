# Cross-compiling for 32-bit Windows with MinGW-w64. Such programs cannot run on build machines whose
# kernel has 32-bit support switched off (Wine's 32-bit loader included): this build is compiled only.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
