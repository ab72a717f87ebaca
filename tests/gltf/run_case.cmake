# One glTF case: convert LAYOUT into SCENE.glb and SCENE.wrl with the given switches, then
# check the .glb against the layout and the .wrl. Fails when any step fails or the converter
# prints anything.
#
#   cmake -DCONVERTER=... -DNODE=... -DCHECKER=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false [-DNAMES=LIST] [-DSIZE=auto|FACTOR] -P run_case.cmake
#
# NAMES: a list of names (one a line) to convert with and to find on the labelled spheres.
# SIZE: converted with -size SIZE, and checked at that size.

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE CHECKER LAYOUT SCENE LABELS EDGES)

set(name_words "")
set(check_name_words "")
if(DEFINED NAMES)
  set(name_words -names "${NAMES}")
  set(check_name_words --names "${NAMES}")
endif()
if(DEFINED SIZE)
  list(APPEND name_words -size "${SIZE}")
  list(APPEND check_name_words --size "${SIZE}")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
foreach(extension IN ITEMS glb wrl)
  convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.${extension}" "${LABELS}" "${EDGES}"
    ${name_words})
endforeach()

execute_process(
  COMMAND "${NODE}" "${CHECKER}" "${LAYOUT}" "${SCENE}.glb" --wrl "${SCENE}.wrl"
          --labels "${LABELS}" --edges "${EDGES}" ${check_name_words}
  RESULT_VARIABLE check_status
  OUTPUT_VARIABLE check_output
  ERROR_VARIABLE check_errors)
if(NOT check_status EQUAL 0)
  message(FATAL_ERROR "glb check failed (${check_status}):\n${check_output}${check_errors}")
endif()
message(STATUS "${check_output}")
