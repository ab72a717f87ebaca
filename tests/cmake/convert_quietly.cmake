# convert_quietly(TOOL LAYOUT SCENE LABELS EDGES [WORDS...]): runs TOOL (the converter, or a
# reference converter taking the same words) on LAYOUT into SCENE with the two switches and
# any further words, after removing
# any earlier SCENE so that a stale file cannot pass for a fresh one. Fails the test when the
# tool ends with a non-zero status or prints anything on success.
function(convert_quietly tool layout scene labels edges)
  cmake_path(GET scene PARENT_PATH scene_dir)
  file(MAKE_DIRECTORY "${scene_dir}")
  file(REMOVE "${scene}")
  execute_process(
    COMMAND "${tool}" -in "${layout}" -out "${scene}" -showlabel "${labels}" -showedge "${edges}"
            ${ARGN}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${tool} ended with ${status}: ${output}${errors}")
  endif()
  if(NOT output STREQUAL "" OR NOT errors STREQUAL "")
    message(FATAL_ERROR "${tool} printed on success: ${output}${errors}")
  endif()
endfunction()
