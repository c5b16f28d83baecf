# karv_skinned_form(RESOURCE DFM RC_VAR): a resource script holding the form description DFM as
# the RCDATA resource RESOURCE, with "@BUILTIN_SKIN@" replaced at build time by the built-in
# skin (EmbedSkin.cmake); RC_VAR gets the script's path.
function(karv_skinned_form resource dfm rc_var)
  get_filename_component(name ${dfm} NAME)
  set(gen ${CMAKE_CURRENT_BINARY_DIR}/forms-gen)
  add_custom_command(
    OUTPUT ${gen}/${name}
    COMMAND ${CMAKE_COMMAND} -DIN=${dfm} -DSKIN=${CMAKE_BINARY_DIR}/skins/builtin.skin -DOUT=${gen}/${name}
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedSkin.cmake
    DEPENDS ${dfm} ${CMAKE_SOURCE_DIR}/cmake/EmbedSkin.cmake skins
    COMMENT "Putting the built-in skin into ${name}")
  string(TOLOWER ${resource} rc)
  file(WRITE ${gen}/${rc}.rc "${resource} RCDATA \"${gen}/${name}\"\n")
  set_source_files_properties(${gen}/${rc}.rc PROPERTIES OBJECT_DEPENDS ${gen}/${name})
  set(${rc_var} ${gen}/${rc}.rc PARENT_SCOPE)
endfunction()
