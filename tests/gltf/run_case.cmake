# One glTF case: convert LAYOUT into SCENE.glb and SCENE.wrl with the given switches, then
# check the .glb against the layout and the .wrl. Fails when any step fails or the converter
# prints anything.
#
#   cmake -DCONVERTER=... -DNODE=... -DCHECKER=... -DLAYOUT=... -DSCENE=... -DLABELS=true|false
#         -DEDGES=true|false -P run_case.cmake

foreach(name IN ITEMS CONVERTER NODE CHECKER LAYOUT SCENE LABELS EDGES)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "run_case.cmake needs -D${name}=...")
  endif()
endforeach()

cmake_path(GET SCENE PARENT_PATH scene_dir)
file(MAKE_DIRECTORY "${scene_dir}")

foreach(extension IN ITEMS glb wrl)
  # A stale scene from an earlier run must not pass for a fresh one.
  file(REMOVE "${SCENE}.${extension}")
  execute_process(
    COMMAND "${CONVERTER}" -in "${LAYOUT}" -out "${SCENE}.${extension}" -showlabel "${LABELS}"
            -showedge "${EDGES}"
    RESULT_VARIABLE convert_status
    OUTPUT_VARIABLE convert_output
    ERROR_VARIABLE convert_errors)
  if(NOT convert_status EQUAL 0)
    message(FATAL_ERROR "converter ended with ${convert_status}: ${convert_output}${convert_errors}")
  endif()
  if(NOT convert_output STREQUAL "" OR NOT convert_errors STREQUAL "")
    message(FATAL_ERROR "converter printed on success: ${convert_output}${convert_errors}")
  endif()
endforeach()

execute_process(
  COMMAND "${NODE}" "${CHECKER}" "${LAYOUT}" "${SCENE}.glb" --wrl "${SCENE}.wrl"
          --labels "${LABELS}" --edges "${EDGES}"
  RESULT_VARIABLE check_status
  OUTPUT_VARIABLE check_output
  ERROR_VARIABLE check_errors)
if(NOT check_status EQUAL 0)
  message(FATAL_ERROR "glb check failed (${check_status}):\n${check_output}${check_errors}")
endif()
message(STATUS "${check_output}")
