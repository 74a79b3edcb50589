// The pack's sound effects: one short sound per game event, each with its
// own shape (the step a soft tick, a fixed tile a rising chime, the enemy's
// pink tile a falling bloop, and so on), and the entry of the sound pack.
#include <cstdio>
#include <functional>

#include "pack.h"
#include "synth.h"

namespace pack {

namespace synth {

namespace {

// A sine whose pitch glides exponentially from `from` to `to` over `glide`.
samples glide_tone(double from, double to, double glide, double seconds, double decay) {
    samples out(frames_of(seconds));
    phasor osc;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double f = from * std::pow(to / from, std::min(1.0, t / glide));
        const double attack = std::min(1.0, t / 0.002);
        out[i] = float(sine_at(osc.step(f)) * attack * std::exp(-t / decay));
    }
    return out;
}

// The marker's step: a soft, low tick, quiet because it comes several times a second.
samples step_sound() {
    samples out = glide_tone(660.0, 440.0, 0.04, 0.07, 0.015);
    noise hiss(11);
    filter band;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        band.run(hiss.next(), 3000.0, 1.0);
        out[i] += float(0.25 * band.band * std::exp(-t / 0.003));
    }
    return out;
}

// A tile made fixed: two bright chimes a fifth apart, rising.
samples fixed_sound() {
    samples out;
    mix_into(out, play_note(instrument::bell, 88, 0.05, 1.0), 0, 0.8);   // E6
    mix_into(out, play_note(instrument::bell, 95, 0.10, 1.0), frames_of(0.06), 0.9);   // B6
    out.resize(frames_of(0.4), 0.0f);
    for (size_t i = 0; i < out.size(); ++i) out[i] *= float(std::exp(-double(i) / rate / 0.15));
    return out;
}

// The enemy's pink tile made fixed: a darker, falling pair with a wobble.
samples pink_fixed_sound() {
    samples out(frames_of(0.38));
    phasor a, b;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double note = t < 0.12 ? 74.0 : 69.0;   // D5, then A4
        const double local = t < 0.12 ? t : t - 0.12;
        const double f = note_hz(note);
        const double wave = 0.6 * triangle_at(a.step(f)) + 0.4 * triangle_at(b.step(f * 1.012));
        const double decay = t < 0.12 ? 0.05 : 0.09;
        const double env = std::min(1.0, local / 0.004) * std::exp(-local / decay);
        out[i] = float(wave * env);
    }
    return out;
}

// Picking up a bomb: a low knock, then a rising, beeping fuse over a hiss.
samples pick_bomb_sound() {
    samples out = glide_tone(180.0, 90.0, 0.03, 0.5, 0.04);
    noise hiss(23);
    filter high;
    phasor osc;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        if (t < 0.06) continue;
        const double u = t - 0.06;
        const double f = 300.0 * std::pow(3.0, std::min(1.0, u / 0.3));
        const double beeps = sine_at(std::fmod(u * 18.0, 1.0)) > 0.0 ? 1.0 : 0.25;
        const double fade = std::exp(-std::max(0.0, u - 0.25) / 0.06);
        high.run(hiss.next(), 5000.0, 0.7);
        out[i] += float((0.35 * pulse_at(osc.step(f), f, 0.5) * beeps + 0.15 * high.high) * fade *
                        std::min(1.0, u / 0.01));
    }
    return out;
}

// An explosion: a noise burst whose filter closes, over a deep boom.
samples explosion_sound() {
    samples out(frames_of(1.3));
    noise hiss(31);
    filter lowpass;
    phasor boom;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        lowpass.run(hiss.next(), 150.0 + 3850.0 * std::exp(-t / 0.18), 0.8);
        const double boom_pitch = 35.0 + 35.0 * std::exp(-t / 0.15);
        const double low = sine_at(boom.step(boom_pitch)) * std::exp(-t / 0.4);
        const double env = std::min(1.0, t / 0.003) * std::exp(-t / 0.35);
        out[i] = float(std::tanh(1.8 * (lowpass.low * env * 1.4 + 0.9 * low)));
    }
    return out;
}

