// The credits pages: their fixed time, sounds and pictures.
#include "front_end_fixture.h"
#include "media/random.h"
#include "support/world_pack.h"

using namespace front;
using Credits = FrontEnd;

TEST_F(Credits, TwelveSecondsOfPagesWhateverKeysAreHeld) {
    folder.write("GFX/credits0.png", world_pack::bmp(16, 16, world_pack::rgb(200, 30, 30)));
    folder.write("GFX/credits1.png", world_pack::bmp(16, 16, world_pack::rgb(30, 200, 30)));
    cfg_loadscreen = folder.path() + "/GFX/credits#.png";
    folder.write("SFX/credits1.ogg", sound_files::wav());
    folder.write("SFX/credits2.ogg", sound_files::wav());
    cfg_soundfxpath = folder.path() + "/SFX/";
    load_sound_effects();
    cfg_grimblewood1 = "credits1.ogg";
    cfg_grimblewood = "credits2.ogg";
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
    int pages = 0, reds = 0;   // both pictures come up
    each_frame = [&] { reds += (read_pixel(width / 2, height / 2) & 0xFF) > 150, ++pages; };
    for (int32_t seed = 1; seed <= 8; ++seed) {
        random_seed(seed);
        show_credits();
    }
    EXPECT_TRUE(reds > 0 && reds < pages) << reds;
    for (const char* name : {"GFX/a0b#.png", "GFX/a1b#.png"}) folder.write(name, world_pack::bmp(16, 16, 0));
    cfg_loadscreen = folder.path() + "/GFX/a#b#.png";   // only the first "#" is replaced
    show_credits();
    EXPECT_TRUE(blended_exists(menu_background_3d));
}
