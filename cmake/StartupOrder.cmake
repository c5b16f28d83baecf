# The start-up order of Client's code. The loader maps the program from its file and the system
# brings in 64 KB around each first touch, so start-up code spread over the whole image makes
# nearly all of it resident. Every function gets its own section (-ffunction-sections), and the
# link puts the sections named in client/startup-order.txt, the functions run from the start to
# the main window after login, together at the head of the code.
#
# The order file is made by a profile build, when the code has changed a good deal (a function
# missing from it only costs its 64 KB when it runs):
#   cmake -B build-order -DKARV_ARCH=x86_64 -DKARV_ORDER_PROFILE=ON && cmake --build build-order
#   KARV_ORDER_OUT='Z:\tmp\entered.txt' build-order/winerun build-order/bin/bench_startup.exe
#   tools/order/make_order.py build-order/bin/Client.exe.debug x86_64-w64-mingw32-nm \
#       client/startup-order.txt /tmp/entered.txt.Client.exe.* --only-in build/client/CMakeFiles/Client.dir/*.obj \
#       build/client/libclient_units.a ... (the archives karv_startup_order names, of a plain build)
option(KARV_ORDER_PROFILE "instrument the programs to write the functions they enter" OFF)
add_compile_options(-ffunction-sections)
set(KARV_STARTUP_ORDER ${CMAKE_CURRENT_SOURCE_DIR}/client/startup-order.txt)

if(KARV_ORDER_PROFILE)
  add_library(order_hooks STATIC ${CMAKE_CURRENT_SOURCE_DIR}/tools/order/OrderHooks.c)
  add_compile_options(-finstrument-functions)
  set_source_files_properties(${CMAKE_CURRENT_SOURCE_DIR}/tools/order/OrderHooks.c PROPERTIES
                              COMPILE_OPTIONS -fno-instrument-functions)
  link_libraries(order_hooks)
  # SQLite is profiled from its source, with the options the cached library was built with.
  file(GLOB sqlite_source ${DEPS_PREFIX}/../src/sqlite3-*/sqlite3.c)
  if(sqlite_source)
    list(GET sqlite_source 0 sqlite_source)
    add_library(sqlite3 STATIC ${sqlite_source})
    target_compile_definitions(sqlite3 PRIVATE SQLITE_THREADSAFE=1 SQLITE_OMIT_LOAD_EXTENSION SQLITE_DEFAULT_FOREIGN_KEYS=0)
    target_compile_options(sqlite3 PRIVATE -w)
  endif()
endif()

# karv_startup_order(TARGET LIBRARY...): links TARGET with this linker's default script, the
# order file's sections of its objects and of LIBRARY (targets or archive files) first in the code.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
function(karv_startup_order target)
  if(KARV_ORDER_PROFILE OR NOT EXISTS ${KARV_STARTUP_ORDER})
    return()
  endif()
  set(script ${CMAKE_BINARY_DIR}/${target}-order.ld)
  set(archives)
  foreach(lib ${ARGN})
    if(TARGET ${lib})
      list(APPEND archives $<TARGET_FILE:${lib}>)
    else()
      list(APPEND archives ${lib})
    endif()
  endforeach()
  add_custom_command(OUTPUT ${script}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/order/link_script.py ${CMAKE_LINKER} ${CMAKE_OBJDUMP}
            ${KARV_STARTUP_ORDER} ${script} ${archives}
    DEPENDS ${KARV_STARTUP_ORDER} ${CMAKE_SOURCE_DIR}/tools/order/link_script.py ${ARGN}
    COMMENT "Putting the start-up code of ${target} together")
  add_custom_target(${target}_order DEPENDS ${script})
  add_dependencies(${target} ${target}_order)
  target_link_options(${target} PRIVATE -Wl,-T,${script})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${script})
endfunction()
