// The credits pages: the picture chosen by the "#" of its name, their fixed time and sounds.
#include "front_end_fixture.h"
#include "media/random.h"
#include "support/world_pack.h"

using namespace front;
using world_pack::bmp;
using world_pack::rgb;

namespace {

class Credits : public FrontEnd {
protected:
    void SetUp() override {
        FrontEnd::SetUp();
        folder.write("GFX/credits0.png", bmp(16, 16, rgb(200, 30, 30)));
        folder.write("GFX/credits1.png", bmp(16, 16, rgb(30, 200, 30)));
        cfg_loadscreen = folder.path() + "/GFX/credits#.png";
        folder.write("SFX/credits1.ogg", sound_files::wav());
        folder.write("SFX/credits2.ogg", sound_files::wav());
        cfg_soundfxpath = folder.path() + "/SFX/";
        load_sound_effects();
        cfg_grimblewood1 = "credits1.ogg";
        cfg_grimblewood = "credits2.ogg";
    }
    // Each page as it was shown: 'r' red, 'g' green (whatever faint title lies
    // over it) at its middle, '0' black all over, '?' else.
    std::string pages() {
        std::string shown;
        each_frame = [&] {
            bool black = true;
            for (int y = 0; y < height; y += 8)
                for (int x = 0; x < width; x += 8) black = black && read_pixel(x, y) == 0;
            const uint32_t middle = read_pixel(width / 2, height / 2), r = middle & 0xFF, g = (middle >> 8) & 0xFF;
            shown += black ? '0' : r > 150 && g < 100 ? 'r' : g > 150 && r < 100 ? 'g' : '?';
        };
        show_credits();
        each_frame = nullptr;
        return shown;
    }
};

}  // namespace

TEST_F(Credits, BothPicturesComeUpAboutHalfOfTheStartsEach) {
    int reds = 0, greens = 0;
    for (int start = 0; start < 40; ++start) {
        random_seed(start * 7919);
        const std::string shown = pages();
        EXPECT_TRUE(shown == "rrr" || shown == "ggg") << shown << ": one picture a start";
        reds += shown == "rrr";
        greens += shown == "ggg";
    }
    EXPECT_GE(reds, 8);
    EXPECT_GE(greens, 8);
}

// Only the first "#" is replaced; without one the page stays black (its texts need the picture).
TEST_F(Credits, OnlyTheFirstHashIsReplacedAndWithoutAPictureThePageStaysBlack) {
    folder.write("GFX/a0b#.png", bmp(16, 16, rgb(200, 30, 30)));
    folder.write("GFX/a1b#.png", bmp(16, 16, rgb(200, 30, 30)));
    cfg_loadscreen = folder.path() + "/GFX/a#b#.png";
    EXPECT_EQ(pages()[0], 'r');
    cfg_loadscreen = folder.path() + "/GFX/credits.png";
    EXPECT_EQ(pages()[0], '0');
    EXPECT_FALSE(blended_exists(menu_background_3d));
}

TEST_F(Credits, TwelveSecondsOfPagesWhateverKeysAreHeld) {
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