// Game over: a slow, sad slide down by semitones ending on a long low note.
samples game_over_sound() {
    samples out;
    const double notes[] = {64, 63, 62};
    for (int k = 0; k < 3; ++k)
        mix_into(out, play_note(instrument::brass, notes[k], 0.3, 0.8), frames_of(0.38 * k), 1.0);
    mix_into(out, play_note(instrument::brass, 61, 1.3, 0.8), frames_of(0.38 * 3), 1.0);
    mix_into(out, play_note(instrument::round_bass, 37, 1.3, 0.5), frames_of(0.38 * 3), 0.6);
    return out;
}

// Fixed and pink tiles trade places: two tones crossing, one up, one down, and a whoosh.
samples swap_sound() {
    samples out(frames_of(0.4));
    noise hiss(41);
    filter band;
    phasor up, down;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double u = std::min(1.0, t / 0.3);
        const double env = std::min(1.0, t / 0.01) * std::exp(-std::max(0.0, t - 0.25) / 0.05);
        band.run(hiss.next(), 500.0 + 3000.0 * std::sin(pi * u), 2.0);
        const double tones = 0.5 * sine_at(up.step(400.0 * std::pow(3.0, u))) +
                             0.5 * sine_at(down.step(1200.0 / std::pow(3.0, u)));
        out[i] = float((0.75 * tones + 0.25 * band.band) * env);
    }
    return out;
}

// A level done: a short rising fanfare onto a held major chord with a sparkle on top.
samples level_done_sound() {
    samples out;
    const double run[] = {72, 76, 79};   // C5 E5 G5
    for (int k = 0; k < 3; ++k)
        mix_into(out, play_note(instrument::brass, run[k], 0.09, 0.9), frames_of(0.11 * k), 0.8);
    const size_t chord_at = frames_of(0.33);
    for (double note : {72.0, 76.0, 79.0, 84.0})
        mix_into(out, play_note(instrument::brass, note, 0.9, 0.9), chord_at, 0.45);
    mix_into(out, play_note(instrument::bell, 96, 0.4, 0.8), chord_at, 0.35);
    mix_into(out, play_note(instrument::round_bass, 48, 0.9, 0.7), chord_at, 0.5);
    return out;
}

// Extra time: a quick sparkle up a major arpeggio.
samples extra_time_sound() {
    samples out;
    const double run[] = {81, 85, 88, 93};   // A5 C#6 E6 A6
    for (int k = 0; k < 4; ++k)
        mix_into(out, play_note(instrument::bell, run[k], 0.05, 1.0), frames_of(0.06 * k), 0.6);
    out.resize(std::min(out.size(), frames_of(0.7)));
    return out;
}

// An eraser takes a tile: a buzzing zap sweeping down and a scratch.
samples remove_tile_sound() {
    samples out(frames_of(0.3));
    noise hiss(53);
    filter lowpass, band;
    phasor osc;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double f = 900.0 * std::pow(150.0 / 900.0, std::min(1.0, t / 0.25));
        lowpass.run(pulse_at(osc.step(f), f, 0.5), f * 4.0, 1.5);
        band.run(hiss.next(), 2500.0, 1.5);
        const double env = std::min(1.0, t / 0.003) * std::exp(-t / 0.12);
        out[i] = float((0.7 * lowpass.low + 0.3 * band.band * std::exp(-t / 0.03)) * env);
    }
    return out;
}

// The last ten ticks of the clock: a crisp wood knock with a short beep.
samples timer_sound() {
    samples out(frames_of(0.2));
    phasor knock_a, knock_b, beep;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / rate;
        const double knock =
            (0.6 * sine_at(knock_a.step(1800.0)) + 0.4 * sine_at(knock_b.step(2700.0))) *
            std::exp(-t / 0.012);
        const double gate = t < 0.11 ? std::min(1.0, t / 0.005) : std::exp(-(t - 0.11) / 0.015);
        const double tone =
            0.45 * (sine_at(beep.step(1000.0)) + 0.2 * sine_at(std::fmod(t * 3000.0, 1.0)));
        out[i] = float(knock + tone * gate * (t > 0.02 ? 1.0 : t / 0.02));
    }
    return out;
}

