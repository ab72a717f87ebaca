// Writes the values the converter, the viewer's scripts and its shaders share into a JavaScript
// module and a GLSL preamble, at build time (html/embed_viewer.cmake bundles both into the
// page), so each value is set once, in C++:
//
//   write_viewer_values <page_values.js> <values.glsl>
#include "html/page_data_format.hpp"
#include "html/viewer_values.hpp"
#include "scene/drawing_style.hpp"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The shortest text that reads back as the same number; JavaScript and C++ read it alike.
template <typename Number> std::string shortest(Number value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return {text, end};
}

// GLSL needs a point or an exponent to read a number as a float.
template <typename Number> std::string glslFloat(Number value) {
    std::string text = shortest(value);
    return text.find_first_of(".e") == std::string::npos ? text + ".0" : text;
}

std::string hexWord(std::uint32_t value) {
    std::ostringstream text;
    text << "0x" << std::hex << value;
    return text.str();
}

struct Value {
    std::string name;
    std::string javaScript;
    std::string glsl; // "type = value", or empty when the shaders do not use it
};

std::vector<Value> sharedValues() {
    namespace page = l2v::page;
    namespace viewer = l2v::viewer;
    const l2v::DrawingStyle style;
    const auto rgb = [](const l2v::Rgb& c, auto format) {
        return format(c.red) + ", " + format(c.green) + ", " + format(c.blue);
    };
    const auto word = [](std::uint32_t value) { return shortest(value); };
    return {
        {"kDataMagic", hexWord(page::kDataMagic), ""},
        {"kDataVersion", word(page::kDataVersion), ""},
        {"kHeaderWords", word(page::kHeaderWords), ""},
        {"kShowLabelsFlag", word(page::kShowLabelsFlag), ""},
        {"kShowEdgesFlag", word(page::kShowEdgesFlag), ""},
        {"kColouredFlag", word(page::kColouredFlag), ""},
        {"kNamedFlag", word(page::kNamedFlag), ""},
        {"kClassNumbersFlag", word(page::kClassNumbersFlag), ""},
        {"kSizedFlag", word(page::kSizedFlag), ""},
        {"kSharedClassBit", hexWord(page::kSharedClassBit),
         "uint = " + hexWord(page::kSharedClassBit) + "u"},
        {"kDataTextureWidth", word(viewer::kDataTextureWidth),
         "uint = " + word(viewer::kDataTextureWidth) + "u"},
        {"kNodeRadius", shortest(style.nodeRadius), "float = " + glslFloat(style.nodeRadius)},
        {"kEdgeRadius", shortest(style.edgeRadius), "float = " + glslFloat(style.edgeRadius)},
        {"kNodeColour", "[" + rgb(style.nodeColour, shortest<float>) + "]", ""},
        {"kEdgeColour", "[" + rgb(style.edgeColour, shortest<float>) + "]",
         "vec3 = vec3(" + rgb(style.edgeColour, glslFloat<float>) + ")"},
        {"kNodeTransparency", shortest(style.nodeTransparency), ""},
        {"kEdgeTransparency", shortest(style.edgeTransparency), ""},
        {"kLargestPoint", shortest(viewer::kLargestPoint),
         "float = " + glslFloat(viewer::kLargestPoint)},
        {"kLargestBorderPoint", shortest(viewer::kLargestBorderPoint),
         "float = " + glslFloat(viewer::kLargestBorderPoint)},
        {"kWidestLine", shortest(viewer::kWidestLine), "float = " + glslFloat(viewer::kWidestLine)},
    };
}

constexpr const char* kHeading = "Generated from html/page_data_format.hpp, html/viewer_values.hpp "
                                 "and scene/drawing_style.hpp by html/write_viewer_values.cpp; "
                                 "do not edit.\n";

std::string javaScriptModule(const std::vector<Value>& values) {
    std::string text = std::string("// ") + kHeading;
    for (const Value& value : values) {
        text += "export const " + value.name + " = " + value.javaScript + ";\n";
    }
    return text;
}

// Comes before the shaders' precision statements, so each value names its own.
std::string glslPreamble(const std::vector<Value>& values) {
    std::string text = std::string("// ") + kHeading;
    for (const Value& value : values) {
        if (!value.glsl.empty()) {
            const std::size_t equals = value.glsl.find(" = ");
            text += "const highp " + value.glsl.substr(0, equals) + " " + value.name +
                    value.glsl.substr(equals) + ";\n";
        }
    }
    return text;
}

bool writeFile(const char* path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    file << text;
    return static_cast<bool>(file.flush());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cout << "usage: write_viewer_values <page_values.js> <values.glsl>\n";
        return 1;
    }
    const std::vector<Value> values = sharedValues();
    if (!writeFile(argv[1], javaScriptModule(values)) ||
        !writeFile(argv[2], glslPreamble(values))) {
        std::cout << "write_viewer_values: cannot write its output\n";
        return 1;
    }
    return 0;
}
