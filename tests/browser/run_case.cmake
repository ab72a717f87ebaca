# One browser case: convert LAYOUT into SCENE.html (with -showedge EDGES) and into SCENE.wrl
# (the reference positions and colours), both with -color COLOR unless it is "none", then open
# the page in Chromium and check it.
#
#   cmake -DCONVERTER=... -DNODE=... -DCHECKER=... -DCHROMIUM=... -DLAYOUT=... -DSCENE=...
#         -DEDGES=true|false -DSAMPLED=true|false -DCOLOR=none|HOW -P run_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE CHECKER CHROMIUM LAYOUT SCENE EDGES SAMPLED COLOR)

set(colour_words "")
if(NOT COLOR STREQUAL "none")
  set(colour_words -color "${COLOR}")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.html" false "${EDGES}" ${colour_words})
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.wrl" false true ${colour_words})

include("${CMAKE_CURRENT_LIST_DIR}/run_checker.cmake")
run_checker("${NODE}" "${CHROMIUM}" "${CHECKER}" "${LAYOUT}" "${SCENE}.html" "${SCENE}.wrl"
  --edges "${EDGES}" --sampled "${SAMPLED}")
