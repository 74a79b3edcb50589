// Input scripts and recorded games; ZORBEL_UPDATE_GOLDEN=1 rewrites the games' expect lines.
#include <gtest/gtest.h>

#include "core/replay.h"
#include "support/replay_pack.h"

using namespace replay_pack;

namespace {

const std::string recorded = std::string(ZORBEL_SOURCE_DIR) + "/tests/core/replays/";

}  // namespace

TEST(ReplayText, HandWrittenScriptExpandsFrameByFrame) {
    input_script script;
    std::string error;
    ASSERT_TRUE(parse_input_script("# walk right, type, then a joypad\r\nseed 77\n0 keys Right Left_Ctrl\n"
                                   "2 keys 0xD0 text \"a\\\"\\\\b\\xE4\"\n3 keys - joypad 1 axes 1 -1 buttons 2 5\n5 end\n",
                                   script, error)) << error;
    EXPECT_EQ(script.seed, 77u);
    EXPECT_EQ(script.end_frame, 5);
    ASSERT_EQ(script.frames.size(), 5u);
    const std::vector<std::vector<int>> keys = {{0xCD, 0x1D}, {0xCD, 0x1D}, {0xD0}, {}, {}};
    const std::string texts[] = {"", "", "a\"\\b\xE4", "", ""};
    for (size_t f = 0; f < 5; ++f) {
        EXPECT_EQ(script.frames[f].keys, keys[f]) << "frame " << f;
        EXPECT_EQ(script.frames[f].text, texts[f]) << "frame " << f;
        EXPECT_EQ(script.frames[f].joypad, f >= 3) << "frame " << f;
    }
    EXPECT_EQ(script.frames[4].axis_y, -1);
    EXPECT_EQ(script.frames[4].buttons, (std::vector<int>{2, 5}));
    input_script back;   // written as a recording writes it, and read again
    ASSERT_TRUE(parse_input_script(format_input_script(script), back, error)) << error;
    EXPECT_EQ(back.frames.at(2).text, texts[2]);
}

TEST(ReplayText, MistakesNameTheirLine) {
    const struct { const char* text; const char* error_start; } cases[] = {
        {"0 keys Up\n", "the script has no 'N end' line"}, {"5 keys Up\n3 keys -\n9 end\n", "line 2:"},
        {"1 keys Up\n1 keys -\n2 end\n", "line 2:"}, {"0 keys Nokey\n1 end\n", "line 1:"}, {"x keys Up\n1 end\n", "line 1:"},
        {"0 text \"open\n1 end\n", "line 1:"}, {"1 end\n2 keys Up\n", "line 2:"}};
    for (const auto& c : cases) {
        input_script script;
        std::string error;
        EXPECT_FALSE(parse_input_script(c.text, script, error)) << c.text;
        EXPECT_TRUE(error.starts_with(c.error_start)) << c.text << " gave " << error;
        if (!error.starts_with("line")) {
            EXPECT_EQ(error, c.error_start);
        }
    }
}

TEST(Replay, RecordedGamesKeepTheirLinesAndARecordingOfAReplayReplaysTheSame) {
    temp_folder pack;
    write_replay_pack(pack);
    for (const char* name : {"walk_level_one.txt", "idle_until_time_runs_out.txt", "joypad_walk.txt"}) {
        ASSERT_FALSE(file_text(recorded + name).empty()) << name;
        const replay_run first = expect_recorded_line(recorded + name, pack.path());
        EXPECT_EQ(first.line, run_replay(recorded + name, pack.path()).line) << "not reproducible: " << name;
    }
    const std::string copy = pack.path() + "/copy.txt";
    const replay_run first = run_replay(recorded + "walk_level_one.txt", pack.path(), " --record '" + copy + "'");
    EXPECT_EQ(first.exit_code, 0) << first.line;
    ASSERT_NE(file_text(copy).find(" end"), std::string::npos) << file_text(copy);
    EXPECT_EQ(run_replay(copy, pack.path()).line, first.line);
}

