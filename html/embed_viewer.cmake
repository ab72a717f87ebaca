# Builds the viewer page from its sources and writes it into a C++ file as one character
# array, so the converter carries the viewer and needs nothing at run time.
#
#   cmake -DVIEWER_DIR=... -DSCRIPTS="a.js;b.js" -DSHADERS="x.vert;y.frag" -DOUTPUT=... -P embed_viewer.cmake
#
# page.html holds {{STYLE}}, {{SHADERS}} and {{SCRIPT}}, filled here, and {{TITLE}} and
# {{DATA}}, which the converter fills for each scene.

foreach(name IN ITEMS VIEWER_DIR SCRIPTS SHADERS OUTPUT)
  if(NOT DEFINED ${name})
    message(FATAL_ERROR "embed_viewer.cmake needs -D${name}=...")
  endif()
endforeach()

# Sources must not end their element early or add placeholders of their own.
function(read_source path variable)
  file(READ "${path}" text)
  string(TOLOWER "${text}" lower)
  foreach(forbidden IN ITEMS "</script" "</style" "{{title}}" "{{data}}")
    string(FIND "${lower}" "${forbidden}" at)
    if(NOT at EQUAL -1)
      message(FATAL_ERROR "${path} contains ${forbidden}")
    endif()
  endforeach()
  set(${variable} "${text}" PARENT_SCOPE)
endfunction()

file(READ "${VIEWER_DIR}/page.html" page)
read_source("${VIEWER_DIR}/style.css" style)

set(shaders "")
foreach(shader IN LISTS SHADERS)
  read_source("${VIEWER_DIR}/shaders/${shader}" text)
  string(APPEND shaders "<script type=\"x-shader\" id=\"${shader}\">\n${text}</script>\n")
endforeach()

set(script "\"use strict\";\n")
foreach(source IN LISTS SCRIPTS)
  read_source("${VIEWER_DIR}/${source}" text)
  string(APPEND script "// ${source}\n${text}")
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
