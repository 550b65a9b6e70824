# qm_game_folder_step(TARGET TOOL tool COMMENT text OUTPUTS files... COMMANDS COMMAND ...)
# One step that makes part of the game folder: the folder is created first, the step is done
# again only when its tool changes, and its target joins the data target.
function(qm_game_folder_step target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG "" "TOOL;COMMENT" "OUTPUTS;COMMANDS")
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.stamp)
  add_custom_command(
    OUTPUT ${stamp} ${ARG_OUTPUTS}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QM_DATA_DIR}
    ${ARG_COMMANDS}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${ARG_TOOL}
    COMMENT "${ARG_COMMENT}"
    VERBATIM)
  add_custom_target(${target} DEPENDS ${stamp})
  set_property(GLOBAL APPEND PROPERTY QM_DATA_TARGETS ${target})
endfunction()
