# One browser case: convert LAYOUT into SCENE.html (with -showedge EDGES) and into SCENE.wrl
# (the reference positions), then open the page in Chromium and check it.
#
#   cmake -DCONVERTER=... -DNODE=... -DCHECKER=... -DCHROMIUM=... -DLAYOUT=... -DSCENE=...
#         -DEDGES=true|false -DSAMPLED=true|false -P run_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE CHECKER CHROMIUM LAYOUT SCENE EDGES SAMPLED)

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.html" false "${EDGES}")
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.wrl" false true)

set(ENV{CHROMIUM} "${CHROMIUM}")
execute_process(
  COMMAND "${NODE}" "${CHECKER}" "${LAYOUT}" "${SCENE}.html" "${SCENE}.wrl" --edges "${EDGES}"
          --sampled "${SAMPLED}"
  RESULT_VARIABLE check_status
  OUTPUT_VARIABLE check_output
  ERROR_VARIABLE check_errors)
if(NOT check_status EQUAL 0)
  message(FATAL_ERROR "browser check failed (${check_status}):\n${check_output}${check_errors}")
endif()
message(STATUS "${check_output}")
