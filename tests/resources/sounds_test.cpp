// Reads the committed sounds and checks their RIFF layout, WAVE headers, byte counts, chunk
// lists, and that they peak near -3 dBFS and start and end without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/resources/asset_files.h"

using namespace assets_test;

namespace {

Wave Load(const std::string& name) {
    return ParseWave(ReadAsset("sounds/" + name + ".wav"));
}

std::vector<std::string> Ids(const Wave& w) {
    std::vector<std::string> ids;
    for (const RiffChunk& c : w.chunks) ids.push_back(c.id);
    return ids;
}

struct Fmt {
    int tag, channels, rate, byte_rate, block_align, bits;
};
Fmt ReadFmt(const Wave& w) {
    const RiffChunk* f = w.Find("fmt ");
    if (!f) throw std::runtime_error("no fmt chunk");
    const Bytes& b = w.raw;
    return {static_cast<int>(U16(b, f->offset)),      static_cast<int>(U16(b, f->offset + 2)),
            static_cast<int>(U32(b, f->offset + 4)),  static_cast<int>(U32(b, f->offset + 8)),
            static_cast<int>(U16(b, f->offset + 12)), static_cast<int>(U16(b, f->offset + 14))};
}

size_t ChunkBytes(const Wave& w, const std::string& id) {
    const RiffChunk* c = w.Find(id);
    return c ? 8 + c->size + c->size % 2 : 0;
}

// Samples scaled to -1..1.
std::vector<double> PcmSamples(const Wave& w) {
    const Fmt f = ReadFmt(w);
    const RiffChunk* d = w.Find("data");
    std::vector<double> s;
    if (f.bits == 16)
        for (size_t i = 0; i + 1 < d->size; i += 2)
            s.push_back(S16(w.raw, d->offset + i) / 32768.0);
    else
        for (size_t i = 0; i < d->size; ++i) s.push_back((w.raw[d->offset + i] - 128) / 128.0);
    return s;
}

void ExpectPeakAndNoClicks(const std::vector<double>& s, const std::string& name) {
    double peak = 0;
    for (double v : s) peak = std::max(peak, std::abs(v));
    const double db = 20 * std::log10(peak);
    EXPECT_GT(db, -3.6) << name;
    EXPECT_LT(db, -2.5) << name;
    // Start and end at silence, and get there smoothly.
    EXPECT_LT(std::abs(s.front()), 0.01) << name;
    EXPECT_LT(std::abs(s.back()), 0.01) << name;
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_LT(std::abs(s[i]), 0.03) << name << " sample " << i;
        EXPECT_LT(std::abs(s[s.size() - 1 - i]), 0.03) << name << " sample from the end " << i;
    }
}

}  // namespace

TEST(Sounds, Upal) {
    const Wave w = Load("UPAL");
    EXPECT_EQ(w.raw.size(), 4076u);
    EXPECT_EQ(w.riff_size, 4076u - 8);
    EXPECT_EQ(w.form, "WAVE");
    EXPECT_EQ(Ids(w), (std::vector<std::string>{"fmt ", "data"}));
    const Fmt f = ReadFmt(w);
    EXPECT_EQ(w.Find("fmt ")->size, 16u);
    EXPECT_EQ(f.tag, 1);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.rate, 22050);
    EXPECT_EQ(f.bits, 16);
    EXPECT_EQ(f.block_align, 2);
    EXPECT_EQ(f.byte_rate, 44100);
    EXPECT_EQ(w.Find("data")->size, 4032u);
    EXPECT_NEAR(4032 / 2 / 22050.0, 0.091, 0.0005);
    ExpectPeakAndNoClicks(PcmSamples(w), "Upal");
}

TEST(Sounds, Fire) {
    const Wave w = Load("FIRE");
    EXPECT_EQ(w.raw.size(), 7884u);
    EXPECT_EQ(w.riff_size, 7884u - 8);
    EXPECT_EQ(Ids(w), (std::vector<std::string>{"fmt ", "data"}));
    const Fmt f = ReadFmt(w);
    EXPECT_EQ(f.tag, 1);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.rate, 11025);
    EXPECT_EQ(f.bits, 8);
    EXPECT_EQ(f.block_align, 1);
    EXPECT_EQ(f.byte_rate, 11025);
    EXPECT_EQ(w.Find("data")->size, 7840u);
    EXPECT_NEAR(7840 / 11025.0, 0.711, 0.0005);
    ExpectPeakAndNoClicks(PcmSamples(w), "Fire");
}

