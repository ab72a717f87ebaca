# One case: convert LAYOUT with the converter and with the stdio reference, then compare the
# two scenes byte for byte.
#
#   cmake -DCONVERTER=... -DREFERENCE=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false -P compare_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
foreach(tool IN ITEMS CONVERTER REFERENCE)
  convert_quietly("${${tool}}" "${LAYOUT}" "${SCENE}.${tool}.wrl" "${LABELS}" "${EDGES}")
endforeach()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E compare_files "${SCENE}.CONVERTER.wrl" "${SCENE}.REFERENCE.wrl"
  RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "the converter and the stdio reference differ on ${LAYOUT}")
endif()
