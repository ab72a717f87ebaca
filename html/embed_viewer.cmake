# Builds the viewer page from its sources and writes it into a C++ file as one character
# array, so the converter carries the viewer and needs nothing at run time.
#
#   cmake -DVIEWER_DIR=... -DSCRIPTS="a.js;b.js" -DSHADERS="x.vert;y.frag"
#         -DVALUES_SCRIPT=.../page_values.js -DVALUES_SHADER=.../values.glsl -DOUTPUT=...
#         -P embed_viewer.cmake
#
# page.html holds {{STYLE}}, {{SHADERS}} and {{SCRIPT}}, filled here, and {{TITLE}},
# {{DATA}} and {{NAMES}}, which the converter fills for each scene. VALUES_SCRIPT is the module
# page_values.js and VALUES_SHADER the shader element values.glsl, both written by
# write_viewer_values.
#
# The scripts are ES modules, joined here into one classic script (a page opened from file://
# may not load modules) without a JavaScript tool. Each module becomes a function run once, in
# an order where every module comes after those it imports; it returns its exports, which the
# modules that import them read by name. Only these forms are understood, each starting a line:
#   import { a, b } from "./module.js";      (named imports from a listed module, no renaming)
#   export const a = ...;  export function a(...) {...}  export class A {...}
# Anything else that imports or exports (export default, export let, export { ... }, re-exports,
# import * as, renaming, import(), import.meta) stops the build, as do a module imported but
# not listed, a name imported but not exported, and modules that import one another in a circle.

cmake_minimum_required(VERSION 3.25)

foreach(name IN ITEMS VIEWER_DIR SCRIPTS SHADERS VALUES_SCRIPT VALUES_SHADER OUTPUT)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "embed_viewer.cmake needs -D${name}=...")
  endif()
endforeach()

# Sources must not end their element early or add placeholders of their own.
function(read_source path variable)
  file(READ "${path}" text)
  string(TOLOWER "${text}" lower)
  foreach(forbidden IN ITEMS "</script" "</style" "{{title}}" "{{data}}" "{{names}}")
    string(FIND "${lower}" "${forbidden}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${path} contains ${forbidden}")
    endif()
  endforeach()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

set(identifier "[A-Za-z_$][A-Za-z0-9_$]*")

# Reads module `name` (file name without ".js") from `path`: sets module_<name>_imports (the
# modules it imports), module_<name>_wanted_<other> (the names it takes from each),
# module_<name>_exports and module_<name>_body (the source with its imports and export
# keywords taken out).
function(read_module name path)
  read_source("${path}" source)
  set(text "\n${source}")
  set(imports "")
  while(TRUE)
    string(REGEX MATCH "\nimport[ \n]*{([ \nA-Za-z0-9_$,]*)}[ \n]*from[ \n]*\"\\./([a-z_]+)\\.js\";"
      statement "${text}")
    if(statement STREQUAL "")
      break()
    endif()
    set(from "${CMAKE_MATCH_2}")
    set(names "${CMAKE_MATCH_1}")
    if(names MATCHES "[A-Za-z0-9_$][ \n]+[A-Za-z0-9_$]")
      message(FATAL_ERROR "${path}: embed_viewer.cmake does not rename imports: ${statement}")
    endif()
    string(REGEX REPLACE "[ \n]" "" names "${names}")
    string(REGEX REPLACE ",$" "" names "${names}")
    string(REPLACE "," ";" names "${names}")
    if(names STREQUAL "" OR from IN_LIST imports)
      message(FATAL_ERROR "${path}: import from ./${from}.js once, naming what it takes")
    endif()
    list(APPEND imports "${from}")
    set(module_${name}_wanted_${from} "${names}" PARENT_SCOPE)
    string(REPLACE "${statement}" "\n" text "${text}")
  endwhile()
  set(exports "")
  while(TRUE)
    string(REGEX MATCH "\nexport (const|function|class) (${identifier})" declaration "${text}")
    if(declaration STREQUAL "")
      break()
    endif()
    list(APPEND exports "${CMAKE_MATCH_2}")
    string(REPLACE "${declaration}" "\n${CMAKE_MATCH_1} ${CMAKE_MATCH_2}" text "${text}")
  endwhile()
  string(REGEX MATCH "\n[ \t]*(import|export)[^A-Za-z0-9_$][^\n]*" unknown "${text}")
  if(unknown STREQUAL "")
    string(REGEX MATCH "[^A-Za-z0-9_$.]import[ \n]*[(.][^\n]*" unknown "${text}")
  endif()
  if(NOT unknown STREQUAL "")
    string(STRIP "${unknown}" unknown)
    message(FATAL_ERROR "${path}: embed_viewer.cmake does not bundle \"${unknown}\": use "
      "import { a, b } from \"./module.js\"; and export const, function or class")
  endif()
  set(module_${name}_imports "${imports}" PARENT_SCOPE)
  set(module_${name}_exports "${exports}" PARENT_SCOPE)
  set(module_${name}_body "${text}" PARENT_SCOPE)
