// The game clock, the overlay and the full-screen pass.
#include "core/game_phase.h"
#include "game/requests.h"
#include "play_fixture.h"
#include "support/world_pack.h"

using namespace play;
using world_pack::rgb;

namespace {

using GameClock = Game;

TEST_F(GameClock, ATickComesEveryWorldrefreshPlusOneFrames) {
    const struct { const char* refresh; int every; } cases[] = {{"60", 61}, {"0", 1}, {"-3", 1}};
    for (const auto& c : cases) {
        apply_configuration_entry("WORLDREFRESH", c.refresh);
        clock_frames = 0;
        time_left = 1000;
        std::vector<int> ticks;
        for (int frame = 1; frame <= 3 * c.every; ++frame) {
            const int32_t before = time_left;
            clock_step(-1);
            if (time_left != before) ticks.push_back(frame);
        }
        EXPECT_EQ(ticks, (std::vector<int>{c.every, 2 * c.every, 3 * c.every})) << c.refresh;
        EXPECT_EQ(time_left, 997) << c.refresh;
    }
    for (int direction : {0, 2, 16}) clock_step(direction);
    EXPECT_EQ(time_left, 997) << "only -1 and +1 step the clock";
}

TEST_F(GameClock, TheLastTenTicksWarnAndRunningOutEndsTheGame) {
    apply_configuration_entry("WORLDREFRESH", "0");
    // Return pressed again and again passes the name entry, the table and the title menu.
    cfg_profiles = folder.path() + "/";
    press_keys_from_now({scripted::enter});
    time_left = 12;
    dimension = loaded_dimension = 4;
    std::vector<int32_t> warned;
    while (time_left >= 0) {
        heard.clear();
        clock_step(-1);
        if (!heard.empty()) warned.push_back(time_left);
        EXPECT_LE(heard.size(), 1u);
        if (time_left >= 0) {
            EXPECT_EQ(dimension, 4) << "the game goes on at " << time_left;
        }
    }
    EXPECT_EQ(warned, (std::vector<int32_t>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(time_left, -1);   // left negative: the next level sets it again
    EXPECT_EQ(pending_request, game_request::time_up);
    act_on_request();
    // The game is over and a new one is on its way.
    EXPECT_EQ(dimension, 1);
    EXPECT_EQ(loaded_dimension, 0);
    set_input_script({});
}

using Overlay = Game;

TEST_F(Overlay, TheGlassCoversTheScreenFromOneOneToItsFarEdges) {
    const uint32_t green = rgb(0, 200, 0);
    load_top_glass(folder.path() + "/GFX/none.png");
    EXPECT_EQ(top_glass_ready, 0) << "a missing image leaves the overlay off";
    load_top_glass(folder.write("GFX/glass.bmp", world_pack::bmp(8, 8, green)));
    ASSERT_EQ(top_glass_ready, 1);
    EXPECT_EQ(blended_width(top_glass), 1023);
    EXPECT_EQ(blended_height(top_glass), 767);
    clear_screen(0);
    begin_blended_pass();
    draw_top_glass(0, 0);
    end_blended_pass();
    EXPECT_EQ(read_pixel(1, 1), green);
    EXPECT_EQ(read_pixel(1023, 767), green);
    for (auto [x, y] : {std::pair{0, 0}, {0, 400}, {600, 0}}) EXPECT_EQ(read_pixel(x, y), 0u) << x << "," << y;
}

}  // namespace
