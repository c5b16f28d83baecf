list(APPEND core_base_sources
  ${CMAKE_CURRENT_SOURCE_DIR}/uSettings.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/uHelpers.cpp)
