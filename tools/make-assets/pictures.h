// The pictures of the game, drawn: background, sprite strips, the special piece, the overlays,
// avatars, the Options glyphs, the program icon and the two pictures of the welcome dialog.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "tools/make-assets/formats.h"

namespace assets {

// Fonts, loaded from their files so that the outlines (not the hinting of the machine) decide
// the pixels. Each picture names the one it uses.
QString FontFile(const char* face);  // "LiberationSerif-Bold", "ComicNeue-Bold", ...

// The strip background, the transparent colour of every strip.
constexpr Rgb kStripBackground{252, 252, 252};

IndexedPicture MakeBkGround();            // 310 x 380, 8-bit
IndexedPicture MakeStrip(int colour);     // 1..7: 306 x 18, 8-bit
IndexedPicture MakeErase();               // 18 x 18, 4-bit
RgbPicture MakePauseImg();                // 163 x 50, 24-bit
RgbPicture MakeGmOvImg();                 // 195 x 35, 24-bit
QImage MakeAvatar(int index);             // 0..24: 32 x 32 ARGB
QImage MakeSpeedButton(bool turn_right);  // 28 x 27 ARGB
QImage MakeIcon(int size);                // size x size ARGB
std::string MakeIconSvg();                // the same icon as SVG
IndexedPicture MakeIconDib();             // the 32 x 32 icon on white, 8-bit (for DISP chunks)
QImage MakeGamePicture(int which);        // 0, 1: 100 x 100 RGB
const char* GamePictureName(int which);   // the hint texts: the games' names

// Cell shape of a frame: quarters T=1, R=2, B=4, L=8; frame 15, 16: none.
int FrameQuarters(int frame);

// Conversions for the contact sheet and the checks.
QImage ToQImage(const IndexedPicture& p);
QImage ToQImage(const RgbPicture& p);

}  // namespace assets
