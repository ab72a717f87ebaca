# add_switch_cases(PREFIX SCRIPT LAYOUTS... [LABEL label] ARGS ...): one test per layout and
# per combination
# of the label and edge switches, named PREFIX.<layout>.labels_<l>.edges_<e>, each running
# SCRIPT in CMake script mode with -DLAYOUT, -DSCENE (a path without extension in this
# directory's build tree), -DLABELS, -DEDGES and the extra -D words after ARGS.
function(add_switch_cases prefix script)
  cmake_parse_arguments(PARSE_ARGV 2 case "" "LABEL" "ARGS")
  foreach(layout IN LISTS case_UNPARSED_ARGUMENTS)
    cmake_path(GET layout STEM LAST_ONLY stem)
    foreach(labels IN ITEMS true false)
      foreach(edges IN ITEMS true false)
        set(name "${prefix}.${stem}.labels_${labels}.edges_${edges}")
        add_test(NAME "${name}"
          COMMAND ${CMAKE_COMMAND} ${case_ARGS}
            "-DLAYOUT=${layout}"
            "-DSCENE=${CMAKE_CURRENT_BINARY_DIR}/scenes/${name}"
            "-DLABELS=${labels}"
            "-DEDGES=${edges}"
            -P "${script}")
        if(case_LABEL)
          set_tests_properties("${name}" PROPERTIES LABELS "${case_LABEL}")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()
