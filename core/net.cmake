# Framing, the service protocol, MD5 and the user lists.
list(APPEND core_net_sources
  ${CMAKE_CURRENT_SOURCE_DIR}/MD5.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/WireFormat.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ServiceRecords.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ServiceReplies.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/FrameBuffer.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/UserManager.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ReceiveMessage.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/uNetClient.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/uSocketSvrClient.cpp)
list(APPEND core_libs socket)
