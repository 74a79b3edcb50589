// Building blocks of the pack's sounds: oscillators, envelopes, filters and
// a stereo mix bus. Everything is plain double arithmetic and a fixed noise
// sequence, so the same source gives the same samples on every run.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pack::synth {

constexpr int rate = 44100;
constexpr double pi = 3.14159265358979323846;

using samples = std::vector<float>;

inline size_t frames_of(double seconds) { return size_t(std::max(0.0, seconds) * rate + 0.5); }
inline double note_hz(double midi) { return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0); }

// Small fixed noise generator (xorshift), one per sound so sounds do not
// depend on the order they are made in.
struct noise {
    uint32_t state;
    explicit noise(uint32_t seed) : state(seed ? seed : 0x9E3779B9u) {}
    double next() {   // -1 .. 1
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483648.0 - 1.0;
    }
};

// Band-limited steps for the saw and pulse waves.
inline double poly_blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// A phase running from 0 to 1 at a frequency that may change every sample.
struct phasor {
    double phase = 0.0;
    double step(double hz) {
        const double now = phase;
        phase += hz / rate;
        phase -= std::floor(phase);
        return now;
    }
};

inline double sine_at(double phase) { return std::sin(2.0 * pi * phase); }
inline double saw_at(double phase, double hz) {
    return 2.0 * phase - 1.0 - poly_blep(phase, hz / rate);
}
inline double pulse_at(double phase, double hz, double duty) {
    const double dt = hz / rate;
    double value = phase < duty ? 1.0 : -1.0;
    value += poly_blep(phase, dt);
    double shifted = phase + 1.0 - duty;
    shifted -= std::floor(shifted);
    value -= poly_blep(shifted, dt);
    return value;
}
inline double triangle_at(double phase) { return 1.0 - 4.0 * std::fabs(phase - 0.5); }

// Attack, decay to a sustain level, release after the gate closes; linear
// attack, exponential-looking decay and release.
struct envelope {
    double attack = 0.005, decay = 0.1, sustain = 0.7, release = 0.1;
    double at(double t, double gate) const {
        double level;
        if (t < attack)
            level = t / attack;
        else
            level = sustain + (1.0 - sustain) * std::exp(-(t - attack) / std::max(decay, 1e-4));
        if (t > gate) level *= std::exp(-(t - gate) / std::max(release, 1e-4) * 3.0);
        return level;
    }
    double length(double gate) const { return gate + release * 2.5; }
};

// State-variable filter (trapezoidal), stable at any cutoff.
// The coefficients are worked out again only when the cutoff has moved by
// more than a fifth of a percent: sweeps stay smooth and cost little.
struct filter {
    double ic1 = 0.0, ic2 = 0.0;
    double low = 0.0, band = 0.0, high = 0.0;
    double cutoff_now = -1.0, resonance_now = -1.0, a1 = 0.0, a2 = 0.0, a3 = 0.0, k = 1.0;
    void run(double input, double cutoff, double resonance) {
        cutoff = std::clamp(cutoff, 10.0, rate * 0.45);
        if (resonance != resonance_now || std::fabs(cutoff - cutoff_now) > cutoff_now * 0.002) {
            cutoff_now = cutoff;
            resonance_now = resonance;
            const double g = std::tan(pi * cutoff / rate);
            k = 1.0 / std::max(resonance, 0.5);
            a1 = 1.0 / (1.0 + g * (g + k));
            a2 = g * a1;
            a3 = g * a2;
        }
        const double v3 = input - ic2;
        const double v1 = a1 * ic1 + a2 * v3;
        const double v2 = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * v1 - ic1;
        ic2 = 2.0 * v2 - ic2;
        low = v2;
        band = v1;
        high = input - k * v1 - v2;
    }
};

// Adds `sound` into `into` at `start`, growing it as needed.
inline void mix_into(samples& into, const samples& sound, size_t start, double gain) {
    if (into.size() < start + sound.size()) into.resize(start + sound.size(), 0.0f);
    for (size_t i = 0; i < sound.size(); ++i) into[start + i] += float(sound[i] * gain);
}

// Scales so the loudest sample reaches `peak`.
inline void normalise(samples& sound, double peak) {
    float loudest = 0.0f;
    for (float v : sound) loudest = std::max(loudest, std::fabs(v));
    if (loudest <= 0.0f) return;
    const float scale = float(peak / loudest);
    for (float& v : sound) v *= scale;
}

// Loudness as heard: RMS over the whole sound, in dB of full scale.
inline double rms_db(const samples& sound) {
    double sum = 0.0;
    for (float v : sound) sum += double(v) * v;
    if (sound.empty() || sum <= 0.0) return -200.0;
    return 10.0 * std::log10(sum / double(sound.size()));
}

// Scales to `target` dB RMS, or less where the loudest sample would pass
// `peak`; returns the level reached.
inline double level_to(samples& sound, double target, double peak) {
    float loudest = 0.0f;
    for (float v : sound) loudest = std::max(loudest, std::fabs(v));
    if (loudest <= 0.0f) return rms_db(sound);
    const double scale = std::min(std::pow(10.0, (target - rms_db(sound)) / 20.0), peak / loudest);
    for (float& v : sound) v = float(v * scale);
    return rms_db(sound);
}

// Every effect is played at one loudness, so none drowns another; the music
// sits well below them. The generator refuses a pack that breaks these.
constexpr double effect_level_db = -17.0;      // RMS of every effect
constexpr double effect_spread_db = 6.0;       // the loudest and quietest effect at most this apart
constexpr double music_below_db = 9.0;         // the music's RMS under the effects'
constexpr double music_below_min_db = 6.0, music_below_max_db = 12.0;

// Two channels of equal length; pan -1 left .. +1 right, equal power.
struct stereo_bus {
    samples left, right;
    void add(const samples& sound, size_t start, double gain, double pan) {
        const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * pi / 4.0;
        mix_into(left, sound, start, gain * std::cos(angle));
        mix_into(right, sound, start, gain * std::sin(angle));
        const size_t size = std::max(left.size(), right.size());
        left.resize(size, 0.0f);
        right.resize(size, 0.0f);
    }
};

// ---- instruments: one note each, mono ----
enum class instrument { saw_bass, round_bass, electric_piano, pad, pluck, bell, pulse_lead, brass };
samples play_note(instrument kind, double midi, double seconds, double velocity);

// ---- drums ----
samples kick(double velocity);
samples snare(double velocity, uint32_t seed);
samples hat(double velocity, bool open, uint32_t seed);

// ---- files ----
// Encodes interleaved samples (-1..1) as Ogg Vorbis at the given quality
// (-0.1 .. 1.0); the stream serial number comes from the file name.
bool write_ogg(const std::filesystem::path& file, const samples& interleaved, int channels,
               float quality);

// ---- the pack ----
// Each notes (file, dB RMS) of every sound it writes: effects apart from music.
using sound_levels = std::vector<std::pair<std::string, double>>;
bool write_sound_effects(const std::filesystem::path& folder, sound_levels& effects,
                         sound_levels& music);
bool write_music(const std::filesystem::path& folder, sound_levels& music);

}  // namespace pack::synth
