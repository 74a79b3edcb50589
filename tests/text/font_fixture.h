// A headless screen and a throw-away font folder for the font and text tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/startup.h"
#include "core/system_ini.h"
#include "media/media.h"
#include "support/test_support.h"
#include "text/font_engine.h"
#include "text/text_engine.h"

namespace font_test {

constexpr uint32_t rgb(int r, int g, int b) { return uint32_t(r) + 256u * g + 65536u * b; }
constexpr uint32_t red = rgb(200, 30, 30);
constexpr uint32_t green = rgb(30, 200, 30);
constexpr uint32_t black = 0;

// True when every channel of the two colours is within a few steps.
bool close_to(uint32_t got, uint32_t want);

class font_fixture : public ::testing::Test {
protected:
    // A design of 1024 x 768 on a screen of screen_w x screen_h.
    void open(int screen_w, int screen_h);
    void SetUp() override { open(1024, 768); }
    void TearDown() override;

    // A BMP file of one colour, grabbed from the screen. The loader detects
    // the format by content, so it may carry a ".png" name.
    void image_file(const std::string& name, int width, int height, uint32_t colour);
    // FONT/<stem>.png, a solid block of the given size and colour.
    void glyph_file(const std::string& stem, int width, int height, uint32_t colour = red);
    // The definition file holding one line (Latin-1 bytes), CR LF ended.
    void definition(const std::string& line);

    // One frame: black screen, the drawing, then the pixel at (x, y) can be read.
    template <class Draw>
    void frame(Draw draw) {
        clear_screen(black);
        begin_blended_pass();
        draw();
        end_blended_pass();
    }

    temp_folder folder;
};

}  // namespace font_test
