#include "tools/make-assets/sounds.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assets {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.7079457843841379;  // -3 dBFS

// A fixed-seed generator (xorshift64*), so every run draws the same noise.
class Noise {
  public:
    explicit Noise(std::uint64_t seed) : s_(seed) {}
    double Next() {  // uniform in [-1, 1)
        s_ ^= s_ >> 12;
        s_ ^= s_ << 25;
        s_ ^= s_ >> 27;
        const std::uint64_t v = s_ * 2685821657736338717ULL;
        return static_cast<double>(v >> 11) / 4503599627370496.0 - 1.0;
    }
    double Uniform() { return 0.5 * (Next() + 1.0); }

  private:
    std::uint64_t s_;
};

// Smooth fades: raised cosine over n samples at both ends, and exact zero at the edges.
void Fade(std::vector<double>& x, size_t channels, size_t fade_in, size_t fade_out) {
    const size_t frames = x.size() / channels;
    for (size_t i = 0; i < frames; ++i) {
        double g = 1.0;
        if (i < fade_in) g *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / fade_in);
        const size_t from_end = frames - 1 - i;
        if (from_end < fade_out)
            g *= 0.5 - 0.5 * std::cos(kPi * static_cast<double>(from_end) / fade_out);
        for (size_t c = 0; c < channels; ++c) x[i * channels + c] *= g;
    }
}

std::vector<std::int16_t> Normalise(const std::vector<double>& x, double peak = kPeak) {
    double m = 0;
    for (double v : x) m = std::max(m, std::abs(v));
    if (m <= 0) throw std::runtime_error("silent signal");
    std::vector<std::int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        out[i] = static_cast<std::int16_t>(std::lround(x[i] / m * peak * 32767.0));
    return out;
}

// A two-pole resonant band-pass (state variable filter).
struct Svf {
    double low = 0, band = 0;
    double Process(double in, double freq, double rate, double q) {
        const double f = 2.0 * std::sin(kPi * std::min(freq, rate / 6.0) / rate);
        low += f * band;
        const double high = in - low - band / q;
        band += f * high;
        return band;
    }
};

}  // namespace

std::vector<std::int16_t> SynthUpal() {
    // A soft thud: a low sine falling from 120 to 55 Hz, a dull knock of filtered noise at the
    // start, everything dying away within the 91 ms.
    const double rate = 22050;
    const size_t n = 2016;
    Noise noise(0x5550414CULL);
    std::vector<double> x(n);
    double phase = 0;
    Svf knock;
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double f = 55.0 + 65.0 * std::exp(-t / 0.018);
        phase += 2 * kPi * f / rate;
        const double body = std::sin(phase) * std::exp(-t / 0.030);
        const double k = knock.Process(noise.Next(), 420.0, rate, 1.2) * std::exp(-t / 0.007);
        x[i] = body + 0.9 * k;
    }
    Fade(x, 1, 40, 300);
    return Normalise(x);
}

std::vector<std::int16_t> SynthFire() {
    // A bright crackling burst: a hiss that flares and fades, sparks (short high pings) and
    // crackles (sharp clicks of noise) thinning out over 0.7 s.
    const double rate = 11025;
    const size_t n = 7840;
    Noise noise(0x46495245ULL);
    std::vector<double> x(n, 0.0);
    Svf hiss_filter;
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double env = (1 - std::exp(-t / 0.012)) * std::exp(-t / 0.22);
        const double centre = 2600.0 - 1400.0 * std::min(1.0, t / 0.7);
        x[i] += 0.45 * env * hiss_filter.Process(noise.Next(), centre, rate, 0.9);
    }
    // Crackles and sparks at random moments, denser at the start.
    double t = 0.004;
    while (t < 0.64) {
        const size_t at = static_cast<size_t>(t * rate);
        const double strength = 0.35 + 0.65 * noise.Uniform();
        const double fade = std::exp(-t / 0.3);
        if (noise.Uniform() < 0.55) {
            // Crackle: 1.5..4 ms of raw noise.
            const size_t len = static_cast<size_t>((0.0015 + 0.0025 * noise.Uniform()) * rate);
            for (size_t k = 0; k < len && at + k < n; ++k)
                x[at + k] += fade * strength * noise.Next() *
                             std::exp(-static_cast<double>(k) / (len * 0.4));
        } else {
            // Spark: a ping between 1.8 and 4.2 kHz, 10..25 ms.
            const double f = 1800.0 + 2400.0 * noise.Uniform();
            const double tau = 0.004 + 0.006 * noise.Uniform();
            const size_t len = static_cast<size_t>(tau * 5 * rate);
            for (size_t k = 0; k < len && at + k < n; ++k) {
                const double u = static_cast<double>(k) / rate;
                x[at + k] += 0.6 * fade * strength * std::sin(2 * kPi * f * u) * std::exp(-u / tau);
            }
        }
        t += (0.006 + 0.030 * noise.Uniform()) * (1.0 + 3.0 * t);
    }
    Fade(x, 1, 30, 600);
    return Normalise(x);
}

