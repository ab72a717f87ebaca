# One merged case: convert LAYOUT into the per-element SCENE.wrl and, with -merge true, into
# SCENE.merged.wrl and SCENE.merged.glb; then check both merged scenes shape by shape against
# the per-element one with three.js (and the .glb with the Khronos validator).
#
#   cmake -DCONVERTER=... -DNODE=... -DCHECKER=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false -P run_merged_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE CHECKER LAYOUT SCENE LABELS EDGES)

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.wrl" "${LABELS}" "${EDGES}")
foreach(extension IN ITEMS wrl glb)
  set(merged "${SCENE}.merged.${extension}")
  convert_quietly("${CONVERTER}" "${LAYOUT}" "${merged}" "${LABELS}" "${EDGES}" -merge true)
  execute_process(
    COMMAND "${NODE}" "${CHECKER}" "${SCENE}.wrl" "${merged}" --labels "${LABELS}"
    RESULT_VARIABLE check_status
    OUTPUT_VARIABLE check_output
    ERROR_VARIABLE check_errors)
  if(NOT check_status EQUAL 0)
    message(FATAL_ERROR "merged check of ${merged} failed:\n${check_output}${check_errors}")
  endif()
endforeach()
