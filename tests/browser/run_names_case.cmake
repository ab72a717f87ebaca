# The named page: convert LAYOUT with the node table TABLE, in which the name EXPECTED also
# becomes markup for node 0, coloured by COLUMN, then use it in Chromium (check_names.mjs).
#
#   cmake -DCONVERTER=... -DNODE=... -DCHECKER=... -DCHROMIUM=... -DLAYOUT=... -DTABLE=...
#         -DSCENE=... -DQUERY=... -DEXPECTED=... -DCOLUMN=... -P run_names_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE CHECKER CHROMIUM LAYOUT TABLE SCENE QUERY EXPECTED COLUMN)
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")

# Node 0's name becomes markup that would set a flag if it ever ran.
file(STRINGS "${TABLE}" lines)
list(GET lines 1 first_row)
string(REGEX REPLACE "^[^,]+" "<img src=x onerror=window.namesRan=1>" marked_row "${first_row}")
list(REMOVE_AT lines 1)
list(INSERT lines 1 "${marked_row}")
list(JOIN lines "\n" text)
cmake_path(GET SCENE PARENT_PATH scene_dir)
file(MAKE_DIRECTORY "${scene_dir}")
file(WRITE "${SCENE}.csv" "${text}\n")

convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.html" false true
  -names "${SCENE}.csv" -color "column:${COLUMN}")
include("${CMAKE_CURRENT_LIST_DIR}/run_checker.cmake")
run_checker("${NODE}" "${CHROMIUM}" "${CHECKER}"
  "${SCENE}.html" "${SCENE}.csv" "${QUERY}" "${EXPECTED}" "${COLUMN}")
