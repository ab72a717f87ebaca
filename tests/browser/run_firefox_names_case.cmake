# Firefox case of a named page: convert LAYOUT with the node table TABLE into SCENE.html, let
# Firefox ESR search it for "valj", fly there and hover (firefox_names.js), and check that the
# page found, selected and named EXPECTED.
#
#   cmake -DCONVERTER=... -DLAYOUT=... -DTABLE=... -DSCENE=... -DEXPECTED=...
#         -P run_firefox_names_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER LAYOUT TABLE SCENE EXPECTED)

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.html" false true -names "${TABLE}")
file(REMOVE "${SCENE}.png" "${SCENE}.png.json")
set(ENV{SHOT_SCRIPT} "${CMAKE_CURRENT_LIST_DIR}/firefox_names.js")
execute_process(COMMAND bash "${CMAKE_CURRENT_LIST_DIR}/firefox_shot.sh" "${SCENE}.html" "${SCENE}.png"
  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "Firefox failed (${status}):\n${output}${errors}")
endif()
file(READ "${SCENE}.png.json" result)
string(JSON first_suggestion ERROR_VARIABLE no_suggestion GET "${result}" suggestions 0)
string(JSON heading GET "${result}" heading)
string(JSON tooltip GET "${result}" tooltip)
if(no_suggestion OR NOT first_suggestion MATCHES "^${EXPECTED} #"
    OR NOT heading STREQUAL "${EXPECTED}" OR NOT tooltip MATCHES "^${EXPECTED} · node ")
  message(FATAL_ERROR "Firefox did not find, select and name ${EXPECTED}: ${result}")
endif()
message(STATUS "${result}")
