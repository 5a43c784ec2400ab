#include "records/name_codec.h"

#include <iconv.h>

#include <array>
#include <cerrno>

namespace zonky {
namespace {

// One conversion descriptor per call: names are short and converted rarely.
class Converter {
  public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts one whole input; returns false at the first byte it cannot take.
    bool Convert(std::string_view in, std::string& out) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        std::size_t left = in.size();
        std::array<char, 64> buffer{};
        while (left > 0) {
            char* dst = buffer.data();
            std::size_t room = buffer.size();
            const std::size_t r = iconv(cd_, &src, &left, &dst, &room);
            out.append(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
            if (r == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
        }
        return true;
    }

  private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
    Converter converter("UTF-8", "WINDOWS-1251");
    std::string out;
    for (char byte : bytes) {
        if (converter.ok() && converter.Convert(std::string_view(&byte, 1), out)) continue;
        out += "\xEF\xBF\xBD";
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view text) {
    Converter converter("WINDOWS-1251", "UTF-8");
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t n = SequenceLength(static_cast<unsigned char>(text[at]));
        if (at + n > text.size()) n = text.size() - at;
        std::string one;
        if (converter.ok() && converter.Convert(text.substr(at, n), one))
            out += one;
        else
            out += '?';
        at += n;
    }
    return out;
}

}  // namespace zonky
