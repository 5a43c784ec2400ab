#include "tests/support/json_reader.h"

#include <charconv>

namespace zonky::test {
namespace {

class Parser {
  public:
    explicit Parser(std::string_view text) : s_(text) {}

    Json Document() {
        Json value = Value();
        Space();
        if (at_ != s_.size()) Fail("trailing characters");
        return value;
    }

  private:
    [[noreturn]] void Fail(const std::string& what) {
        throw std::runtime_error("json: " + what + " at " + std::to_string(at_));
    }
    void Space() {
        while (at_ < s_.size() &&
               (s_[at_] == ' ' || s_[at_] == '\n' || s_[at_] == '\t' || s_[at_] == '\r'))
            ++at_;
    }
    char Peek() {
        Space();
        if (at_ >= s_.size()) Fail("unexpected end");
        return s_[at_];
    }
    void Expect(char c) {
        if (Peek() != c) Fail(std::string("expected ") + c);
        ++at_;
    }
    bool Word(std::string_view w) {
        if (s_.substr(at_, w.size()) != w) return false;
        at_ += w.size();
        return true;
    }

    Json Value() {
        Json v;
        const char c = Peek();
        if (c == '{') {
            v.type = Json::Type::Object;
            ++at_;
            if (Peek() == '}') return ++at_, v;
            do {
                v.keys.push_back(String());
                Expect(':');
                v.values.push_back(Value());
            } while (Comma());
            Expect('}');
        } else if (c == '[') {
            v.type = Json::Type::Array;
            ++at_;
            if (Peek() == ']') return ++at_, v;
            do v.items.push_back(Value());
            while (Comma());
            Expect(']');
        } else if (c == '"') {
            v.type = Json::Type::String;
            v.text = String();
        } else if (Word("true")) {
            v.type = Json::Type::Bool;
            v.boolean = true;
        } else if (Word("false")) {
            v.type = Json::Type::Bool;
        } else if (Word("null")) {
        } else {
            v.type = Json::Type::Number;
            const auto [end, error] =
                std::from_chars(s_.data() + at_, s_.data() + s_.size(), v.number);
            if (error != std::errc()) Fail("bad value");
            at_ = static_cast<std::size_t>(end - s_.data());
            if (at_ < s_.size() && (s_[at_] == '.' || s_[at_] == 'e')) Fail("not an integer");
        }
        return v;
    }
    bool Comma() {
        if (Peek() != ',') return false;
        ++at_;
        return true;
    }
    std::string String() {
        Expect('"');
        std::string out;
        while (true) {
            if (at_ >= s_.size()) Fail("unterminated string");
            const char c = s_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= s_.size()) Fail("bad escape");
            const char e = s_[at_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'u': {
                    unsigned code = 0;
                    const auto [end, error] =
                        std::from_chars(s_.data() + at_, s_.data() + at_ + 4, code, 16);
                    if (error != std::errc() || end != s_.data() + at_ + 4 || code >= 0x80)
                        Fail("unsupported \\u escape");
                    out += static_cast<char>(code);
                    at_ += 4;
                    break;
                }
                default:
                    Fail("bad escape");
            }
        }
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

}  // namespace

const Json& Json::operator[](std::string_view key) const {
    for (std::size_t k = 0; k < keys.size(); ++k)
        if (keys[k] == key) return values[k];
    throw std::runtime_error("json: no key " + std::string(key));
}

std::vector<std::int64_t> Json::Ints() const {
    std::vector<std::int64_t> out;
    for (const Json& item : items) out.push_back(item.number);
    return out;
}

std::vector<std::string> Json::Strings() const {
    std::vector<std::string> out;
    for (const Json& item : items) out.push_back(item.text);
    return out;
}

Json Json::Parse(std::string_view text) {
    return Parser(text).Document();
}

}  // namespace zonky::test
