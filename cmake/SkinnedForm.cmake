# karv_skinned_form(RESOURCE DFM RC_VAR): a resource script holding the form description DFM as
# the RCDATA resource RESOURCE, with "@BUILTIN_SKIN@" replaced at build time by the built-in
# skin (EmbedSkin.cmake); RC_VAR gets the script's path, and the target RESOURCE_form (lower
# case) makes the description.
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
  # Other folders' targets see the command only through a target of its own.
  add_custom_target(${rc}_form DEPENDS ${gen}/${name})
  set_target_properties(${rc}_form PROPERTIES KARV_SCRIPT ${gen}/${rc}.rc KARV_DESCRIPTION ${gen}/${name})
endfunction()

# karv_uses_skinned_form(TARGET RESOURCE): TARGET, in another folder, compiles the script of
# RESOURCE: it waits for the description to be made, and is remade when it changes.
function(karv_uses_skinned_form target resource)
  string(TOLOWER ${resource} rc)
  get_target_property(script ${rc}_form KARV_SCRIPT)
  get_target_property(description ${rc}_form KARV_DESCRIPTION)
  target_sources(${target} PRIVATE ${script})
  set_property(SOURCE ${script} APPEND PROPERTY OBJECT_DEPENDS ${description})
  add_dependencies(${target} ${rc}_form)
endfunction()
