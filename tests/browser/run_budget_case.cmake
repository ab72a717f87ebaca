# The frame budget check: write a lattice layout of SIDE^3 nodes, convert it into SCENE.html
# with edges and open it in Chromium.
#
#   cmake -DCONVERTER=... -DNODE=... -DCHROMIUM=... -DSIDE=... -DSCENE=... -P run_budget_case.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(CONVERTER NODE CHROMIUM SIDE SCENE)

cmake_path(GET SCENE PARENT_PATH scene_dir)
file(MAKE_DIRECTORY "${scene_dir}")
execute_process(COMMAND "${NODE}" "${CMAKE_CURRENT_LIST_DIR}/write_lattice.mjs" "${SIDE}" "${SCENE}.3dlayout"
  RESULT_VARIABLE write_status)
if(NOT write_status EQUAL 0)
  message(FATAL_ERROR "writing the lattice failed (${write_status})")
endif()
include("${CMAKE_CURRENT_LIST_DIR}/../cmake/convert_quietly.cmake")
convert_quietly("${CONVERTER}" "${SCENE}.3dlayout" "${SCENE}.html" false true)

include("${CMAKE_CURRENT_LIST_DIR}/run_checker.cmake")
run_checker("${NODE}" "${CHROMIUM}" "${CMAKE_CURRENT_LIST_DIR}/check_budget.mjs" "${SCENE}.html")
