# One conformance case: convert LAYOUT into SCENE with the given switches, then check the
# scene against the layout. Fails when either step fails or the converter prints anything.
#
#   cmake -DCONVERTER=... -DCHECKER=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false -P run_case.cmake

foreach(name IN ITEMS CONVERTER CHECKER LAYOUT SCENE LABELS EDGES)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "run_case.cmake needs -D${name}=...")
  endif()
endforeach()

cmake_path(GET SCENE PARENT_PATH scene_dir)
file(MAKE_DIRECTORY "${scene_dir}")
# A stale scene from an earlier run must not pass for a fresh one.
file(REMOVE "${SCENE}")

execute_process(
  COMMAND "${CONVERTER}" -in "${LAYOUT}" -out "${SCENE}" -showlabel "${LABELS}"
          -showedge "${EDGES}"
  RESULT_VARIABLE convert_status
  OUTPUT_VARIABLE convert_output
  ERROR_VARIABLE convert_errors)
if(NOT convert_status EQUAL 0)
  message(FATAL_ERROR "converter ended with ${convert_status}: ${convert_output}${convert_errors}")
endif()
if(NOT convert_output STREQUAL "" OR NOT convert_errors STREQUAL "")
  message(FATAL_ERROR "converter printed on success: ${convert_output}${convert_errors}")
endif()

execute_process(
  COMMAND "${CHECKER}" "${LAYOUT}" "${SCENE}" --labels "${LABELS}" --edges "${EDGES}"
  RESULT_VARIABLE check_status
  OUTPUT_VARIABLE check_output
  ERROR_VARIABLE check_errors)
if(NOT check_status EQUAL 0)
  message(FATAL_ERROR "conformance check failed (${check_status}):\n${check_output}${check_errors}")
endif()
