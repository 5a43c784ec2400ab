#include "records/settings_format.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace zonky {
namespace {

Settings Parse(std::string_view text) {
    return ParseSettings({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

std::string Form(const Settings& s) {
    const auto text = FormSettings(s);
    return {text.begin(), text.end()};
}

std::string Flags(const Settings& s) {
    return std::to_string(s.RotateClockwise) + std::to_string(s.MusicOn) +
           std::to_string(s.SoundOn) + std::to_string(s.UiLanguage);
}

TEST(SettingsBytes, OnlyTheCharacterOneCountsAndMissingOnesAreZero) {
    EXPECT_EQ(Flags(Parse("0110")), "0110");
    EXPECT_EQ(Flags(Parse("1")), "1000");  // clockwise, music off, sound off, English
    EXPECT_EQ(Flags(Parse("")), "0000");   // so sound is off
    EXPECT_EQ(Flags(Parse("1111\n")), "1111");
    EXPECT_EQ(Flags(Parse("1111\r\n0000")), "1111");
    EXPECT_EQ(Flags(Parse("2111")), "0111");
    EXPECT_EQ(Flags(Parse("1\r\n1")), "1001");  // a line end takes a position
    EXPECT_EQ(Flags(Parse("11 1")), "1101");
    EXPECT_EQ(Flags(Parse(std::string_view("1\0"
                                           "11",
                                           4))),
              "1011");
}

TEST(SettingsBytes, WritesFourCharactersWithoutALineEnd) {
    EXPECT_EQ(Form(kDefaultSettings), "0110");
    EXPECT_EQ(Form(Parse("1111\n")), "1111");
    Settings odd;
    odd.RotateClockwise = 2;  // on, for the game: stays one character
    odd.UiLanguage = 255;
    EXPECT_EQ(Form(odd), "1111");
    for (int bits = 0; bits < 16; ++bits) {
        Settings s;
        s.RotateClockwise = bits & 1;
        s.MusicOn = (bits >> 1) & 1;
        s.SoundOn = (bits >> 2) & 1;
        s.UiLanguage = (bits >> 3) & 1;
        EXPECT_EQ(Flags(Parse(Form(s))), Flags(s));
    }
}

}  // namespace
}  // namespace zonky
