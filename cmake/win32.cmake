# The Windows program: the Win32 frontend (win32/) over the core, one static chimewick.exe with its
# resources (icon, button pictures, version information, manifest). Needs only system DLLs.
enable_language(RC)

string(REPLACE "." "," CHIMEWICK_VERSION_COMMAS "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(CHIMEWICK_VERSION4 "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
set(CHIMEWICK_RES ${PROJECT_SOURCE_DIR}/win32/resources)
set(CHIMEWICK_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/win32/chimewick.manifest)
configure_file(${PROJECT_SOURCE_DIR}/win32/chimewick.manifest ${CHIMEWICK_MANIFEST} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/win32/chimewick.rc.in ${CMAKE_CURRENT_BINARY_DIR}/win32/chimewick.rc @ONLY)

file(GLOB chimewick_win32_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/win32/*.cpp)
list(REMOVE_ITEM chimewick_win32_sources ${PROJECT_SOURCE_DIR}/win32/main.cpp)

# The frontend as a library, so tests can link it; the program adds only its entry and resources.
add_library(chimewick_win32 STATIC ${chimewick_win32_sources})
target_link_libraries(chimewick_win32 PUBLIC chimewick_core user32 gdi32 msimg32 comctl32 shell32 comdlg32
                      ole32 oleaut32 uuid)
target_include_directories(chimewick_win32 PUBLIC ${PROJECT_SOURCE_DIR})
target_compile_definitions(chimewick_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                           WINVER=0x0601)

add_executable(chimewick WIN32 ${PROJECT_SOURCE_DIR}/win32/main.cpp
               ${CMAKE_CURRENT_BINARY_DIR}/win32/chimewick.rc)
target_link_libraries(chimewick PRIVATE chimewick_win32)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/win32/chimewick.rc PROPERTIES
                            OBJECT_DEPENDS "${CHIMEWICK_MANIFEST};${CHIMEWICK_RES}/chimewick.ico")
target_include_directories(chimewick PRIVATE ${PROJECT_SOURCE_DIR}/win32)
set_target_properties(chimewick PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
# Stripped in release builds: the exe users get carries no symbols.
target_link_options(chimewick PRIVATE $<$<CONFIG:Release,MinSizeRel>:-s>)
