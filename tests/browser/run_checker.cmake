# run_checker(NODE CHROMIUM SCRIPT ARGS...): runs a Node checker SCRIPT against Chromium; a
# failure fails the case with the checker's own words, a pass shows its summary line.

function(run_checker node chromium script)
  set(ENV{CHROMIUM} "${chromium}")
  execute_process(
    COMMAND "${node}" "${script}" ${ARGN}
    RESULT_VARIABLE check_status
    OUTPUT_VARIABLE check_output
    ERROR_VARIABLE check_errors)
  if(NOT check_status EQUAL 0)
    message(FATAL_ERROR "browser check failed (${check_status}):\n${check_output}${check_errors}")
  endif()
  message(STATUS "${check_output}")
endfunction()
