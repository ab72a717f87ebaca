# Firefox case: convert LAYOUT into SCENE.html, take a screenshot of it with Firefox ESR
# (firefox_shot.sh) and check that the scene is drawn.
#
#   cmake -DCONVERTER=... -DNODE=... -DLAYOUT=... -DSCENE=... -P run_firefox_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE LAYOUT SCENE)

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.html" false true)
file(REMOVE "${SCENE}.png")

foreach(step IN ITEMS shot check)
  if(step STREQUAL "shot")
    set(command bash "${CMAKE_CURRENT_LIST_DIR}/firefox_shot.sh" "${SCENE}.html" "${SCENE}.png")
  else()
    set(command "${NODE}" "${CMAKE_CURRENT_LIST_DIR}/check_picture.mjs" "${SCENE}.png")
  endif()
  execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Firefox ${step} failed (${status}):\n${output}${errors}")
  endif()
endforeach()
message(STATUS "${output}")
