list(APPEND core_data_sources
  ${CMAKE_CURRENT_SOURCE_DIR}/uDatabase.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/uDataOperate.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/LogManager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/uDataBack.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/PersonalDbCheck.cpp)
list(APPEND core_libs db)
