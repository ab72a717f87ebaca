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

# add_reader_cases(PREFIX SCRIPT [LABEL label] ARGS ...): add_switch_cases over the layouts every
# reader check runs on: the shipped examples (PREFIX.example.*) and the awkward layouts
# (PREFIX.awkward.*).
function(add_reader_cases prefix script)
  # CONFIGURE_DEPENDS: layouts added later are picked up by the next build.
  file(GLOB example_layouts CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/examples/*.3dlayout")
  file(GLOB awkward_layouts CONFIGURE_DEPENDS
    "${PROJECT_SOURCE_DIR}/tests/conformance/layouts/*.3dlayout")
  add_switch_cases("${prefix}.example" "${script}" ${example_layouts} ${ARGN})
  add_switch_cases("${prefix}.awkward" "${script}" ${awkward_layouts} ${ARGN})
endfunction()
