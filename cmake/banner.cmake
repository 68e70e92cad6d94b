# The banner: the advertising server's host, and the helper executable that holds the browser engine
# (Qt WebEngine). The program itself only talks to the helper over a pipe and never links the engine.

if(CHIMEWICK_BANNER)
  find_package(Qt6 REQUIRED COMPONENTS WebEngineWidgets Quick)
  add_executable(chimewick-banner
    ${CMAKE_CURRENT_SOURCE_DIR}/qt/banner/main.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/qt/banner/uBannerView.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/qt/banner/uBannerView.h
    ${CMAKE_CURRENT_SOURCE_DIR}/qt/banner/uBannerProtocol.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/app/uBannerRules.cpp)
  set_target_properties(chimewick-banner PROPERTIES AUTOMOC ON
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  target_include_directories(chimewick-banner PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  chimewick_unity(chimewick-banner 8)
  target_link_libraries(chimewick-banner PRIVATE Qt6::WebEngineWidgets Qt6::Quick)
  add_dependencies(program chimewick-banner)
  # The program looks for the helper beside itself (installed there by cmake/install.cmake).
  set_property(SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/qt/uBannerBrowserQt.cpp APPEND
               PROPERTY COMPILE_DEFINITIONS CHIMEWICK_WITH_BANNER=1)
endif()
