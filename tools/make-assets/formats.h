// File formats written by make-assets: palette BMP (8-bit, 4-bit), 24-bit BMP, RIFF WAVE with
// extra chunks, and a Microsoft ADPCM encoder. Plain C++, byte for byte, no Qt.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace assets {

using Bytes = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// A palette picture: one index per pixel, rows top to bottom.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> pixels;  // width * height indices
    std::uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// A 24-bit picture, rows top to bottom.
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
};

// Uncompressed BMP files: BITMAPFILEHEADER, BITMAPINFOHEADER, palette (biClrUsed entries), rows
// bottom-up padded to 4 bytes. bits is 8 or 4 for palette pictures.
Bytes WritePaletteBmp(const IndexedPicture& picture, int bits);
Bytes WriteRgbBmp(const RgbPicture& picture);
// The same 8-bit picture as a packed DIB (BITMAPINFOHEADER, 256-entry palette, rows), as the
// clipboard format CF_DIB holds it.
Bytes WritePackedDib8(const IndexedPicture& picture);

// Little-endian helpers.
void PutU16(Bytes& out, std::uint32_t v);
void PutU32(Bytes& out, std::uint32_t v);
void PutFourCc(Bytes& out, const char* id);

// One RIFF chunk: identifier and payload; the writer adds the size and the pad byte.
struct Chunk {
    std::string id;
    Bytes payload;
};
Bytes WriteRiffWave(const std::vector<Chunk>& chunks);

// "fmt " payloads.
Bytes PcmFormat(int channels, int rate, int bits);
Bytes MsAdpcmFormat(int channels, int rate, int block_align, int samples_per_block);

// A "LIST" chunk of type "INFO" whose whole size, header included, is exactly total_bytes:
// INAM and ISFT as given, then an ICMT comment padded with spaces to fill the rest.
Chunk InfoList(const std::string& name, const std::string& software, const std::string& comment,
               size_t total_bytes);
// A "DISP" chunk holding a CF_DIB picture.
Chunk DispDib(const IndexedPicture& picture);

// Microsoft ADPCM (format tag 2), 4 bits, the seven standard coefficient pairs. frames holds
// interleaved 16-bit samples; every block but the last is block_align bytes, the last one
// holds only the frames that are left (header plus whole bytes of nibbles).
Bytes EncodeMsAdpcm(const std::vector<std::int16_t>& frames, int channels, int block_align);
// The reference decoder of the same format (for the generator's own check).
std::vector<std::int16_t> DecodeMsAdpcm(const Bytes& data, int channels, int block_align);

}  // namespace assets
