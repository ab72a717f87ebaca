# One case: convert LAYOUT with the converter and with the stdio reference, then compare the
# two scenes byte for byte.
#
#   cmake -DCONVERTER=... -DREFERENCE=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false -P compare_case.cmake

cmake_path(GET SCENE PARENT_PATH scene_dir)
file(MAKE_DIRECTORY "${scene_dir}")
foreach(tool IN ITEMS CONVERTER REFERENCE)
  file(REMOVE "${SCENE}.${tool}.wrl")
  execute_process(
    COMMAND "${${tool}}" -in "${LAYOUT}" -out "${SCENE}.${tool}.wrl" -showlabel "${LABELS}"
            -showedge "${EDGES}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${tool} ended with ${status}: ${output}${errors}")
  endif()
endforeach()
execute_process(
  COMMAND ${CMAKE_COMMAND} -E compare_files "${SCENE}.CONVERTER.wrl" "${SCENE}.REFERENCE.wrl"
  RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "the converter and the stdio reference differ on ${LAYOUT}")
endif()
