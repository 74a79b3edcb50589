// BMP files written by hand, and the media fixture: a 64 x 64 headless screen.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/media.h"
#include "support/test_support.h"

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r + 256 * g + 65536 * b; }
constexpr uint32_t magenta = rgb(255, 0, 255);

inline void put(std::string& out, uint32_t v, int bytes) {
    for (int k = 0; k < bytes; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}

// A 24-bit BMP of packed colours, row by row from the top.
inline std::string bmp_bytes(int width, int height, const std::vector<uint32_t>& pixels) {
    const uint32_t row = static_cast<uint32_t>(width * 3 + 3) / 4 * 4, size = row * height;
    std::string out = "BM";
    for (uint32_t v : {54 + size, 0u, 54u, 40u, uint32_t(width), uint32_t(height)}) put(out, v, 4);
    put(out, 1, 2);
    put(out, 24, 2);
    for (uint32_t v : {0u, size, 0u, 0u, 0u, 0u}) put(out, v, 4);
    for (int y = height - 1; y >= 0; --y) {   // BMP rows go bottom up
        for (int x = 0; x < width; ++x) {
            const uint32_t c = pixels[static_cast<size_t>(y * width + x)];
            put(out, ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF), 3);
        }
        out.append(row - static_cast<uint32_t>(width) * 3, '\0');
    }
    return out;
}

inline std::string solid_bmp(int width, int height, uint32_t colour) {
    return bmp_bytes(width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), colour));
}

inline uint32_t channel(uint32_t c, int shift) { return (c >> shift) & 0xFF; }
inline std::string channels(uint32_t c) {
    return "(" + std::to_string(channel(c, 0)) + ", " + std::to_string(channel(c, 8)) + ", " +
           std::to_string(channel(c, 16)) + ")";
}

// Compares colours and prints them as (r, g, b) on failure.
#define EXPECT_COLOUR(actual, expected) EXPECT_EQ(channels(actual), channels(expected))

class MediaScreen : public ::testing::Test {
protected:
    static constexpr int width = 64, height = 64;
    void SetUp() override { open_headless_screen(width, height); }
    void TearDown() override { close_headless_screen(); }
    // A sprite loaded from a file written into the case's folder.
    int load(const std::string& name, const std::string& bytes) {
        const int sprite = load_sprite(folder.write(name, bytes), true);
        EXPECT_NE(sprite, 0) << name;
        return sprite;
    }
    struct pixel { int x, y; uint32_t colour; };
    // Every listed pixel of the back buffer has its colour.
    static void expect_pixels(std::initializer_list<pixel> pixels, const std::string& where = "") {
        for (const pixel& p : pixels)
            EXPECT_COLOUR(read_pixel(p.x, p.y), p.colour) << where << " at " << p.x << "," << p.y;
    }
    temp_folder folder;
};