endfunction()

set(modules page_values)
read_module(page_values "${VALUES_SCRIPT}")
foreach(source IN LISTS SCRIPTS)
  if(NOT source MATCHES "^([a-z_]+)\\.js$")
    message(FATAL_ERROR "viewer script ${source}: a module is named like some_name.js")
  endif()
  list(APPEND modules "${CMAKE_MATCH_1}")
  read_module("${CMAKE_MATCH_1}" "${VIEWER_DIR}/${source}")
endforeach()

# Every import names a listed module and names it exports.
foreach(module IN LISTS modules)
  foreach(from IN LISTS module_${module}_imports)
    if(NOT from IN_LIST modules)
      message(FATAL_ERROR "${module}.js imports ./${from}.js, which is not a viewer module "
        "(VIEWER_SCRIPTS in CMakeLists.txt)")
    endif()
    foreach(wanted IN LISTS module_${module}_wanted_${from})
      if(NOT wanted IN_LIST module_${from}_exports)
        message(FATAL_ERROR "${module}.js imports ${wanted} from ./${from}.js, which does not "
          "export it")
      endif()
    endforeach()
  endforeach()
endforeach()

# Each round places the modules whose imports are all placed, in the listed order.
set(order "")
set(waiting "${modules}")
while(NOT waiting STREQUAL "")
  set(placed_now "")
  foreach(module IN LISTS waiting)
    set(ready TRUE)
    foreach(from IN LISTS module_${module}_imports)
      if(NOT from IN_LIST order)
        set(ready FALSE)
      endif()
    endforeach()
    if(ready)
      list(APPEND order "${module}")
      list(APPEND placed_now "${module}")
    endif()
  endforeach()
  if(placed_now STREQUAL "")
    list(JOIN waiting ".js, " circle)
    message(FATAL_ERROR "These viewer modules import one another in a circle: ${circle}.js")
  endif()
  list(REMOVE_ITEM waiting ${placed_now})
endwhile()

file(READ "${VIEWER_DIR}/page.html" page)
read_source("${VIEWER_DIR}/style.css" style)

read_source("${VALUES_SHADER}" values_shader)
set(shaders "<script type=\"x-shader\" id=\"values.glsl\">\n${values_shader}</script>\n")
foreach(shader IN LISTS SHADERS)
  read_source("${VIEWER_DIR}/shaders/${shader}" text)
  string(APPEND shaders "<script type=\"x-shader\" id=\"${shader}\">\n${text}</script>\n")
endforeach()

set(script "\"use strict\";\n")
foreach(module IN LISTS order)
  string(APPEND script "// ${module}.js\nconst module_${module} = (() => {")
  foreach(from IN LISTS module_${module}_imports)
    list(JOIN module_${module}_wanted_${from} ", " names)
    string(APPEND script "\nconst { ${names} } = module_${from};")
  endforeach()
  list(JOIN module_${module}_exports ", " names)
  if(names STREQUAL "")
    string(APPEND script "${module_${module}_body}return {};\n})();\n")
  else()
    string(APPEND script "${module_${module}_body}return { ${names} };\n})();\n")
  endif()
endforeach()

string(REPLACE "{{STYLE}}" "${style}" page "${page}")
string(REPLACE "{{SHADERS}}" "${shaders}" page "${page}")
string(REPLACE "{{SCRIPT}}" "${script}" page "${page}")

file(WRITE "${OUTPUT}.page" "${page}")
file(READ "${OUTPUT}.page" bytes HEX)
file(REMOVE "${OUTPUT}.page")
string(LENGTH "${bytes}" hex_length)
math(EXPR length "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")

file(WRITE "${OUTPUT}.new" "// Generated from html/viewer/ by html/embed_viewer.cmake; do not edit.
#include \"html/viewer_page.hpp\"

namespace l2v {
namespace {
constexpr char kPage[${length}] = {${bytes}};
} // namespace

std::string_view viewerPage() {
    return {kPage, sizeof kPage};
}

} // namespace l2v
")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
