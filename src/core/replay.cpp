#include "core/replay.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/configuration.h"
#include "core/frame_end.h"
#include "media/random.h"

namespace {

std::string record_path;
bool replay_mode = false;
uint32_t recorded_seed = 0;

bool same_state(const input_frame& a, const input_frame& b) {
    return a.keys == b.keys && a.joypad == b.joypad && a.axis_x == b.axis_x &&
           a.axis_y == b.axis_y && a.buttons == b.buttons;
}

std::string number_list(const std::vector<int>& numbers) {
    if (numbers.empty()) return " -";
    std::string out;
    for (int n : numbers) out += " " + std::to_string(n);
    return out;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 32 || c > 126) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

bool read_quoted(std::istringstream& in, std::string& text) {
    in >> std::ws;
    if (in.get() != '"') return false;
    text.clear();
    for (int c = in.get(); c != EOF; c = in.get()) {
        if (c == '"') return true;
        if (c == '\\') {
            int next = in.get();
            if (next == 'x') {
                char hex[3] = {char(in.get()), char(in.get()), 0};
                text += char(std::strtol(hex, nullptr, 16));
            } else if (next != EOF) {
                text += char(next);
            }
        } else {
            text += char(c);
        }
    }
    return false;
}

// A key is a scan code (decimal or 0x hex) or a key name, "_" for a blank.
bool read_key(const std::string& word, int& code) {
    char* end = nullptr;
    long value = std::strtol(word.c_str(), &end, 0);
    if (end != word.c_str() && *end == '\0') {
        code = int(value);
        return value > 0 && value < 256;
    }
    std::string name = word;
    for (char& c : name)
        if (c == '_') c = ' ';
    code = scan_code_of_key(name);
    return code != 0;
}

// Reads numbers or "-" up to the next keyword.
bool read_list(std::istringstream& in, std::vector<int>& out, bool keys) {
    out.clear();
    while (true) {
        in >> std::ws;
        if (in.peek() == EOF) return true;
        std::streampos at = in.tellg();
        std::string word;
        in >> word;
        if (word == "-") return true;
        if (word == "keys" || word == "text" || word == "joypad" || word == "axes" ||
            word == "buttons" || word == "focus-lost" || word == "end") {
            in.seekg(at);
            return true;
        }
        int value;
        if (keys) {
            if (!read_key(word, value)) return false;
        } else {
            char* end = nullptr;
            value = int(std::strtol(word.c_str(), &end, 10));
            if (end == word.c_str() || *end != '\0') return false;
        }
        out.push_back(value);
    }
}

// Text and a focus loss belong to their frame only; the rest is held.
bool parse_frame_line(std::istringstream& in, input_frame& state, std::string& text,
                      bool& focus_lost, bool& end) {
    std::string word;
    while (in >> word) {
        if (word == "keys") {
            if (!read_list(in, state.keys, true)) return false;
        } else if (word == "buttons") {
            if (!read_list(in, state.buttons, false)) return false;
        } else if (word == "joypad") {
            int on;
            if (!(in >> on)) return false;
            state.joypad = on != 0;
        } else if (word == "axes") {
            if (!(in >> state.axis_x >> state.axis_y)) return false;
        } else if (word == "text") {
            if (!read_quoted(in, text)) return false;
        } else if (word == "focus-lost") {
            focus_lost = true;
        } else if (word == "end") {
            end = true;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

bool parse_input_script(const std::string& source, input_script& script, std::string& error) {
    script = input_script();
    std::istringstream lines(source);
    std::string line;
    input_frame state;
    int line_number = 0;
    int last_frame = -1;
    bool ended = false;
    while (std::getline(lines, line)) {
        ++line_number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream in(line);
        std::string first;
        if (!(in >> first) || first[0] == '#') continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(line_number) + ": " + why;
            return false;
        };
        if (ended) return fail("nothing may follow the end");
        if (first == "seed") {
            long long seed;
            if (!(in >> seed)) return fail("a seed is a number");
            script.seed = uint32_t(seed);
            continue;
        }
        char* end = nullptr;
        long frame = std::strtol(first.c_str(), &end, 10);
        if (end == first.c_str() || *end != '\0' || frame < 0 || frame > 100000000)
            return fail("expected a frame number, 'seed' or '#'");
        if (frame <= last_frame) return fail("frame numbers must increase");
        // The held state carries over the frames between two lines.
        while (int(script.frames.size()) < frame) {
            script.frames.push_back(state);
            script.frames.back().text.clear();
        }
        std::string text;
        bool focus_lost = false;
        if (!parse_frame_line(in, state, text, focus_lost, ended))
            return fail("cannot read \"" + line + "\"");
        last_frame = int(frame);
        if (ended) {
            script.end_frame = int(frame);
            continue;
        }
        script.frames.push_back(state);
        script.frames.back().text = text;
        script.frames.back().focus_lost = focus_lost;
    }
    if (!ended) {
        error = "the script has no 'N end' line";
        return false;
    }
    return true;
}

std::string format_input_script(const input_script& script) {
    std::string out = "# zorbel input script: frame number, then what changes from that frame on\n";
    out += "seed " + std::to_string(script.seed) + "\n";
    input_frame previous;
    for (size_t f = 0; f < script.frames.size(); ++f) {
        const input_frame& frame = script.frames[f];
        bool first = f == 0;
        if (!first && same_state(frame, previous) && frame.text.empty() && !frame.focus_lost)
            continue;
        std::string line = std::to_string(f);
        if (first || frame.keys != previous.keys) line += " keys" + number_list(frame.keys);
        if (first || frame.joypad != previous.joypad) line += frame.joypad ? " joypad 1" : " joypad 0";
        if (first || frame.axis_x != previous.axis_x || frame.axis_y != previous.axis_y)
            line += " axes " + std::to_string(frame.axis_x) + " " + std::to_string(frame.axis_y);
        if (first || frame.buttons != previous.buttons) line += " buttons" + number_list(frame.buttons);
        if (!frame.text.empty()) line += " text " + quoted(frame.text);
        if (frame.focus_lost) line += " focus-lost";
        out += line + "\n";
        previous = frame;
    }
    return out + std::to_string(script.end_frame) + " end\n";
}

bool start_recording(const std::string& path) {
    record_path = path;
    // Check now that the file can be written, not after a whole game.
    std::ofstream probe(path, std::ios::app);
    if (!probe) return false;
    recorded_seed = milliseconds();
    random_seed(int32_t(recorded_seed));
    start_input_recording();
    return true;
}

bool start_replay(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "zorbel: cannot read the replay %s\n", path.c_str());
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    input_script script;
    std::string error;
    if (!parse_input_script(text.str(), script, error)) {
        std::fprintf(stderr, "zorbel: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    replay_mode = true;
    random_seed(int32_t(script.seed));
    frame_limit = script.end_frame;
    set_input_script(std::move(script.frames));
    return true;
}

std::string (*replay_summary)() = nullptr;

bool replaying() { return replay_mode; }

void finish_input_script_modes() {
    if (replay_mode) {
        std::printf("%s\n", replay_summary ? replay_summary().c_str() : "replay");
        std::fflush(stdout);
    }
    if (record_path.empty()) return;
    input_script script;
    script.seed = recorded_seed;
    script.frames = recorded_input();
    script.end_frame = frame_number();
    script.frames.resize(size_t(script.end_frame));
    std::ofstream(record_path, std::ios::binary | std::ios::trunc) << format_input_script(script);
}
