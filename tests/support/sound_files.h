// Short WAV tones (effects load by content) and a real Ogg sound (music loads by the name's ending).
#pragma once

#include <string>

#include "support/test_support.h"

namespace sound_files {

// A mono 16-bit square tone of `samples` samples at 22050 Hz.
inline std::string wav(int samples = 2205) {
    std::string data, out = "RIFF";
    for (int i = 0; i < samples; ++i) put_le(data, (i / 20) % 2 ? 0x2000 : 0xE000, 2);
    put_le(out, uint32_t(36 + data.size()), 4);
    out += "WAVEfmt ";
    for (uint32_t v : {16, 1, 1}) put_le(out, v, v == 16 ? 4 : 2);
    put_le(out, 22050, 4);
    put_le(out, 22050 * 2, 4);
    put_le(out, 2, 2);
    put_le(out, 16, 2);
    out += "data";
    put_le(out, uint32_t(data.size()), 4);
    return out + data;
}

// The bytes of a short Ogg Vorbis sound (the step of the shipped pack).
inline std::string ogg() { return file_text(std::string(ZORBEL_SOURCE_DIR) + "/data/SFX/step.ogg"); }

}  // namespace sound_files
