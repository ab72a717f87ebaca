# Named, coloured scene: convert LAYOUT with the names in NAMES (one a line) and a partition file
# whose name holds VRML's string delimiters, then check with Coin that every label reads back
# as its name and the legend as written.
#
#   cmake -DCONVERTER=... -DCHECKER=... -DLAYOUT=... -DNAMES=... -DSCENE=... -P run_names_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER CHECKER LAYOUT NAMES SCENE)
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")

cmake_path(GET SCENE PARENT_PATH scene_dir)
file(MAKE_DIRECTORY "${scene_dir}")
set(partition "${scene_dir}/x\"]}y.clu")
file(STRINGS "${NAMES}" names)
set(classes "")
foreach(i RANGE 1 20)
  math(EXPR class "${i} % 3")
  string(APPEND classes "${class}\n")
endforeach()
file(WRITE "${partition}" "${classes}")

convert_quietly("${CONVERTER}" "${LAYOUT}" "${SCENE}.wrl" true true
  -names "${NAMES}" -color "${partition}")
execute_process(
  COMMAND "${CHECKER}" "${LAYOUT}" "${SCENE}.wrl" --labels true --edges true
          --names "${NAMES}" --info "colour by classes in x\"]}y.clu"
  RESULT_VARIABLE check_status
  OUTPUT_VARIABLE check_output
  ERROR_VARIABLE check_errors)
if(NOT check_status EQUAL 0)
  message(FATAL_ERROR "conformance check failed (${check_status}):\n${check_output}${check_errors}")
endif()
