// A small JSON reader for the tests that check zonky-replay's output.
#pragma once

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zonky::test {

struct Json {
    enum class Type { Null, Bool, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    std::int64_t number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::string> keys;  // object members in document order
    std::vector<Json> values;

    const Json& operator[](std::string_view key) const;
    const Json& operator[](std::size_t index) const { return items.at(index); }
    const std::vector<std::string>& Keys() const { return keys; }
    std::vector<std::int64_t> Ints() const;
    std::vector<std::string> Strings() const;

    // Throws std::runtime_error on anything that is not one complete JSON value.
    static Json Parse(std::string_view text);
};

}  // namespace zonky::test
