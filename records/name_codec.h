// Names are stored in Windows-1251; everything else in the program is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zonky {

// Stored bytes to UTF-8. Bytes with no character in Windows-1251 become U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

// UTF-8 to stored bytes, each character without a Windows-1251 form replaced by "?".
std::string Utf8ToCp1251(std::string_view text);

}  // namespace zonky
