#include "json_text.hpp"

#include <cstdint>

namespace fuzz {
namespace {

constexpr int kDeepest = 64;

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> document() {
        JsonValue value;
        if (!parseValue(value, 0)) {
            return std::nullopt;
        }
        skipBlanks();
        if (at_ != text_.size()) {
            return std::nullopt;
        }
        return value;
    }

  private:
    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }

    bool take(char c) {
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }

    bool parseValue(JsonValue& value, int depth) {
        skipBlanks();
        if (at_ == text_.size() || depth > kDeepest) {
            return false;
        }
        const char c = text_[at_];
        if (c == '{') {
            value.kind = JsonValue::Kind::object;
            return parseMembers(value, depth);
        }
        if (c == '[') {
            value.kind = JsonValue::Kind::array;
            return parseItems(value, depth);
        }
        if (c == '"') {
            value.kind = JsonValue::Kind::string;
            return parseString(value.text);
        }
        for (const std::string_view literal : {"true", "false", "null"}) {
            if (text_.substr(at_).starts_with(literal)) {
                value.kind = literal == "null" ? JsonValue::Kind::null : JsonValue::Kind::boolean;
                value.text = literal;
                at_ += literal.size();
                return true;
            }
        }
        value.kind = JsonValue::Kind::number;
        return parseNumber(value.text);
    }

    bool parseMembers(JsonValue& value, int depth) {
        ++at_;
        if (take('}')) {
            return true;
        }
        do {
            skipBlanks();
            std::string name;
            if (at_ == text_.size() || text_[at_] != '"' || !parseString(name) || !take(':')) {
                return false;
            }
            value.names.push_back(std::move(name));
            value.items.emplace_back();
            if (!parseValue(value.items.back(), depth + 1)) {
                return false;
            }
        } while (take(','));
        return take('}');
    }

    bool parseItems(JsonValue& value, int depth) {
        ++at_;
        if (take(']')) {
            return true;
        }
        do {
            value.items.emplace_back();
            if (!parseValue(value.items.back(), depth + 1)) {
                return false;
            }
        } while (take(','));
        return take(']');
    }

    bool digits() {
        const std::size_t start = at_;
        while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
            ++at_;
        }
        return at_ > start;
    }

    // -? (0 | [1-9][0-9]*) (. [0-9]+)? ([eE] [+-]? [0-9]+)?
    bool parseNumber(std::string& number) {
        const std::size_t start = at_;
        if (at_ < text_.size() && text_[at_] == '-') {
            ++at_;
        }
        const std::size_t integer = at_;
        if (!digits() || (text_[integer] == '0' && at_ - integer > 1)) {
            return false;
        }
        if (at_ < text_.size() && text_[at_] == '.') {
            ++at_;
            if (!digits()) {
                return false;
            }
        }
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) {
                ++at_;
            }
            if (!digits()) {
                return false;
            }
        }
        number = text_.substr(start, at_ - start);
        return true;
    }

    bool hexQuad(std::uint32_t& unit) {
        if (text_.size() - at_ < 4) {
            return false;
        }
        unit = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0) {
                return false;
            }
            unit = unit << 4 | static_cast<std::uint32_t>(digit);
        }
        return true;
    }

    static void addUtf8(std::string& out, std::uint32_t point) {
        if (point < 0x80) {
            out += static_cast<char>(point);
        } else if (point < 0x800) {
            out += static_cast<char>(0xC0 | point >> 6);
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else if (point < 0x10000) {
            out += static_cast<char>(0xE0 | point >> 12);
            out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | point >> 18);
            out += static_cast<char>(0x80 | (point >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (point >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (point & 0x3F));
        }
    }

    bool escape(std::string& out) {
        if (at_ == text_.size()) {
            return false;
        }
        const char c = text_[at_++];
        constexpr std::string_view kFrom = "\"\\/bfnrt";
        constexpr std::string_view kTo = "\"\\/\b\f\n\r\t";
        const std::size_t simple = kFrom.find(c);
        if (simple != std::string_view::npos) {
            out += kTo[simple];
            return true;
        }
        std::uint32_t unit = 0;
        if (c != 'u' || !hexQuad(unit)) {
            return false;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            std::uint32_t low = 0;
            if (!text_.substr(at_).starts_with("\\u") || (at_ += 2, !hexQuad(low)) ||
                low < 0xDC00 || low > 0xDFFF) {
                return false;
            }
            unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
        addUtf8(out, unit);
        return true;
    }

    bool parseString(std::string& out) {
        ++at_;
        for (;;) {
            if (at_ == text_.size()) {
                return false;
            }
            const char c = text_[at_++];
            if (c == '"') {
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            if (c != '\\') {
                out += c;
            } else if (!escape(out)) {
                return false;
            }
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

} // namespace

const JsonValue* JsonValue::member(std::string_view name) const {
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (names[i] == name) {
            return &items[i];
        }
    }
    return nullptr;
}

std::optional<JsonValue> parseJson(std::string_view text) {
    return JsonParser(text).document();
}

} // namespace fuzz
