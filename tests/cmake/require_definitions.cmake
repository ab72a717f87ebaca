# require_definitions(NAMES...): stops a test script whose caller left out one of its -D
# definitions, naming the script and the missing word.
function(require_definitions)
  foreach(name IN LISTS ARGN)
    if(NOT DEFINED ${name})
      cmake_path(GET CMAKE_SCRIPT_MODE_FILE FILENAME script)
      message(FATAL_ERROR "${script} needs -D${name}=...")
    endif()
  endforeach()
endfunction()
