// A small streaming JSON writer: enough for zonky-replay's state lines.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zonky {

class JsonWriter {
  public:
    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    void Key(std::string_view key);
    void Int(std::int64_t value);
    void Bool(bool value);
    void String(std::string_view utf8);

    const std::string& str() const { return out_; }

  private:
    void Open(char bracket);
    void Close(char bracket);
    void BeforeValue();
    void Quote(std::string_view utf8);

    std::string out_;
    std::vector<bool> first_;  // per open container: no element written yet
    bool afterKey_ = false;
};

}  // namespace zonky
