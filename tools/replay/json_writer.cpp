#include "tools/replay/json_writer.h"

#include <array>
#include <cstdio>

namespace zonky {

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!first_.empty()) {
        if (!first_.back()) out_ += ',';
        first_.back() = false;
    }
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    out_ += bracket;
    first_.push_back(true);
}

void JsonWriter::Close(char bracket) {
    out_ += bracket;
    first_.pop_back();
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    Quote(key);
    out_ += ':';
    afterKey_ = true;
}

void JsonWriter::Int(std::int64_t value) {
    BeforeValue();
    out_ += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    Quote(utf8);
}

void JsonWriter::Quote(std::string_view utf8) {
    out_ += '"';
    for (char ch : utf8) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out_ += "\\\"";
                break;
            case '\\':
                out_ += "\\\\";
                break;
            case '\n':
                out_ += "\\n";
                break;
            case '\r':
                out_ += "\\r";
                break;
            case '\t':
                out_ += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    std::array<char, 8> escaped{};
                    std::snprintf(escaped.data(), escaped.size(), "\\u%04x", byte);
                    out_ += escaped.data();
                } else {
                    out_ += ch;
                }
        }
    }
    out_ += '"';
}

}  // namespace zonky
