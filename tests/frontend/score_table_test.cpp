// The high-score table: its order, the rows it draws, how it ends.
#include "front_end_fixture.h"
#include "text/font_engine.h"
#include "text/text_engine.h"

using namespace front;

namespace {

using ScoreTable = FrontEnd;
using rows = std::vector<std::pair<std::string, int32_t>>;

rows sorted(const rows& scores) {
    profiles.clear();
    for (const auto& [name, points] : scores) {
        profiles.push_back({});
        profiles.back().profile_name = name;
        profiles.back().profile_score = points;
    }
    sort_score_table();
    rows out;
    for (const score_row& row : score_table) out.push_back({row.profile_name, row.profile_score});
    return out;
}

}  // namespace

// Equal scores: the one found later first; none, or only below 0, give one empty row.
TEST_F(ScoreTable, EqualScoresListTheOneFoundLaterFirstAndNoneGiveAnEmptyRow) {
    EXPECT_EQ(sorted({{"A", 10}, {"B", 30}, {"C", 10}, {"D", 30}, {"E", 1}}),
              (rows{{"D", 30}, {"B", 30}, {"C", 10}, {"A", 10}, {"E", 1}}));
    EXPECT_TRUE(profiles.empty()) << "the sort uses the profiles up";
    EXPECT_EQ(sorted({}), (rows{{"", 0}}));
    EXPECT_EQ(sorted({{"NEG", -3}}), (rows{{"", 0}}));
}

TEST_F(ScoreTable, WithoutAPositiveRowItRunsUntilReturn) {
    score_table = {{"", 0}, {"ZERO", 0}};
    play_from_now(repeated(keys({}), 3000) + repeated(keys({enter}), 1));
    score_table_screen();
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](const seen_frame& f) { return f.screen == screen_state_title; }), 1)
        << "Return sets the title";
    EXPECT_EQ(seen.size(), 3000u);
    EXPECT_EQ(seen.back().action, action_enter);
}

// With the shipped font at the design size: a row at 0 takes no place, the next keeps its number.
TEST_F(ScoreTable, ARowAtZeroIsNotDrawnAndTakesNoPlace) {
    close_headless_screen();
    open_headless_screen(1024, 768);
    screen_width = 1024;
    screen_height = 768;
    cfg_fontpath = std::string(ZORBEL_SOURCE_DIR) + "/data/GFX/FONT";
    load_font(std::string(ZORBEL_SOURCE_DIR) + "/data/DATA/font.txt");
    ASSERT_GT(font_height, 0);
    // What lies in the band of a row's texts, sampled.
    auto band = [](float y) {
        std::vector<uint32_t> pixels;
        for (int py = int(y) + 2; py < int(y) + 18; py += 3)
            for (int px = 512; px < 820; px += 2) pixels.push_back(read_pixel(px, py));
        return pixels;
    };
    score_table = {{"ZERO", 0}, {"TOP", 7}};
    const int frames = 400;   // the first row has risen 399 pixels
    const float first_y = 768.0f - float(frames - 1), second_y = first_y + 0.04f * 768.0f;
    std::vector<uint32_t> first, second;
    each_frame = [&] {
        if (seen.size() != size_t(frames)) return;
        first = band(first_y);
        second = band(second_y);
    };
    play_from_now(repeated(keys({}), frames) + repeated(keys({enter}), 1));
    score_table_screen();
    ASSERT_FALSE(first.empty());
    clear_screen(0);
    begin_blended_pass();
    draw_text("  2. |", 0.5f * 1024, first_y, 0.6f, 0, 255, 1, 0, 0);
    draw_text("  TOP |", 0.6f * 1024, first_y, 0.6f, 0, 255, 1, 0, 0);
    draw_text("  7 |", 0.7f * 1024, first_y, 0.6f, 0, 255, 1, 0, 0);
    end_blended_pass();
    EXPECT_EQ(first, band(first_y)) << "the row of TOP, numbered 2, in the first place";
    EXPECT_NE(std::count(first.begin(), first.end(), 0u), std::ptrdiff_t(first.size()));
    EXPECT_EQ(std::count(second.begin(), second.end(), 0u), std::ptrdiff_t(second.size())) << "nothing below it";
}
