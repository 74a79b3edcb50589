// Colours read back, and the media fixture: a 64 x 64 headless screen.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "media/media.h"
#include "support/test_support.h"

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r + 256 * g + 65536 * b; }
constexpr uint32_t magenta = rgb(255, 0, 255);

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
