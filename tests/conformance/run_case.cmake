# One conformance case: convert LAYOUT into SCENE.wrl with the given switches, then check the
# scene against the layout. Fails when either step fails or the converter prints anything.
#
#   cmake -DCONVERTER=... -DCHECKER=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false [-DCOLOUR=component] [-DSIZE=auto|FACTOR] -P run_case.cmake
#
# SIZE: converted with -size SIZE, and checked at that size.

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER CHECKER LAYOUT SCENE LABELS EDGES)
set(colour_words)
if(DEFINED COLOUR)
  set(colour_words -color "${COLOUR}")
  set(check_colour_words --colour "${COLOUR}")
endif()
if(DEFINED SIZE)
  list(APPEND colour_words -size "${SIZE}")
  list(APPEND check_colour_words --size "${SIZE}")
endif()

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.wrl" "${LABELS}" "${EDGES}" ${colour_words})

execute_process(
  COMMAND "${CHECKER}" "${LAYOUT}" "${SCENE}.wrl" --labels "${LABELS}" --edges "${EDGES}"
          ${check_colour_words}
  RESULT_VARIABLE check_status
  OUTPUT_VARIABLE check_output
  ERROR_VARIABLE check_errors)
if(NOT check_status EQUAL 0)
  message(FATAL_ERROR "conformance check failed (${check_status}):\n${check_output}${check_errors}")
endif()
