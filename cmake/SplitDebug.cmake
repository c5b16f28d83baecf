# karv_split_debug(TARGET): the program ships without debug sections; they go to TARGET.exe.debug
# beside it, which the executable names (a debug link), so a debugger still finds them.
# Its sections also lie on page boundaries in the file, so the loader can map the image from
# the file (pages come in as they are used) instead of reading it whole into private memory.
# KARV_DEBUG_INFO=ON compiles with -g, for a development build whose .debug file carries our
# own sources too.
option(KARV_DEBUG_INFO "compile with debug information (kept in the programs' .debug files)" OFF)
if(KARV_DEBUG_INFO)
  add_compile_options(-g)
endif()
function(karv_split_debug target)
  target_link_options(${target} PRIVATE -Wl,--file-alignment,0x1000)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> $<TARGET_FILE:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug --strip-unneeded --add-gnu-debuglink=$<TARGET_FILE:${target}>.debug
            $<TARGET_FILE:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    COMMENT "Moving the debug sections of ${target} into ${target}.debug")
endfunction()
