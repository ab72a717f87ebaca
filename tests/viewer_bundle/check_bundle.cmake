# Bundles small viewers of a page, a style, one shader and a few modules with
# html/embed_viewer.cmake: the modules must come out in the order their imports need, each in a
# scope of its own, and every form the bundler does not understand must stop it with a message
# that names the form.
#
#   cmake -DEMBED=.../embed_viewer.cmake -DWORK=<scratch directory> -P check_bundle.cmake

include("${CMAKE_CURRENT_LIST_DIR}/../cmake/require_definitions.cmake")
require_definitions(EMBED WORK)

# Writes a viewer whose modules are given as name=source pairs, "@" standing for ";" (a CMake
# list separator) and "|" for a line break, and bundles it; sets `status`, `messages` and
# `page` (the generated C++ file, when bundled) in the caller.
function(bundle case)
  set(dir "${WORK}/${case}")
  file(REMOVE_RECURSE "${dir}")
  file(MAKE_DIRECTORY "${dir}/shaders")
  file(WRITE "${dir}/page.html" "<style>{{STYLE}}</style>{{SHADERS}}<script>{{SCRIPT}}</script>\n")
  file(WRITE "${dir}/style.css" "")
  file(WRITE "${dir}/shaders/a.glsl" "void main() {}\n")
  file(WRITE "${dir}/page_values.js" "export const kValue = 1;\n")
  file(WRITE "${dir}/values.glsl" "const highp float kValue = 1.0;\n")
  set(names "")
  foreach(module IN LISTS ARGN)
    string(REGEX MATCH "^([a-z_]+)=(.*)$" ignored "${module}")
    string(REPLACE "@" ";" source "${CMAKE_MATCH_2}")
    string(REPLACE "|" "\n" source "${source}")
    file(WRITE "${dir}/${CMAKE_MATCH_1}.js" "${source}\n")
    list(APPEND names "${CMAKE_MATCH_1}.js")
  endforeach()
  execute_process(
    COMMAND "${CMAKE_COMMAND}" "-DVIEWER_DIR=${dir}" "-DSCRIPTS=${names}" -DSHADERS=a.glsl
      "-DVALUES_SCRIPT=${dir}/page_values.js" "-DVALUES_SHADER=${dir}/values.glsl"
      "-DOUTPUT=${dir}/page.cpp" -P "${EMBED}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
  set(status "${result}" PARENT_SCOPE)
  string(REGEX REPLACE "[ \n]+" " " errors "${output}${errors}")
  set(messages "${errors}" PARENT_SCOPE)
  set(page "")
  if(EXISTS "${dir}/page.cpp")
    file(READ "${dir}/page.cpp" page)
  endif()
  set(page "${page}" PARENT_SCOPE)
endfunction()

set(failures "")

function(expect_refusal case wanted)
  bundle("${case}" ${ARGN})
  string(FIND "${messages}" "${wanted}" at)
  if(status EQUAL 0 OR at EQUAL -1)
    set(failures "${failures}\n${case}: wanted a refusal naming \"${wanted}\", got status ${status}: ${messages}" PARENT_SCOPE)
  endif()
endfunction()

expect_refusal(default "export default" "a=export default function f() {}")
expect_refusal(export_list "export { f }" "a=function f() {}|export { f }@")
expect_refusal(export_let "export let" "a=export let x = 1@")
expect_refusal(star_import "import * as b" "a=import * as b from \"./b.js\"@" "b=export const x = 1@")
expect_refusal(renaming "import { x as y }" "a=import { x as y } from \"./b.js\"@" "b=export const x = 1@")
expect_refusal(re_export "export * from" "a=export * from \"./b.js\"@" "b=export const x = 1@")
expect_refusal(dynamic "import(" "a=const b = import(\"./b.js\")@" "b=export const x = 1@")
expect_refusal(unlisted "imports ./c.js, which is not a viewer module" "a=import { x } from \"./c.js\"@")
expect_refusal(not_exported "imports y from ./b.js, which does not export it"
  "a=import { y } from \"./b.js\"@" "b=export const x = 1@")
expect_refusal(circle "import one another in a circle: a.js, b.js"
  "a=import { y } from \"./b.js\"@|export const x = y@" "b=import { x } from \"./a.js\"@|export const y = x@")

# Listed last-first, bundled in import order; the import becomes a read of the module's exports.
bundle(ordered "c=import { b } from \"./b.js\"@|b()@"
  "b=import { a } from \"./a.js\"@|import { kValue } from \"./page_values.js\"@|export function b() { return a + kValue@|}"
  "a=export const a = 1@")
if(NOT status EQUAL 0)
  string(APPEND failures "\nordered: not bundled: ${messages}")
else()
  # The page as text: every byte is written '\xNN', in order.
  string(REGEX REPLACE "[^x]*'\\\\x([0-9a-f][0-9a-f])'," "\\1" hex "${page}")
  string(REGEX REPLACE "^.*kPage\\[[0-9]+\\] = {" "" hex "${page}")
  string(REGEX MATCHALL "x[0-9a-f][0-9a-f]" bytes "${hex}")
  list(TRANSFORM bytes REPLACE "x" "")
  list(JOIN bytes "" hex)
  file(WRITE "${WORK}/ordered/page.hex" "${hex}")
  string(LENGTH "${hex}" length)
  set(text "")
  foreach(at RANGE 0 ${length} 2)
    if(at LESS length)
      string(SUBSTRING "${hex}" ${at} 2 byte)
      math(EXPR code "0x${byte}")
      string(ASCII ${code} character)
      string(APPEND text "${character}")
    endif()
  endforeach()
  foreach(wanted IN ITEMS
      "const module_page_values = (() => {\nconst kValue = 1;\nreturn { kValue };\n})();"
      "const module_a = (() => {\nconst a = 1;\nreturn { a };\n})();"
      "const module_b = (() => {\nconst { a } = module_a;\nconst { kValue } = module_page_values;"
      "function b() { return a + kValue;\n}\nreturn { b };\n})();"
      "const module_c = (() => {\nconst { b } = module_b;\n")
    string(FIND "${text}" "${wanted}" at)
    if(at EQUAL -1)
      string(APPEND failures "\nordered: the bundle lacks \"${wanted}\":\n${text}")
    endif()
  endforeach()
  string(FIND "${text}" "module_a = " a_at)
  string(FIND "${text}" "module_b = " b_at)
  string(FIND "${text}" "module_c = " c_at)
  if(NOT a_at LESS b_at OR NOT b_at LESS c_at)
    string(APPEND failures "\nordered: a.js, b.js and c.js are not bundled in import order")
  endif()
endif()

if(NOT failures STREQUAL "")
  message(FATAL_ERROR "viewer bundle:${failures}")
endif()
