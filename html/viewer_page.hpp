#pragma once

#include <string_view>

namespace l2v {

// The viewer page, generated at build time from html/viewer/: HTML, style, shaders and
// script in one text, with the placeholders "{{TITLE}}" (any number of times, as HTML text)
// and "{{DATA}}" (once, the base64 scene data) still in it.
std::string_view viewerPage();

} // namespace l2v
