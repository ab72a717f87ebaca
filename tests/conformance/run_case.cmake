# One conformance case: convert LAYOUT into SCENE.wrl with the given switches, then check the
# scene against the layout. Fails when either step fails or the converter prints anything.
#
#   cmake -DCONVERTER=... -DCHECKER=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false -P run_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER CHECKER LAYOUT SCENE LABELS EDGES)

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.wrl" "${LABELS}" "${EDGES}")

execute_process(
  COMMAND "${CHECKER}" "${LAYOUT}" "${SCENE}.wrl" --labels "${LABELS}" --edges "${EDGES}"
  RESULT_VARIABLE check_status
  OUTPUT_VARIABLE check_output
  ERROR_VARIABLE check_errors)
if(NOT check_status EQUAL 0)
  message(FATAL_ERROR "conformance check failed (${check_status}):\n${check_output}${check_errors}")
endif()
