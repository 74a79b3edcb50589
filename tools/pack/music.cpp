// The pack's music: a small step sequencer plays a bass line, chords, an
// arpeggio, a lead melody and drums over a chord sequence, one bar at a time.
// Every track is a seamless loop: what rings past its end is laid over its start.
#include <cstdio>
#include <sstream>
#include <stdexcept>

#include "synth.h"

namespace pack::synth {

namespace {

constexpr int steps_per_bar = 16;

enum part : unsigned {
    bass = 1, chords = 2, arpeggio = 4, lead = 8, kick_drum = 16, snare_drum = 32, hats = 64,
    everything = 127
};

struct section {
    std::string chords;   // one chord a bar, separated by blanks ("Am F C G")
    std::string melody;   // "E5:4 r:2 ...": note or rest, length in sixteenths
    unsigned parts;
};

// Patterns have 16 steps a bar. A letter or digit starts a note, each "-"
// after it holds the note one more step, "." is silence.
//   bass:     R root, F fifth, O octave, 3 third, 7 seventh (or octave)
//   chords:   x the chord
//   arpeggio: 0-9 the chord's tones counted upward
//   drums:    x a hit, o an open hat
struct song {
    const char* file;
    double bpm;
    instrument bass_voice, chord_voice, arpeggio_voice, lead_voice;
    std::string bass, chords, arpeggio, kick, snare, hats;
    std::vector<section> sections;
};

int pitch_class(const std::string& name, size_t& at) {
    static const int naturals[] = {9, 11, 0, 2, 4, 5, 7};   // A B C D E F G
    if (at >= name.size() || name[at] < 'A' || name[at] > 'G')
        throw std::runtime_error("bad note name " + name);
    int pc = naturals[name[at++] - 'A'];
    if (at < name.size() && name[at] == '#') pc += 1, ++at;
    else if (at < name.size() && name[at] == 'b') pc += 11, ++at;
    return pc % 12;
}

int parse_note(const std::string& name) {
    size_t at = 0;
    const int pc = pitch_class(name, at);
    return 12 * (std::stoi(name.substr(at)) + 1) + pc;
}

struct chord {
    int root = 0;   // pitch class
    std::vector<int> intervals;
};

chord parse_chord(const std::string& name) {
    size_t at = 0;
    chord c;
    c.root = pitch_class(name, at);
    const std::string quality = name.substr(at);
    if (quality.empty()) c.intervals = {0, 4, 7};
    else if (quality == "m") c.intervals = {0, 3, 7};
    else if (quality == "7") c.intervals = {0, 4, 7, 10};
    else if (quality == "m7") c.intervals = {0, 3, 7, 10};
    else if (quality == "maj7") c.intervals = {0, 4, 7, 11};
    else if (quality == "sus4") c.intervals = {0, 5, 7};
    else throw std::runtime_error("bad chord " + name);
    return c;
}

// The chord's tones in the octave from `lowest` up, sorted: close voicings
// that move little from chord to chord.
std::vector<int> voicing(const chord& c, int lowest) {
    std::vector<int> notes;
    for (int interval : c.intervals) {
        const int pc = (c.root + interval) % 12;
        notes.push_back(lowest + (pc - lowest % 12 + 24) % 12);
    }
    std::sort(notes.begin(), notes.end());
    return notes;
}

int bass_note(const chord& c, char symbol) {
    const int root = 33 + (c.root - 9 + 12) % 12;   // A1 .. G#2
    switch (symbol) {
    case 'F': return root + 7;
    case 'O': return root + 12;
    case '3': return root + c.intervals[1];
    case '7': return root + (c.intervals.size() > 3 ? c.intervals[3] : 12);
    default: return root;
    }
}

// Calls play(step, symbol, length in steps) for every note of a one-bar pattern.
template <class Play>
void walk_pattern(const std::string& pattern, Play&& play) {
    for (size_t step = 0; step < pattern.size(); ++step) {
        const char symbol = pattern[step];
        if (symbol == '.' || symbol == '-') continue;
        int length = 1;
        while (step + size_t(length) < pattern.size() && pattern[step + size_t(length)] == '-')
            ++length;
        play(int(step), symbol, length);
    }
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

// A dotted-eighth echo bouncing between the channels, darker on every repeat.
void add_echo(stereo_bus& bus, const samples& send, size_t delay) {
    const size_t size = bus.left.size();
    samples left(size, 0.0f), right(size, 0.0f);
    double dark_left = 0.0, dark_right = 0.0;
    constexpr double feedback = 0.38, wet = 0.45, damping = 0.35;
    for (size_t i = delay; i < size; ++i) {
        const double in = i - delay < send.size() ? send[i - delay] : 0.0;
        dark_right += damping * (right[i - delay] - dark_right);
        left[i] = float(in + feedback * dark_right);
        dark_left += damping * (left[i - delay] - dark_left);
        right[i] = float(dark_left);
    }
    for (size_t i = 0; i < size; ++i) {
        bus.left[i] += float(wet * left[i]);
        bus.right[i] += float(wet * right[i]);
    }
}

samples render(const song& s) {
    const double step_seconds = 60.0 / s.bpm / 4.0;
    auto frame_at = [&](double steps) { return frames_of(steps * step_seconds); };
    stereo_bus bus;
    samples echo_send;
    int bar = 0;
    for (const section& part : s.sections) {
        const int first_bar = bar;
        for (const std::string& chord_name : words(part.chords)) {
            const chord c = parse_chord(chord_name);
            const double bar_start = double(bar) * steps_per_bar;
            if (part.parts & bass)
                walk_pattern(s.bass, [&](int step, char symbol, int length) {
                    const double velocity = step % 4 == 0 ? 0.95 : 0.8;
                    const double gate = length * step_seconds * 0.9;
                    bus.add(play_note(s.bass_voice, bass_note(c, symbol), gate, velocity),
                            frame_at(bar_start + step), 0.55, 0.0);
                });
            if (part.parts & chords)
                walk_pattern(s.chords, [&](int step, char, int length) {
                    const std::vector<int> notes = voicing(c, 55);
                    const double gate = length * step_seconds * 0.95;
                    for (size_t k = 0; k < notes.size(); ++k)
                        bus.add(play_note(s.chord_voice, notes[k], gate, 0.7),
                                frame_at(bar_start + step), 0.2, k % 2 ? 0.35 : -0.35);
                });
            if (part.parts & arpeggio)
                walk_pattern(s.arpeggio, [&](int step, char symbol, int length) {
                    const std::vector<int> notes = voicing(c, 67);
                    const size_t index = size_t(symbol - '0');
                    const int note = notes[index % notes.size()] + 12 * int(index / notes.size());
                    const samples sound = play_note(s.arpeggio_voice, note, length * step_seconds,
                                                    step % 4 == 0 ? 0.9 : 0.7);
                    bus.add(sound, frame_at(bar_start + step), 0.2, 0.4);
                    mix_into(echo_send, sound, frame_at(bar_start + step), 0.12);
                });
            if (part.parts & kick_drum)
                walk_pattern(s.kick, [&](int step, char, int) {
                    bus.add(kick(1.0), frame_at(bar_start + step), 0.6, 0.0);
                });
            if (part.parts & snare_drum)
                walk_pattern(s.snare, [&](int step, char, int) {
                    bus.add(snare(1.0, uint32_t(bar * 16 + step + 1)), frame_at(bar_start + step),
                            0.35, 0.05);
                });
            if (part.parts & hats)
                walk_pattern(s.hats, [&](int step, char symbol, int) {
                    const double velocity = step % 4 == 0 ? 1.0 : 0.7;
                    bus.add(hat(velocity, symbol == 'o', uint32_t(bar * 16 + step + 1000)),
                            frame_at(bar_start + step), 0.13, 0.35);
                });
            ++bar;
        }
        if (!(part.parts & lead) || part.melody.empty()) continue;
        double at = double(first_bar) * steps_per_bar;
        for (const std::string& token : words(part.melody)) {
            const size_t colon = token.find(':');
            const double length = std::stod(token.substr(colon + 1));
            const std::string name = token.substr(0, colon);
            if (name != "r") {
                const samples sound =
                    play_note(s.lead_voice, parse_note(name), length * step_seconds * 0.92, 0.85);
                bus.add(sound, frame_at(at), 0.3, 0.05);
                mix_into(echo_send, sound, frame_at(at), 0.3);
            }
            at += length;
        }
        if (at != double(bar) * steps_per_bar)
            throw std::runtime_error(std::string(s.file) + ": a melody does not fill its bars");
    }

    const size_t loop = frame_at(double(bar) * steps_per_bar);
    const size_t with_tail = std::max(bus.left.size(), loop) + frames_of(3.0);
    bus.left.resize(with_tail, 0.0f);
    bus.right.resize(with_tail, 0.0f);
    add_echo(bus, echo_send, frame_at(3));
    // The tail rings on over the start of the next time round.
    for (size_t i = loop; i < with_tail; ++i) {
        bus.left[(i - loop) % loop] += bus.left[i];
        bus.right[(i - loop) % loop] += bus.right[i];
    }
    samples interleaved(loop * 2);
    for (size_t i = 0; i < loop; ++i) {
        interleaved[2 * i] = bus.left[i];
        interleaved[2 * i + 1] = bus.right[i];
    }
    normalise(interleaved, 0.85);
    // The seam must be no harder a step than the music takes anywhere else,
    // or every time round would click.
    float largest_step = 0.0f;
    for (size_t i = 2; i < interleaved.size(); ++i)
        largest_step = std::max(largest_step, std::abs(interleaved[i] - interleaved[i - 2]));
    for (size_t c = 0; c < 2; ++c)
        if (std::abs(interleaved[c] - interleaved[interleaved.size() - 2 + c]) > largest_step)
            throw std::runtime_error(std::string(s.file) + ": the loop clicks at its seam");
    return interleaved;
}

std::vector<song> songs() {
    using enum instrument;
    return {
        {"ingame1.ogg", 116, saw_bass, electric_piano, pluck, pulse_lead,
         "R-O-R-O-R-O-F-O-", "..x-..x-..x-..x-", "0.1.2.1.3.1.2.1.",
         "x...x...x...x...", "....x.......x...", "x.x.x.x.x.x.x.xo",
         {{"Am F C G", "", bass | arpeggio | kick_drum | hats},
          {"Am F G E", "", everything & ~lead},
          {"Am F C G",
           "E5:4 A5:4 G5:2 E5:2 C5:4  A4:2 C5:2 F5:4 E5:2 D5:2 C5:4 "
           "E5:4 G5:4 C6:2 B5:2 G5:4  D5:6 B4:2 G4:4 r:4",
           everything},
          {"Am F G E",
           "E5:4 A5:4 B5:2 C6:2 B5:2 A5:2  C6:4 A5:4 F5:4 A5:4 "
           "B5:4 G5:2 D5:2 B5:4 D6:4  G#5:6 E5:2 B4:4 r:4",
           everything},
          // A quieter turn: no drums, a slow tune over the minor chords.
          {"Dm Am E Am", "F5:4 A5:4 D6:8  E5:4 A5:4 C6:8  B5:4 G#5:4 E5:8  A5:12 r:4",
           bass | chords | arpeggio | lead},
          {"F G Am Am", "", everything & ~lead},
          {"Am F C G",
           "E5:4 A5:4 G5:2 E5:2 C5:4  A4:2 C5:2 F5:4 E5:2 D5:2 C5:4 "
           "E5:4 G5:4 C6:2 B5:2 G5:4  D5:6 B4:2 G4:4 r:4",
           everything},
          {"Am F G E", "A5:4 C6:4 E6:4 C6:4  A5:4 F5:4 C5:8  B4:4 D5:4 G5:4 B5:4  G#5:8 E5:4 r:4",
           everything}}},
        {"ingame2.ogg", 126, round_bass, electric_piano, pluck, bell,
         "R-.R..O.R-.F..O-", "....x-......x-..", "0.2.1.3.2.4.3.1.",
         "x.....x...x.....", "....x.......x...", "x.xxx.xxx.xxx.xx",
         {{"Dm7 G7 Dm7 G7", "", bass | chords | kick_drum | hats},
          {"Dm7 G7 Dm7 G7",
           "A4:3 C5:3 D5:2 r:2 F5:2 E5:2 D5:2  B4:4 D5:2 G5:4 F5:2 D5:4 "
           "A5:3 G5:3 F5:2 r:2 E5:2 F5:2 D5:2  B4:6 r:2 G4:2 A4:2 B4:2 D5:2",
           everything & ~arpeggio},
          {"Bbmaj7 C Am7 Dm7",
           "F5:4 D5:2 Bb4:2 A5:4 F5:4  G5:4 E5:4 C5:2 E5:2 G5:4 "
           "A5:6 G5:2 E5:4 C5:4  D5:8 r:4 A4:2 C5:2",
           everything},
          {"Bbmaj7 C Am7 Dm7",
           "D6:4 A5:2 F5:2 D6:2 C6:2 A5:4  C6:4 G5:2 E5:2 G5:4 E5:4 "
           "E6:4 C6:2 A5:2 G5:4 E5:4  F5:6 E5:2 D5:8",
           everything},
          {"Gm7 C Fmaj7 A7",
           "Bb5:4 A5:2 G5:2 F5:4 D5:4  E5:4 G5:4 C6:8 "
           "A5:4 C6:4 E6:4 C6:4  C#6:6 A5:2 E5:4 G5:4",
           everything},
          // The band drops out and comes back in before the tune returns.
          {"Dm7 G7 Dm7 G7", "", bass | chords | hats},
          {"Bbmaj7 C Am7 Dm7", "", everything & ~lead},
          {"Gm7 C Fmaj7 A7",
           "Bb5:4 A5:2 G5:2 F5:4 D5:4  E5:4 G5:4 C6:8 "
           "A5:4 C6:4 E6:4 C6:4  C#6:6 A5:2 E5:4 G5:4",
           everything},
          {"Dm7 G7 Dm7 G7",
           "A4:3 C5:3 D5:2 r:2 F5:2 E5:2 D5:2  B4:4 D5:2 G5:4 F5:2 D5:4 "
           "A5:3 G5:3 F5:2 r:2 E5:2 F5:2 D5:2  B4:6 r:2 G4:2 A4:2 B4:2 D5:2",
           everything & ~arpeggio}}},
        {"ingame3.ogg", 104, saw_bass, pad, pluck, brass,
         "R--.R-.OR--.F-O.", "x-..x-..x-..x-..", "0.2.1.3.0.2.4.2.",
         "x..x..x.x..x..x.", "....x.......x..x", "xxoxxxoxxxoxxxox",
         {{"Em C G D", "", bass | arpeggio | hats},
          {"Em C G D", "", everything & ~lead},
          {"Em C G D",
           "B4:4 E5:4 G5:4 B5:4  C6:6 B5:2 G5:4 E5:4  D5:4 G5:4 B5:4 D6:4  A5:8 F#5:4 D5:4",
           everything},
          {"Am C D B7",
           "A5:4 C6:4 E6:8  G5:4 C6:4 E5:8  F#5:4 A5:4 D6:8  D#6:6 B5:2 F#5:8",
           everything},
          {"Cmaj7 Am7 Em Em", "E5:8 G5:8  C6:8 B5:8  G5:16  r:16", bass | chords | arpeggio | lead},
          {"Em C G D", "", everything & ~lead},
          {"Em C G D",
           "B4:4 E5:4 G5:4 B5:4  C6:6 B5:2 G5:4 E5:4  D5:4 G5:4 B5:4 D6:4  A5:8 F#5:4 D5:4",
           everything},
          {"Am C D B7",
           "A5:4 C6:4 E6:8  G5:4 C6:4 E5:8  F#5:4 A5:4 D6:8  D#6:6 B5:2 F#5:8",
           everything}}},
        {"menu.ogg", 88, round_bass, pad, pluck, bell,
         "R-------F---R---", "x---------------", "0.1.2.3.4.3.2.1.",
         "x.......x.......", "................", "..x...x...x...x.",
         {{"Cmaj7 Am7 Fmaj7 G", "", bass | chords | arpeggio},
          {"Cmaj7 Am7 Fmaj7 G",
           "E5:6 G5:2 B5:8  A5:4 G5:4 E5:8  F5:4 A5:4 C6:4 A5:4  G5:12 r:4",
           bass | chords | arpeggio | lead | kick_drum | hats},
          {"Dm7 Em7 Fmaj7 G",
           "F5:4 E5:4 D5:4 A5:4  G5:8 E5:4 B4:4  A5:4 G5:4 F5:4 E5:4  D5:12 r:4",
           bass | chords | arpeggio | lead | kick_drum | hats},
          // A calm middle, then the tune once more, so a minute passes before it repeats.
          {"Am7 Fmaj7 Cmaj7 G", "", bass | chords | arpeggio | hats},
          {"Am7 Fmaj7 Dm7 G", "C6:8 B5:8  A5:8 G5:8  F5:4 A5:4 D6:8  B5:12 r:4",
           bass | chords | lead},
          {"Cmaj7 Am7 Fmaj7 G",
           "E5:6 G5:2 B5:8  A5:4 G5:4 E5:8  F5:4 A5:4 C6:4 A5:4  G5:12 r:4",
           bass | chords | arpeggio | lead | kick_drum | hats}}},
        {"options.ogg", 120, saw_bass, electric_piano, pluck, pluck,
         "R-.RF-.RO-.RF-.O", "..x...x...x...x.", "", "x.......x.x.....",
         "....x.......x...", "x.x.x.x.x.x.x.x.",
         {{"F Bb C F", "", bass | chords | kick_drum | hats},
          {"F Bb C F",
           "C5:2 F5:2 A5:2 F5:2 C6:4 A5:4  D6:4 Bb5:2 F5:2 D5:4 F5:4 "
           "E5:2 G5:2 C6:2 G5:2 E5:4 G5:2 Bb5:2  A5:8 F5:4 r:4",
           everything & ~arpeggio},
          {"Dm Bb Gm C",
           "D5:4 F5:4 A5:4 D6:4  D6:2 C6:2 Bb5:4 F5:8  G5:4 Bb5:4 D6:4 Bb5:4  C6:6 Bb5:2 G5:4 E5:4",
           everything & ~arpeggio},
          {"F Bb C F",
           "C5:2 F5:2 A5:2 F5:2 C6:4 A5:4  D6:4 Bb5:2 F5:2 D5:4 F5:4 "
           "E5:2 G5:2 C6:2 G5:2 E5:4 G5:2 Bb5:2  A5:8 F5:4 r:4",
           everything & ~arpeggio},
          {"Bb C Am Dm", "", bass | chords | hats},
          {"Bb C Am Dm", "", everything & ~lead},
          {"Gm C F Dm",
           "Bb5:4 D6:4 G5:8  C6:4 E5:4 G5:8  A5:4 C6:4 F6:8  D6:12 r:4",
           everything & ~arpeggio},
          {"F Bb C F",
           "C5:2 F5:2 A5:2 F5:2 C6:4 A5:4  D6:4 Bb5:2 F5:2 D5:4 F5:4 "
           "E5:2 G5:2 C6:2 G5:2 E5:4 G5:2 Bb5:2  A5:8 F5:4 r:4",
           everything & ~arpeggio}}},
        {"score.ogg", 112, round_bass, pad, bell, brass,
         "R---R-O-R---F-O-", "x---------------", "0..2..1..3..2.4.",
         "x...x...x...x...", "....x.......x...", "..x...x...x...x.",
         {{"G D Em C", "", everything & ~(lead | snare_drum)},
          {"G D C D", "B4:4 D5:4 G5:6 F#5:2  A5:4 F#5:4 D5:8  E5:4 G5:4 C6:4 B5:2 A5:2  A5:12 r:4",
           everything},
          {"Em C G D", "G5:4 B5:4 E6:6 D6:2  C6:4 B5:4 A5:4 G5:4  B5:4 G5:4 D5:4 G5:4  F#5:12 r:4",
           everything},
          {"C D G G", "E5:4 G5:4 C6:8  D6:4 C6:4 A5:4 F#5:4  G5:16  r:16", everything},
          {"Em C G D", "", everything & ~(lead | snare_drum)},
          {"Am C D D", "C6:4 B5:4 A5:8  E5:4 G5:4 C6:8  A5:4 D6:4 F#5:8  A5:12 r:4",
           everything},
          {"G D C D", "B4:4 D5:4 G5:6 F#5:2  A5:4 F#5:4 D5:8  E5:4 G5:4 C6:4 B5:2 A5:2  A5:12 r:4",
           everything},
          {"C D G G", "E5:4 G5:4 C6:8  D6:4 C6:4 A5:4 F#5:4  G5:16  r:16", everything}}},
    };
}

}  // namespace

bool write_music(const std::filesystem::path& folder, sound_levels& music) {
    bool ok = true;
    for (const song& s : songs()) {
        try {
            samples sound = render(s);
            music.push_back({std::string("MUSIC/") + s.file,
                             level_to(sound, effect_level_db - music_below_db, 0.98)});
            ok = write_ogg(folder / s.file, sound, 2, 0.3f) && ok;
        } catch (const std::exception& error) {
            std::fprintf(stderr, "zorbel-pack: %s: %s\n", s.file, error.what());
            ok = false;
        }
    }
    return ok;
}

}  // namespace pack::synth
