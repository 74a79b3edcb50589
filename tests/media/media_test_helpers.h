// Small helpers for the media tests: image and sound files written by hand,
// and a fixture that opens the real media layer headless.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "media/media.h"
#include "support/test_support.h"

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r + 256 * g + 65536 * b; }
constexpr uint32_t magenta = rgb(255, 0, 255);

inline void put16(std::string& out, uint32_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
inline void put32(std::string& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A 24-bit BMP of packed colours, row by row from the top.
inline std::string bmp_bytes(int width, int height, const std::vector<uint32_t>& pixels) {
    const int row_size = (width * 3 + 3) / 4 * 4;
    std::string out = "BM";
    put32(out, static_cast<uint32_t>(54 + row_size * height));
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, static_cast<uint32_t>(row_size * height));
    for (int k = 0; k < 4; ++k) put32(out, 0);
    for (int y = height - 1; y >= 0; --y) {   // BMP rows go bottom up
        for (int x = 0; x < width; ++x) {
            uint32_t c = pixels[static_cast<size_t>(y * width + x)];
            out += static_cast<char>((c >> 16) & 0xFF);
            out += static_cast<char>((c >> 8) & 0xFF);
            out += static_cast<char>(c & 0xFF);
        }
        out.append(static_cast<size_t>(row_size - width * 3), '\0');
    }
    return out;
}

inline std::string solid_bmp(int width, int height, uint32_t colour) {
    return bmp_bytes(width, height,
                     std::vector<uint32_t>(static_cast<size_t>(width * height), colour));
}

// A short 16-bit mono WAV of a square wave.
inline std::string wav_bytes(int samples) {
    std::string data;
    for (int i = 0; i < samples; ++i) put16(data, (i / 20) % 2 ? 0x2000 : 0xE000);
    std::string out = "RIFF";
    put32(out, static_cast<uint32_t>(36 + data.size()));
    out += "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);
    put16(out, 1);
    put32(out, 22050);
    put32(out, 22050 * 2);
    put16(out, 2);
    put16(out, 16);
    out += "data";
    put32(out, static_cast<uint32_t>(data.size()));
    return out + data;
}

inline std::string channels(uint32_t c) {
    return "(" + std::to_string(c & 0xFF) + ", " + std::to_string((c >> 8) & 0xFF) + ", " +
           std::to_string((c >> 16) & 0xFF) + ")";
}

// Compares colours and prints them as (r, g, b) on failure.
#define EXPECT_COLOUR(actual, expected) EXPECT_EQ(channels(actual), channels(expected))

// A screen of 64 x 64 with the virtual clock, freed after each case.
class media_screen : public ::testing::Test {
protected:
    static constexpr int width = 64, height = 64;
    void SetUp() override { open_headless_screen(width, height); }
    void TearDown() override { close_headless_screen(); }
    temp_folder folder;
};
