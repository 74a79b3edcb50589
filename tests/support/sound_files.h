// Sound files for tests: short WAV tones, which the effect loader takes by
// content whatever their name, and a real Ogg Vorbis sound for music, whose
// loader goes by the name's ending.
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

namespace sound_files {

inline void put16(std::string& out, uint32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
inline void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A mono 16-bit square tone of `samples` samples at 22050 Hz.
inline std::string wav(int samples = 2205) {
    std::string data;
    for (int i = 0; i < samples; ++i) put16(data, (i / 20) % 2 ? 0x2000 : 0xE000);
    std::string out = "RIFF";
    put32(out, uint32_t(36 + data.size()));
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, 22050);
    put32(out, 22050 * 2);
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, uint32_t(data.size()));
    return out + data;
}

// The bytes of a short Ogg Vorbis sound (the step of the shipped pack).
inline std::string ogg() {
    std::ifstream in(std::string(ZORBEL_SOURCE_DIR) + "/data/SFX/step.ogg", std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

}  // namespace sound_files
