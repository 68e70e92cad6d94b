# The Qt program: the widget library (main window, window behaviour, settings dialog, pictures) and
# the executable. The banner's browser engine lives in its own executable; nothing here links it.
find_package(Qt6 REQUIRED COMPONENTS Widgets Network)

file(GLOB chimewick_gui_sources CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/qt/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/qt/shell/u*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/qt/banner/uBannerProtocol.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/*.qrc)
file(GLOB chimewick_gui_headers CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/qt/*.h
  ${CMAKE_CURRENT_SOURCE_DIR}/qt/shell/*.h
  ${CMAKE_CURRENT_SOURCE_DIR}/qt/banner/uBannerProtocol.h)

add_library(chimewick_gui STATIC ${chimewick_gui_sources} ${chimewick_gui_headers})
set_target_properties(chimewick_gui PROPERTIES AUTOMOC ON AUTORCC ON)
# The Qt headers cost most of the build: one compiler run reads them once for a batch of files. Four
# batches keep both cores of a small machine busy.
chimewick_unity(chimewick_gui 6)
# xcb: the window states Qt has no flag for (a pop-up left out of taskbars), set on the X11 window.
find_library(CHIMEWICK_XCB_LIBRARY xcb REQUIRED)
target_link_libraries(chimewick_gui PUBLIC chimewick_core Qt6::Widgets Qt6::Network ${CHIMEWICK_XCB_LIBRARY})
target_include_directories(chimewick_gui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})

add_executable(chimewick ${CMAKE_CURRENT_SOURCE_DIR}/qt/shell/main.cpp)
target_link_libraries(chimewick PRIVATE chimewick_gui)
set_target_properties(chimewick PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_dependencies(program chimewick)

include(${CMAKE_CURRENT_LIST_DIR}/banner.cmake)
