// The four sound effects, synthesised: "Upal", "Fire", "Space", "LevelFin".
#pragma once

#include <cstdint>
#include <vector>

#include "tools/make-assets/formats.h"

namespace assets {

// The synthesised signals before they are stored, as 16-bit samples (interleaved for stereo).
std::vector<std::int16_t> SynthUpal();      // mono, 22050 Hz, 2016 frames
std::vector<std::int16_t> SynthFire();      // mono, 11025 Hz, 7840 frames (stored as 8-bit)
std::vector<std::int16_t> SynthSpace();     // mono, 22050 Hz, 4095 frames
std::vector<std::int16_t> SynthLevelFin();  // stereo, 22050 Hz, 51623 frames

// The complete RIFF WAVE files. The DISP chunks carry a 32 x 32 picture of the program icon.
Bytes MakeUpalWav();
Bytes MakeFireWav();
Bytes MakeSpaceWav(const IndexedPicture& disp_icon);
Bytes MakeLevelFinWav(const IndexedPicture& disp_icon);

}  // namespace assets
