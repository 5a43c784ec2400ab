// Readers for the committed assets, written independently of the generator: BMP and RIFF
// WAVE parsed byte by byte.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace assets_test {

using Bytes = std::vector<std::uint8_t>;

inline std::string ResourcesDir() {
    return ZONKY_RESOURCES_DIR;
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes ReadAsset(const std::string& relative) {
    return ReadFile(ResourcesDir() + "/" + relative);
}

inline std::uint32_t U16(const Bytes& b, size_t at) {
    return b.at(at) | (b.at(at + 1) << 8);
}
inline std::uint32_t U32(const Bytes& b, size_t at) {
    return U16(b, at) | (U16(b, at + 2) << 16);
}
inline std::int32_t S32(const Bytes& b, size_t at) {
    return static_cast<std::int32_t>(U32(b, at));
}
inline std::int16_t S16(const Bytes& b, size_t at) {
    return static_cast<std::int16_t>(U16(b, at));
}
inline std::string FourCc(const Bytes& b, size_t at) {
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

struct Colour {
    int r = 0, g = 0, b = 0;
    friend bool operator==(const Colour&, const Colour&) = default;
    int Luma() const { return (299 * r + 587 * g + 114 * b) / 1000; }
};

struct Bmp {
    std::uint32_t file_size = 0, offset = 0, header_size = 0, compression = 0, colours_used = 0;
    int width = 0, height = 0, bits = 0, planes = 0;
    bool bottom_up = true;
    std::vector<Colour> palette;
    Bytes raw;

    int Index(int x, int y) const {
        const int row_bytes = ((width * bits + 31) / 32) * 4;
        const int row = bottom_up ? height - 1 - y : y;
        const size_t at = offset + static_cast<size_t>(row) * row_bytes;
        if (bits == 8) return raw.at(at + static_cast<size_t>(x));
        if (bits == 4) {
            const std::uint8_t v = raw.at(at + static_cast<size_t>(x / 2));
            return x % 2 == 0 ? v >> 4 : v & 0xF;
        }
        throw std::runtime_error("not a palette picture");
    }
    Colour At(int x, int y) const {
        if (bits == 24) {
            const int row_bytes = ((width * 24 + 31) / 32) * 4;
            const int row = bottom_up ? height - 1 - y : y;
            const size_t at =
                offset + static_cast<size_t>(row) * row_bytes + 3 * static_cast<size_t>(x);
            return {raw.at(at + 2), raw.at(at + 1), raw.at(at)};
        }
        return palette.at(static_cast<size_t>(Index(x, y)));
    }
};

inline Bmp ParseBmp(const Bytes& b) {
    Bmp p;
    p.raw = b;
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error("not a BMP");
    p.file_size = U32(b, 2);
    p.offset = U32(b, 10);
    p.header_size = U32(b, 14);
    p.width = S32(b, 18);
    const int h = S32(b, 22);
    p.bottom_up = h > 0;
    p.height = h > 0 ? h : -h;
    p.planes = static_cast<int>(U16(b, 26));
    p.bits = static_cast<int>(U16(b, 28));
    p.compression = U32(b, 30);
    p.colours_used = U32(b, 46);
    if (p.bits <= 8) {
        const size_t n = p.colours_used ? p.colours_used : (size_t{1} << p.bits);
        for (size_t i = 0; i < n; ++i) {
            const size_t at = 14 + p.header_size + 4 * i;
            p.palette.push_back({b.at(at + 2), b.at(at + 1), b.at(at)});
        }
    }
    return p;
}

struct RiffChunk {
    std::string id;
    size_t offset = 0;  // of the payload
    size_t size = 0;    // payload size as stored
};

struct Wave {
    Bytes raw;
    std::uint32_t riff_size = 0;
    std::string form;
    std::vector<RiffChunk> chunks;
    const RiffChunk* Find(const std::string& id) const {
        for (const RiffChunk& c : chunks)
            if (c.id == id) return &c;
        return nullptr;
    }
};

inline Wave ParseWave(const Bytes& b) {
    Wave w;
    w.raw = b;
    if (b.size() < 12 || FourCc(b, 0) != "RIFF") throw std::runtime_error("not RIFF");
    w.riff_size = U32(b, 4);
    w.form = FourCc(b, 8);
    size_t at = 12;
    while (at + 8 <= b.size()) {
        RiffChunk c{FourCc(b, at), at + 8, U32(b, at + 4)};
        w.chunks.push_back(c);
        at += 8 + c.size + (c.size % 2);
    }
    if (at != b.size()) throw std::runtime_error("chunks do not end at the end of the file");
    return w;
}

}  // namespace assets_test