TEST(Sounds, Space) {
    const Wave w = Load("SPACE");
    EXPECT_EQ(w.raw.size(), 10572u);
    EXPECT_EQ(w.riff_size, 10572u - 8);
    EXPECT_EQ(Ids(w), (std::vector<std::string>{"fmt ", "data", "DISP", "LIST"}));
    const Fmt f = ReadFmt(w);
    EXPECT_EQ(f.tag, 1);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.rate, 22050);
    EXPECT_EQ(f.bits, 16);
    EXPECT_EQ(w.Find("data")->size, 8190u);
    EXPECT_NEAR(8190 / 2 / 22050.0, 0.186, 0.0005);
    EXPECT_EQ(ChunkBytes(w, "DISP") + ChunkBytes(w, "LIST"), 2338u);
    ExpectPeakAndNoClicks(PcmSamples(w), "Space");
}

TEST(Sounds, LevelFinHeaders) {
    const Wave w = Load("LEVELFIN");
    EXPECT_EQ(w.raw.size(), 54630u);
    EXPECT_EQ(w.riff_size, 54630u - 8);
    EXPECT_EQ(Ids(w), (std::vector<std::string>{"fmt ", "fact", "data", "DISP", "LIST"}));
    const Fmt f = ReadFmt(w);
    EXPECT_EQ(f.tag, 2);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.rate, 22050);
    EXPECT_EQ(f.bits, 4);
    EXPECT_EQ(f.block_align, 1024);
    EXPECT_EQ(f.byte_rate, 22050 * 1024 / 1012);
    const RiffChunk* fmt = w.Find("fmt ");
    ASSERT_EQ(fmt->size, 50u);
    EXPECT_EQ(U16(w.raw, fmt->offset + 16), 32u);    // cbSize
    EXPECT_EQ(U16(w.raw, fmt->offset + 18), 1012u);  // samples per block
    EXPECT_EQ(U16(w.raw, fmt->offset + 20), 7u);     // coefficient pairs
    const int coef[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                            {240, 0}, {460, -208}, {392, -232}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(S16(w.raw, fmt->offset + 22 + 4 * i), coef[i][0]);
        EXPECT_EQ(S16(w.raw, fmt->offset + 24 + 4 * i), coef[i][1]);
    }
    ASSERT_EQ(w.Find("fact")->size, 4u);
    EXPECT_EQ(U32(w.raw, w.Find("fact")->offset), 51623u);
    const RiffChunk* data = w.Find("data");
    EXPECT_EQ(data->size, 52247u);
    EXPECT_EQ(52247u, 51 * 1024u + 23u);
    EXPECT_EQ(w.raw.at(data->offset + data->size), 0);  // the pad byte after the odd data
    EXPECT_EQ(ChunkBytes(w, "DISP") + ChunkBytes(w, "LIST"), 2292u);
    // Every block header names one of the seven predictors and a delta of at least 16.
    for (size_t block = 0; block < 52; ++block) {
        const size_t at = data->offset + block * 1024;
        for (int ch = 0; ch < 2; ++ch) {
            EXPECT_LT(w.raw[at + static_cast<size_t>(ch)], 7) << block;
            EXPECT_GE(S16(w.raw, at + 2 + 2 * static_cast<size_t>(ch)), 16) << block;
        }
    }
    // 51 full blocks of 1012 frames and a last one of 2 + 9 frames.
    EXPECT_EQ(51 * 1012 + 2 + (23 - 14) * 2 / 2, 51623);
    EXPECT_NEAR(51623 / 22050.0, 2.341, 0.0005);
}

TEST(Sounds, ExtraChunksAreWellFormed) {
    for (const char* name : {"SPACE", "LEVELFIN"}) {
        const Wave w = Load(name);
        const RiffChunk* disp = w.Find("DISP");
        ASSERT_TRUE(disp);
        EXPECT_EQ(U32(w.raw, disp->offset), 8u) << name;       // CF_DIB
        EXPECT_EQ(U32(w.raw, disp->offset + 4), 40u) << name;  // BITMAPINFOHEADER
        EXPECT_EQ(S32(w.raw, disp->offset + 8), 32) << name;   // a 32 x 32 picture
        const RiffChunk* list = w.Find("LIST");
        ASSERT_TRUE(list);
        EXPECT_EQ(FourCc(w.raw, list->offset), "INFO") << name;
        EXPECT_EQ(FourCc(w.raw, list->offset + 4), "INAM") << name;
    }
}
