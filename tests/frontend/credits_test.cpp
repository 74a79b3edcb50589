// The credits pages: the picture chosen by the "#" of its name, the pages'
// fixed time and their sounds.
#include "front_end_fixture.h"
#include "media/random.h"
#include "support/world_pack.h"

using namespace front;
using world_pack::bmp;
using world_pack::rgb;

namespace {

constexpr uint32_t red = rgb(200, 30, 30), green = rgb(30, 200, 30);

class credits : public front_end {
protected:
    void SetUp() override {
        front_end::SetUp();
        folder.write("GFX/credits0.png", bmp(16, 16, red));
        folder.write("GFX/credits1.png", bmp(16, 16, green));
        cfg_loadscreen = folder.path() + "/GFX/credits#.png";
        folder.write("SFX/credits1.ogg", sound_files::wav());
        folder.write("SFX/credits2.ogg", sound_files::wav());
        cfg_soundfxpath = folder.path() + "/SFX/";
        load_sound_effects();
        cfg_grimblewood1 = "credits1.ogg";
        cfg_grimblewood = "credits2.ogg";
    }
    // The colour at the middle of each page, as it was shown.
    std::vector<uint32_t> pages() {
        std::vector<uint32_t> middle;
        each_frame = [&] { middle.push_back(read_pixel(width / 2, height / 2)); };
        show_credits();
        each_frame = nullptr;
        return middle;
    }
};

// Red or green, whatever faint title lies over it.
char which(uint32_t colour) {
    const uint32_t r = colour & 0xFF, g = (colour >> 8) & 0xFF;
    if (r > 150 && g < 100) return 'r';
    if (g > 150 && r < 100) return 'g';
    return '?';
}

}  // namespace

TEST_F(credits, both_pictures_come_up_about_half_of_the_starts_each) {
    int reds = 0, greens = 0;
    for (int start = 0; start < 40; ++start) {
        random_seed(start * 7919);
        const std::vector<uint32_t> shown = pages();
        ASSERT_EQ(shown.size(), 3u);
        const char first = which(shown[0]);
        for (uint32_t colour : shown) EXPECT_EQ(which(colour), first) << "one picture a start";
        reds += first == 'r';
        greens += first == 'g';
    }
    EXPECT_EQ(reds + greens, 40);
    EXPECT_GE(reds, 8);
    EXPECT_GE(greens, 8);
}

TEST_F(credits, only_the_first_hash_is_replaced) {
    folder.write("GFX/a0b#.png", bmp(16, 16, red));
    folder.write("GFX/a1b#.png", bmp(16, 16, red));
    cfg_loadscreen = folder.path() + "/GFX/a#b#.png";
    EXPECT_EQ(which(pages().front()), 'r');
}

TEST_F(credits, without_a_picture_the_notices_page_stays_black) {
    cfg_loadscreen = folder.path() + "/GFX/credits.png";   // no "#": no picture at all
    std::vector<bool> black_page;
    each_frame = [&] {
        bool black = true;
        for (int y = 0; y < height; y += 8)
            for (int x = 0; x < width; x += 8) black = black && read_pixel(x, y) == 0;
        black_page.push_back(black);
    };
    show_credits();
    ASSERT_EQ(black_page.size(), 3u);
    EXPECT_TRUE(black_page[0]) << "its texts need the picture behind them";
    EXPECT_FALSE(blended_exists(menu_background_3d));
}

TEST_F(credits, twelve_seconds_of_pages_whatever_keys_are_held) {
    play_from_now(repeated(keys({enter, escape, a, x, s, b}), 10));
    const uint32_t start = milliseconds();
    const int first_frame = frame_number();
    show_credits();
    const uint32_t took = milliseconds() - start;
    EXPECT_GE(took, 12000u);
    EXPECT_LT(took, 12000u + 3 * 20u) << "the pages' time and three frames";
    EXPECT_EQ(frame_number() - first_frame, 3);
    EXPECT_EQ(screen_state, 0) << "no screen opened";
    EXPECT_EQ(heard, (std::vector<std::string>{"credits1.ogg", "credits2.ogg"}));
    EXPECT_TRUE(blended_exists(menu_background_3d)) << "kept for the title menu to replace";
}