// The first change of the credits pages: a soft chord swelling up.
samples credits_swell_sound() {
    samples out;
    for (double note : {60.0, 64.0, 67.0, 71.0, 74.0})   // C E G B D
        mix_into(out, play_note(instrument::pad, note, 1.4, 0.8), 0, 0.35);
    mix_into(out, play_note(instrument::round_bass, 36, 1.4, 0.6), 0, 0.4);
    return out;
}

// The second change of the credits pages: a bright chord rolled on bells.
samples credits_bells_sound() {
    samples out;
    const double notes[] = {67, 71, 74, 79, 83};   // G B D G B
    for (int k = 0; k < 5; ++k)
        mix_into(out, play_note(instrument::bell, notes[k], 0.8, 0.9), frames_of(0.07 * k), 0.4);
    mix_into(out, play_note(instrument::round_bass, 43, 1.2, 0.6), 0, 0.35);
    return out;
}

struct effect {
    const char* file;
    std::function<samples()> make;
    bool music;   // the credits pages play theirs as music
};

}  // namespace

bool write_sound_effects(const std::filesystem::path& folder, sound_levels& effects,
                         sound_levels& music) {
    const effect list[] = {
        {"step.ogg", step_sound, false},
        {"fixed.ogg", fixed_sound, false},
        {"pinkfixed.ogg", pink_fixed_sound, false},
        {"pickbomb.ogg", pick_bomb_sound, false},
        {"explosion.ogg", explosion_sound, false},
        {"gameover.ogg", game_over_sound, false},
        {"swap.ogg", swap_sound, false},
        {"leveldone.ogg", level_done_sound, false},
        {"extratime.ogg", extra_time_sound, false},
        {"removetile.ogg", remove_tile_sound, false},
        {"timer.ogg", timer_sound, false},
        {"credits1.ogg", credits_swell_sound, true},
        {"credits2.ogg", credits_bells_sound, true},
    };
    bool ok = true;
    for (const effect& e : list) {
        samples sound = e.make();
        // Cut sounds end in a short fade rather than a click.
        const size_t fade = std::min(sound.size(), frames_of(0.01));
        for (size_t i = 0; i < fade; ++i)
            sound[sound.size() - 1 - i] *= float(double(i) / double(fade));
        const double level = level_to(
            sound, e.music ? effect_level_db - music_below_db : effect_level_db, 0.98);
        (e.music ? music : effects).push_back({std::string("SFX/") + e.file, level});
        ok = write_ogg(folder / e.file, sound, 1, 0.4f) && ok;
    }
    return ok;
}

}  // namespace synth

namespace {

// The loudest and quietest effect, and every piece of music against their mean.
bool levels_in_bounds(const synth::sound_levels& effects, const synth::sound_levels& music) {
    using namespace synth;
    double loudest = -200.0, quietest = 0.0, sum = 0.0;
    for (const auto& [file, level] : effects) {
        loudest = std::max(loudest, level);
        quietest = std::min(quietest, level);
        sum += level;
    }
    const double mean = effects.empty() ? 0.0 : sum / double(effects.size());
    bool ok = true;
    if (loudest - quietest > effect_spread_db) {
        std::fprintf(stderr, "zorbel-pack: the effects lie %.1f dB apart (at most %.0f)\n",
                     loudest - quietest, effect_spread_db);
        ok = false;
    }
    for (const auto& [file, level] : music)
        if (mean - level < music_below_min_db || mean - level > music_below_max_db) {
            std::fprintf(stderr,
                         "zorbel-pack: %s is %.1f dB under the effects (%.0f to %.0f wanted)\n",
                         file.c_str(), mean - level, music_below_min_db, music_below_max_db);
            ok = false;
        }
    return ok;
}

void print_levels(const synth::sound_levels& levels) {
    for (const auto& [file, level] : levels) std::printf("%-22s %6.1f dB RMS\n", file.c_str(), level);
}

}  // namespace

bool write_sounds(const std::filesystem::path& data_dir) {
    synth::sound_levels effects, music;
    const bool written = synth::write_sound_effects(data_dir / "SFX", effects, music);
    const bool music_written = synth::write_music(data_dir / "MUSIC", music);
    print_levels(effects);
    print_levels(music);
    return written && music_written && levels_in_bounds(effects, music);
}

}  // namespace pack
