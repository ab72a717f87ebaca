# One colour case: convert LAYOUT with -color component into SCENE.wrl, SCENE-merged.wrl,
# SCENE.glb and SCENE-merged.glb with the given switches, then check every colour.
#
#   cmake -DCONVERTER=... -DNODE=... -DCHECKER=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false -P run_colour_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE CHECKER LAYOUT SCENE LABELS EDGES)

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
foreach(extension IN ITEMS glb wrl)
  convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.${extension}" "${LABELS}" "${EDGES}"
    -color component)
  convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}-merged.${extension}" "${LABELS}" "${EDGES}"
    -color component -merge true)
endforeach()

execute_process(
  COMMAND "${NODE}" "${CHECKER}" "${LAYOUT}" "${SCENE}.wrl" "${SCENE}-merged.wrl" "${SCENE}.glb"
          "${SCENE}-merged.glb" --edges "${EDGES}"
  RESULT_VARIABLE check_status
  OUTPUT_VARIABLE check_output
  ERROR_VARIABLE check_errors)
if(NOT check_status EQUAL 0)
  message(FATAL_ERROR "colour check failed (${check_status}):\n${check_output}${check_errors}")
endif()
message(STATUS "${check_output}")
