#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// A JSON value read strictly (RFC 8259): strings decoded to UTF-8, numbers kept as their text.
struct JsonValue {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    std::string text;               // a string's decoded text, a number's or literal's text
    std::vector<std::string> names; // an object's member names, in order
    std::vector<JsonValue> items;   // an array's items, or an object's member values

    // The first member called `name`, or null.
    const JsonValue* member(std::string_view name) const;
};

// The one value `text` holds (blanks around it allowed), or nothing when it is not JSON.
std::optional<JsonValue> parseJson(std::string_view text);

} // namespace fuzz
