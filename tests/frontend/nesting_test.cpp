// Left alone, the title menu and the high-score table take turns for ever;
// the stack must not grow with every turn.
#include "front_end_fixture.h"

using namespace front;

namespace {

using nesting = front_end;

}  // namespace

TEST_F(nesting, twenty_turns_of_table_and_title_keep_the_same_depth) {
    // A tiny screen keeps the table's laps short.
    close_headless_screen();
    open_headless_screen(64, 32);
    screen_width = 64;
    screen_height = 32;
    score = 50;   // the result of the game just over: a row that scrolls
    int tables = 0;
    std::vector<uintptr_t> depths;
    each_frame = [&] {
        const size_t n = seen.size();
        if (n >= 2 && seen[n - 1].screen == screen_state_score_table &&
            seen[n - 2].screen != screen_state_score_table)
            ++tables;
        if (screen_state != screen_state_title) return;
        depths.push_back(reinterpret_cast<uintptr_t>(__builtin_frame_address(0)));
        if (tables == 21) screen_state = screen_state_game_requested;   // enough: play
    };
    // Return ends the name entry; then nobody touches anything.
    play_from_now({keys({enter})});
    enter_high_score();

    EXPECT_EQ(tables, 21) << "the first after the name entry, then twenty turns";
    ASSERT_GT(depths.size(), 20u * 1001u);
    EXPECT_EQ(*std::min_element(depths.begin(), depths.end()),
              *std::max_element(depths.begin(), depths.end()));
    EXPECT_EQ(screen_state, screen_state_game_requested);
}
