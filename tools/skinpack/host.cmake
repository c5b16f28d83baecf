# The skin tools for the build machine (native compiler, not the cross build): the packer, the
# unpacker and the artwork generator. scripts/host-tools.sh configures this file on its own;
# the cross build never adds it. It is included from a small generated project file that
# names the project and the output folder (KARV_HOST_OUT).
set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
if(NOT CMAKE_BUILD_TYPE)
  set(CMAKE_BUILD_TYPE Release)
endif()
get_filename_component(KARV_ROOT ${CMAKE_CURRENT_LIST_DIR}/../.. ABSOLUTE)
include_directories(${KARV_ROOT})
add_compile_options(-Wall)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${KARV_HOST_OUT})

add_library(skincoder STATIC ${KARV_ROOT}/skin/SkinLzh.cpp ${KARV_ROOT}/skin/SkinArchive.cpp
                             ${KARV_ROOT}/tools/skinpack/SkinPacker.cpp)
add_executable(skinpack ${KARV_ROOT}/tools/skinpack/skinpack.cpp)
target_link_libraries(skinpack skincoder)
add_executable(skinunpack ${KARV_ROOT}/tools/skinpack/skinunpack.cpp)
target_link_libraries(skinunpack skincoder)
add_executable(skinart ${KARV_ROOT}/tools/skinpack/skinart.cpp ${KARV_ROOT}/tools/skinpack/SkinArt.cpp)
