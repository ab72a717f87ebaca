#pragma once

#include <string>
#include <string_view>

namespace l2v {

// `text` made safe to stand as text inside an HTML element or a quoted attribute: the five
// characters that could end it or start markup become character references.
std::string escapeHtmlText(std::string_view text);

} // namespace l2v