std::vector<std::int16_t> SynthSpace() {
    // A quick whoosh: noise through a resonant band-pass sweeping up from 350 Hz to 3.2 kHz,
    // swelling and fading over 186 ms.
    const double rate = 22050;
    const size_t n = 4095;
    Noise noise(0x53504143ULL);
    std::vector<double> x(n);
    Svf a, b;
    for (size_t i = 0; i < n; ++i) {
        const double u = static_cast<double>(i) / (n - 1);
        const double f = 350.0 * std::pow(3200.0 / 350.0, u);
        const double env = std::pow(std::sin(kPi * std::pow(u, 0.7)), 2.0);
        const double v = b.Process(a.Process(noise.Next(), f, rate, 2.5), f, rate, 2.5);
        x[i] = env * v;
    }
    Fade(x, 1, 60, 200);
    return Normalise(x);
}

namespace {

// One brassy note: harmonics with a brightness that opens at the attack, a gentle vibrato
// after the attack, and an ADSR envelope.
void AddNote(std::vector<double>& x, double rate, double start, double length, double freq,
             double gain, double pan, double release) {
    const size_t frames = x.size() / 2;
    const size_t s = static_cast<size_t>(start * rate);
    const size_t len = static_cast<size_t>((length + release) * rate);
    const double left = std::cos(pan * kPi / 2), right = std::sin(pan * kPi / 2);
    double phase = 0;
    for (size_t k = 0; k < len && s + k < frames; ++k) {
        const double t = static_cast<double>(k) / rate;
        double env;
        if (t < 0.018)
            env = t / 0.018;
        else if (t < 0.09)
            env = 1.0 - 0.25 * (t - 0.018) / 0.072;
        else
            env = 0.75;
        if (t > length) env *= std::exp(-(t - length) / (release / 4));
        const double vib = 1.0 + 0.004 * std::sin(2 * kPi * 5.5 * t) * std::min(1.0, t / 0.25);
        phase += 2 * kPi * freq * vib / rate;
        const double bright = 0.35 + 0.65 * std::exp(-t / 0.25);
        double v = 0;
        for (int h = 1; h <= 8; ++h) {
            if (freq * h > rate / 2.2) break;
            v += std::pow(bright, h - 1) / h * std::sin(h * phase);
        }
        v *= env * gain;
        x[2 * (s + k)] += left * v;
        x[2 * (s + k) + 1] += right * v;
    }
}

// A bell tone (sparkle over the final chord).
void AddBell(std::vector<double>& x, double rate, double start, double freq, double gain,
             double pan) {
    const size_t frames = x.size() / 2;
    const size_t s = static_cast<size_t>(start * rate);
    const double left = std::cos(pan * kPi / 2), right = std::sin(pan * kPi / 2);
    for (size_t k = 0; s + k < frames; ++k) {
        const double t = static_cast<double>(k) / rate;
        const double env = std::exp(-t / 0.35) * std::min(1.0, t / 0.002);
        if (env < 1e-4) break;
        const double v = gain * env *
                         (std::sin(2 * kPi * freq * t) +
                          0.3 * std::sin(2 * kPi * freq * 2.76 * t) * std::exp(-t / 0.1));
        x[2 * (s + k)] += left * v;
        x[2 * (s + k) + 1] += right * v;
    }
}

double Midi(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

}  // namespace

std::vector<std::int16_t> SynthLevelFin() {
    // A short cheerful fanfare in C major: a rising call (G4 C5 E5 G5), a snappy repeat, then
    // a held C major chord with a bass and bell sparkle, fading out by 2.341 s.
    const double rate = 22050;
    const size_t frames = 51623;
    std::vector<double> x(frames * 2, 0.0);
    struct N {
        double start, len;
        int note;
        double gain, pan;
    };
    const N melody[] = {
        {0.00, 0.11, 67, 0.8, 0.40}, {0.13, 0.11, 72, 0.8, 0.45}, {0.26, 0.11, 76, 0.8, 0.50},
        {0.39, 0.22, 79, 0.9, 0.55}, {0.64, 0.09, 76, 0.7, 0.50}, {0.75, 0.09, 79, 0.8, 0.55},
        {0.86, 1.05, 84, 0.9, 0.55},
    };
    for (const N& m : melody) AddNote(x, rate, m.start, m.len, Midi(m.note), m.gain, m.pan, 0.25);
    // Harmony a third/sixth below, on the other side.
    const N harmony[] = {
        {0.39, 0.22, 76, 0.45, 0.30}, {0.75, 0.09, 76, 0.40, 0.30}, {0.86, 1.05, 79, 0.50, 0.25},
        {0.86, 1.05, 76, 0.45, 0.70}, {0.86, 1.05, 72, 0.45, 0.35},
    };
    for (const N& m : harmony) AddNote(x, rate, m.start, m.len, Midi(m.note), m.gain, m.pan, 0.3);
    // Bass: C3 on the beats, then the held root.
    AddNote(x, rate, 0.00, 0.30, Midi(48), 0.55, 0.5, 0.1);
    AddNote(x, rate, 0.39, 0.22, Midi(55), 0.50, 0.5, 0.1);
    AddNote(x, rate, 0.86, 1.05, Midi(48), 0.60, 0.5, 0.3);
    // Sparkle.
    AddBell(x, rate, 0.86, Midi(96), 0.22, 0.8);
    AddBell(x, rate, 1.00, Midi(100), 0.18, 0.2);
    AddBell(x, rate, 1.14, Midi(103), 0.16, 0.75);
    AddBell(x, rate, 1.28, Midi(108), 0.14, 0.3);
    Fade(x, 2, 20, static_cast<size_t>(0.45 * rate));
    return Normalise(x);
}

namespace {

Bytes Pcm16(const std::vector<std::int16_t>& s) {
    Bytes b;
    for (std::int16_t v : s) PutU16(b, static_cast<std::uint16_t>(v));
    return b;
}

}  // namespace

Bytes MakeUpalWav() {
    return WriteRiffWave({{"fmt ", PcmFormat(1, 22050, 16)}, {"data", Pcm16(SynthUpal())}});
}

Bytes MakeFireWav() {
    Bytes data;
    for (std::int16_t v : SynthFire()) {
        const long u = std::lround(static_cast<double>(v) / 256.0) + 128;
        data.push_back(static_cast<std::uint8_t>(std::clamp(u, 0L, 255L)));
    }
    return WriteRiffWave({{"fmt ", PcmFormat(1, 11025, 8)}, {"data", data}});
}

Bytes MakeSpaceWav(const IndexedPicture& disp_icon) {
    Chunk disp = DispDib(disp_icon);
    const size_t disp_bytes = 8 + disp.payload.size();
    Chunk list = InfoList("Space", "Zonky Mosaro make-assets",
                          "A quick whoosh: noise through a band-pass sweeping up from 350 Hz "
                          "to 3.2 kHz.",
                          2338 - disp_bytes);
    return WriteRiffWave(
        {{"fmt ", PcmFormat(1, 22050, 16)}, {"data", Pcm16(SynthSpace())}, disp, list});
}

Bytes MakeLevelFinWav(const IndexedPicture& disp_icon) {
    const std::vector<std::int16_t> signal = SynthLevelFin();
    Bytes data = EncodeMsAdpcm(signal, 2, 1024);
    Bytes fact;
    PutU32(fact, static_cast<std::uint32_t>(signal.size() / 2));
    Chunk disp = DispDib(disp_icon);
    const size_t disp_bytes = 8 + disp.payload.size();
    Chunk list = InfoList("LevelFin", "Zonky Mosaro make-assets",
                          "A fanfare in C major, level completed.", 2292 - disp_bytes);
    return WriteRiffWave({{"fmt ", MsAdpcmFormat(2, 22050, 1024, 1012)},
                          {"fact", fact},
                          {"data", data},
                          disp,
                          list});
}

}  // namespace assets
