# The sized pages: convert LAYOUT into pages without -size, with -size auto and with -size
# FACTOR, then open them in Chromium (check_size.mjs).
#
#   cmake -DCONVERTER=... -DNODE=... -DCHECKER=... -DCHROMIUM=... -DLAYOUT=... -DSCENE=...
#         -DFACTOR=... -P run_size_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE CHECKER CHROMIUM LAYOUT SCENE FACTOR)
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")

convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}-plain.html" false true)
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}-auto.html" false true -size auto)
convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}-factor.html" false true -size "${FACTOR}")
include("${CMAKE_CURRENT_LIST_DIR}/run_checker.cmake")
run_checker("${NODE}" "${CHROMIUM}" "${CHECKER}"
  "${SCENE}-plain.html" "${SCENE}-auto.html" "${SCENE}-factor.html" "${FACTOR}")
