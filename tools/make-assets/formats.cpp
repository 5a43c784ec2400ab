#include "tools/make-assets/formats.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

namespace assets {

void PutU16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v & 0xFF));
    out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void PutU32(Bytes& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

void PutFourCc(Bytes& out, const char* id) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(id[i]));
}

namespace {

int RowBytes(int width, int bits) {
    return ((width * bits + 31) / 32) * 4;
}

void PutInfoHeader(Bytes& out, int width, int height, int bits, int colours, int image_bytes) {
    PutU32(out, 40);
    PutU32(out, static_cast<std::uint32_t>(width));
    PutU32(out, static_cast<std::uint32_t>(height));  // positive: rows bottom-up
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(bits));
    PutU32(out, 0);  // BI_RGB, uncompressed
    PutU32(out, static_cast<std::uint32_t>(image_bytes));
    PutU32(out, 2835);  // 72 dpi
    PutU32(out, 2835);
    PutU32(out, static_cast<std::uint32_t>(colours));
    PutU32(out, static_cast<std::uint32_t>(colours));
}

void PutPalette(Bytes& out, const std::vector<Rgb>& palette, size_t entries) {
    for (size_t i = 0; i < entries; ++i) {
        Rgb c = i < palette.size() ? palette[i] : Rgb{0, 0, 0};
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

void PutIndexedRows(Bytes& out, const IndexedPicture& p, int bits) {
    const int row_bytes = RowBytes(p.width, bits);
    for (int y = p.height - 1; y >= 0; --y) {
        Bytes row(static_cast<size_t>(row_bytes), 0);
        for (int x = 0; x < p.width; ++x) {
            std::uint8_t v = p.At(x, y);
            if (bits == 8) {
                row[static_cast<size_t>(x)] = v;
            } else {
                row[static_cast<size_t>(x / 2)] |=
                    (x % 2 == 0) ? static_cast<std::uint8_t>(v << 4) : v;
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
}

void CheckIndexed(const IndexedPicture& p, int bits) {
    const size_t max_colours = size_t{1} << bits;
    if (p.palette.empty() || p.palette.size() > max_colours)
        throw std::runtime_error("palette does not fit the depth");
    if (p.pixels.size() != static_cast<size_t>(p.width) * p.height)
        throw std::runtime_error("pixel count does not match the size");
    for (std::uint8_t v : p.pixels)
        if (v >= p.palette.size()) throw std::runtime_error("pixel index outside the palette");
}

}  // namespace

Bytes WritePaletteBmp(const IndexedPicture& p, int bits) {
    if (bits != 8 && bits != 4) throw std::runtime_error("palette BMP depth must be 8 or 4");
    CheckIndexed(p, bits);
    const int image_bytes = RowBytes(p.width, bits) * p.height;
    const int colours = static_cast<int>(p.palette.size());
    const int offset = 14 + 40 + 4 * colours;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(offset + image_bytes));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(offset));
    PutInfoHeader(out, p.width, p.height, bits, colours, image_bytes);
    PutPalette(out, p.palette, p.palette.size());
    PutIndexedRows(out, p, bits);
    return out;
}

Bytes WritePackedDib8(const IndexedPicture& p) {
    CheckIndexed(p, 8);
    const int image_bytes = RowBytes(p.width, 8) * p.height;
    Bytes out;
    PutInfoHeader(out, p.width, p.height, 8, 256, image_bytes);
    PutPalette(out, p.palette, 256);
    PutIndexedRows(out, p, 8);
    return out;
}

Bytes WriteRgbBmp(const RgbPicture& p) {
    const int row_bytes = RowBytes(p.width, 24);
    const int image_bytes = row_bytes * p.height;
    const int offset = 14 + 40;
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    PutU32(out, static_cast<std::uint32_t>(offset + image_bytes));
    PutU32(out, 0);
    PutU32(out, static_cast<std::uint32_t>(offset));
    PutInfoHeader(out, p.width, p.height, 24, 0, image_bytes);
    for (int y = p.height - 1; y >= 0; --y) {
        Bytes row(static_cast<size_t>(row_bytes), 0);
        for (int x = 0; x < p.width; ++x) {
            const Rgb& c = p.pixels[static_cast<size_t>(y) * p.width + x];
            row[static_cast<size_t>(3 * x)] = c.b;
            row[static_cast<size_t>(3 * x + 1)] = c.g;
            row[static_cast<size_t>(3 * x + 2)] = c.r;
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes WriteRiffWave(const std::vector<Chunk>& chunks) {
    Bytes body;
    PutFourCc(body, "WAVE");
    for (const Chunk& c : chunks) {
        if (c.id.size() != 4) throw std::runtime_error("chunk identifier must have 4 characters");
        PutFourCc(body, c.id.c_str());
        PutU32(body, static_cast<std::uint32_t>(c.payload.size()));
        body.insert(body.end(), c.payload.begin(), c.payload.end());
        if (c.payload.size() % 2 == 1) body.push_back(0);  // pad byte, not counted in the size
    }
    Bytes out;
    PutFourCc(out, "RIFF");
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes PcmFormat(int channels, int rate, int bits) {
    Bytes f;
    const int block = channels * bits / 8;
    PutU16(f, 1);
    PutU16(f, static_cast<std::uint32_t>(channels));
    PutU32(f, static_cast<std::uint32_t>(rate));
    PutU32(f, static_cast<std::uint32_t>(rate * block));
    PutU16(f, static_cast<std::uint32_t>(block));
    PutU16(f, static_cast<std::uint32_t>(bits));
    return f;
}

namespace {

constexpr int kCoef[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                             {240, 0}, {460, -208}, {392, -232}};
constexpr int kAdapt[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                            768, 614, 512, 409, 307, 230, 230, 230};

struct AdpcmState {
    int coef1 = 256, coef2 = 0;
    int delta = 16;
    int sample1 = 0, sample2 = 0;

    // Decodes one nibble exactly as the Microsoft decoder does (division truncates toward zero).
    int Expand(int nibble) {
        const int signed_nibble = nibble >= 8 ? nibble - 16 : nibble;
        int predicted = (sample1 * coef1 + sample2 * coef2) / 256;
        int value = std::clamp(predicted + signed_nibble * delta, -32768, 32767);
        sample2 = sample1;
        sample1 = value;
        delta = kAdapt[nibble] * delta / 256;
        if (delta < 16) delta = 16;
        return value;
    }

    int Choose(int target) const {
        const int predicted = (sample1 * coef1 + sample2 * coef2) / 256;
        const double q = static_cast<double>(target - predicted) / delta;
        long n = std::lround(q);
        n = std::clamp(n, -8L, 7L);
        // Never step past the 16-bit range when a smaller step lands closer.
        return static_cast<int>(n) & 0xF;
    }
};

// Encodes one channel of one block; returns the squared error and fills nibbles.
double EncodeChannel(const std::vector<int>& s, int predictor, int first_delta,
                     std::vector<int>* nibbles) {
    AdpcmState st;
    st.coef1 = kCoef[predictor][0];
    st.coef2 = kCoef[predictor][1];
    st.delta = first_delta;
    st.sample2 = s[0];
    st.sample1 = s.size() > 1 ? s[1] : s[0];
    double err = 0;
    if (nibbles) nibbles->clear();
    for (size_t i = 2; i < s.size(); ++i) {
        int n = st.Choose(s[i]);
        int v = st.Expand(n);
        const double e = static_cast<double>(v - s[i]);
        err += e * e;
        if (nibbles) nibbles->push_back(n);
    }
    return err;
}

}  // namespace

Bytes MsAdpcmFormat(int channels, int rate, int block_align, int samples_per_block) {
    Bytes f;
    PutU16(f, 2);
    PutU16(f, static_cast<std::uint32_t>(channels));
    PutU32(f, static_cast<std::uint32_t>(rate));
    PutU32(f, static_cast<std::uint32_t>(static_cast<long long>(rate) * block_align /
                                         samples_per_block));
    PutU16(f, static_cast<std::uint32_t>(block_align));
    PutU16(f, 4);
    PutU16(f, 32);  // cbSize: samples per block, number of coefficients, 7 pairs
    PutU16(f, static_cast<std::uint32_t>(samples_per_block));
    PutU16(f, 7);
    for (const auto& c : kCoef) {
        PutU16(f, static_cast<std::uint32_t>(static_cast<std::uint16_t>(c[0])));
        PutU16(f, static_cast<std::uint32_t>(static_cast<std::uint16_t>(c[1])));
    }
    return f;
}

Bytes EncodeMsAdpcm(const std::vector<std::int16_t>& frames, int channels, int block_align) {
    const size_t frame_count = frames.size() / static_cast<size_t>(channels);
    const size_t per_block = 2 + static_cast<size_t>(block_align - 7 * channels) * 2 / channels;
    static constexpr int kDeltas[] = {16,   20,   24,   32,   40,   48,   64,   80,  96,   128,
                                      160,  192,  256,  320,  384,  512,  640,  768, 1024, 1280,
                                      1536, 2048, 2560, 3072, 4096, 5120, 6144, 8192};
    Bytes out;
    for (size_t start = 0; start < frame_count; start += per_block) {
        const size_t n = std::min(per_block, frame_count - start);
        if (n < 2) throw std::runtime_error("an ADPCM block needs at least two frames");
        std::vector<int> predictor(static_cast<size_t>(channels));
        std::vector<int> delta(static_cast<size_t>(channels));
        std::vector<std::vector<int>> nibbles(static_cast<size_t>(channels));
        std::vector<std::vector<int>> samples(static_cast<size_t>(channels));
        for (int ch = 0; ch < channels; ++ch) {
            auto& s = samples[static_cast<size_t>(ch)];
            for (size_t i = 0; i < n; ++i)
                s.push_back(
                    frames[(start + i) * static_cast<size_t>(channels) + static_cast<size_t>(ch)]);
            double best = std::numeric_limits<double>::infinity();
            for (int p = 0; p < 7; ++p) {
                for (int d : kDeltas) {
                    const double e = EncodeChannel(s, p, d, nullptr);
                    if (e < best) {
                        best = e;
                        predictor[static_cast<size_t>(ch)] = p;
                        delta[static_cast<size_t>(ch)] = d;
                    }
                }
            }
            EncodeChannel(s, predictor[static_cast<size_t>(ch)], delta[static_cast<size_t>(ch)],
                          &nibbles[static_cast<size_t>(ch)]);
        }
        for (int ch = 0; ch < channels; ++ch)
            out.push_back(static_cast<std::uint8_t>(predictor[static_cast<size_t>(ch)]));
        for (int ch = 0; ch < channels; ++ch)
            PutU16(out, static_cast<std::uint32_t>(delta[static_cast<size_t>(ch)]));
        for (int ch = 0; ch < channels; ++ch)
            PutU16(out, static_cast<std::uint16_t>(samples[static_cast<size_t>(ch)][1]));
        for (int ch = 0; ch < channels; ++ch)
            PutU16(out, static_cast<std::uint16_t>(samples[static_cast<size_t>(ch)][0]));
        // Nibbles in frame order, channel order within a frame, high nibble first.
        std::vector<int> stream;
        for (size_t i = 0; i + 2 < n; ++i)
            for (int ch = 0; ch < channels; ++ch)
                stream.push_back(nibbles[static_cast<size_t>(ch)][i]);
        if (stream.size() % 2 == 1) stream.push_back(0);
        for (size_t i = 0; i < stream.size(); i += 2)
            out.push_back(static_cast<std::uint8_t>((stream[i] << 4) | stream[i + 1]));
    }
    return out;
}

std::vector<std::int16_t> DecodeMsAdpcm(const Bytes& data, int channels, int block_align) {
    std::vector<std::int16_t> out;
    auto s16 = [&](size_t at) {
        return static_cast<int>(static_cast<std::int16_t>(data[at] | (data[at + 1] << 8)));
    };
    for (size_t start = 0; start < data.size(); start += static_cast<size_t>(block_align)) {
        const size_t len = std::min(static_cast<size_t>(block_align), data.size() - start);
        const size_t header = 7 * static_cast<size_t>(channels);
        if (len < header) break;
        std::vector<AdpcmState> st(static_cast<size_t>(channels));
        for (int ch = 0; ch < channels; ++ch) {
            auto& c = st[static_cast<size_t>(ch)];
            const int p = data[start + static_cast<size_t>(ch)];
            c.coef1 = kCoef[p][0];
            c.coef2 = kCoef[p][1];
            c.delta = s16(start + static_cast<size_t>(channels + 2 * ch));
            c.sample1 = s16(start + static_cast<size_t>(3 * channels + 2 * ch));
            c.sample2 = s16(start + static_cast<size_t>(5 * channels + 2 * ch));
        }
        for (int ch = 0; ch < channels; ++ch)
            out.push_back(static_cast<std::int16_t>(st[static_cast<size_t>(ch)].sample2));
        for (int ch = 0; ch < channels; ++ch)
            out.push_back(static_cast<std::int16_t>(st[static_cast<size_t>(ch)].sample1));
        const size_t nibble_count = (len - header) * 2;
        const size_t whole =
            nibble_count / static_cast<size_t>(channels) * static_cast<size_t>(channels);
        for (size_t i = 0; i < whole; ++i) {
            const std::uint8_t b = data[start + header + i / 2];
            const int nib = (i % 2 == 0) ? (b >> 4) : (b & 0xF);
            out.push_back(
                static_cast<std::int16_t>(st[i % static_cast<size_t>(channels)].Expand(nib)));
        }
    }
    return out;
}

Chunk InfoList(const std::string& name, const std::string& software, const std::string& comment,
               size_t total_bytes) {
    auto sub = [](Bytes& out, const char* id, std::string text) {
        text.push_back('\0');
        if (text.size() % 2 == 1) text.push_back('\0');
        PutFourCc(out, id);
        PutU32(out, static_cast<std::uint32_t>(text.size()));
        out.insert(out.end(), text.begin(), text.end());
    };
    Chunk c{"LIST", {}};
    PutFourCc(c.payload, "INFO");
    sub(c.payload, "INAM", name);
    sub(c.payload, "ISFT", software);
    // Remaining: total - 8 (LIST header) - payload so far - 8 (ICMT header).
    const long room = static_cast<long>(total_bytes) - 8 - static_cast<long>(c.payload.size()) - 8;
    if (room < static_cast<long>(comment.size()) + 1 || room % 2 != 0)
        throw std::runtime_error("the LIST chunk cannot have the requested size");
    std::string text = comment;
    text.resize(static_cast<size_t>(room - 1), ' ');
    sub(c.payload, "ICMT", text);
    return c;
}

Chunk DispDib(const IndexedPicture& picture) {
    Chunk c{"DISP", {}};
    PutU32(c.payload, 8);  // CF_DIB
    Bytes dib = WritePackedDib8(picture);
    c.payload.insert(c.payload.end(), dib.begin(), dib.end());
    return c;
}

}  // namespace assets
