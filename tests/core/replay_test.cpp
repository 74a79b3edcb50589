// Input scripts and recorded games. After a deliberate change rewrite the games' lines with
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_core --gtest_filter='Replay*'   (and review the diff)
#include <gtest/gtest.h>

#include "core/replay.h"
#include "support/replay_pack.h"

using namespace replay_pack;

namespace {

input_script parsed(const std::string& text) {
    input_script script;
    std::string error;
    EXPECT_TRUE(parse_input_script(text, script, error)) << error;
    return script;
}

const std::string recorded = std::string(ZORBEL_SOURCE_DIR) + "/tests/core/replays/";

}  // namespace

TEST(ReplayText, HandWrittenScriptExpandsFrameByFrame) {
    input_script script = parsed("# walk right, type, then a joypad\r\nseed 77\n0 keys Right Left_Ctrl\n"
                                 "2 keys 0xD0 text \"a\\\"b\\xE4\"\n3 keys - joypad 1 axes 1 -1 buttons 2 5\n5 end\n");
    EXPECT_EQ(script.seed, 77u);
    EXPECT_EQ(script.end_frame, 5);
    ASSERT_EQ(script.frames.size(), 5u);
    const std::vector<std::vector<int>> keys = {{0xCD, 0x1D}, {0xCD, 0x1D}, {0xD0}, {}, {}};
    const std::string texts[] = {"", "", "a\"b\xE4", "", ""};
    for (size_t f = 0; f < 5; ++f) {
        EXPECT_EQ(script.frames[f].keys, keys[f]) << "frame " << f;
        EXPECT_EQ(script.frames[f].text, texts[f]) << "frame " << f;
        EXPECT_EQ(script.frames[f].joypad, f >= 3) << "frame " << f;
    }
    EXPECT_EQ(script.frames[4].axis_x, 1);
    EXPECT_EQ(script.frames[4].axis_y, -1);
    EXPECT_EQ(script.frames[4].buttons, (std::vector<int>{2, 5}));
}

TEST(ReplayText, TextEscapesAndRoundTrip) {
    input_script script;
    script.seed = 4000000000u;
    script.frames.resize(6);
    script.frames[1].keys = script.frames[2].keys = {0xCB};
    script.frames[2].text = std::string("Zo\"r\\b\xE9l\n", 10);
    script.frames[4].joypad = true;
    script.frames[4].buttons = {10};
    script.frames[5] = script.frames[4];
    script.end_frame = 6;
    std::string text = format_input_script(script);
    input_script back = parsed(text);
    EXPECT_EQ(back.seed, script.seed);
    EXPECT_EQ(back.end_frame, 6);
    ASSERT_EQ(back.frames.size(), 6u);
    for (size_t f = 0; f < 6; ++f) {
        EXPECT_EQ(back.frames[f].keys, script.frames[f].keys) << f;
        EXPECT_EQ(back.frames[f].text, script.frames[f].text) << f;
        EXPECT_EQ(back.frames[f].joypad, script.frames[f].joypad) << f;
        EXPECT_EQ(back.frames[f].buttons, script.frames[f].buttons) << f;
    }
    EXPECT_EQ(text.find("\n5 "), std::string::npos) << "only frames that change something get a line\n" << text;
}

TEST(ReplayText, MistakesNameTheirLine) {
    const struct { const char* text; const char* error_start; } cases[] = {
        {"0 keys Up\n", "the script has no 'N end' line"}, {"5 keys Up\n3 keys -\n9 end\n", "line 2:"},
        {"0 keys Nokey\n1 end\n", "line 1:"}, {"0 jump\n1 end\n", "line 1:"}, {"x keys Up\n1 end\n", "line 1:"},
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

TEST(Replay, UnreadableScriptsAreRefused) {
    temp_folder pack;
    pack.write("bad.txt", "0 keys Up\n");
    for (auto [script, message] : {std::pair{"bad.txt", "bad.txt: the script has no 'N end' line"},
                                   {"missing.txt", "cannot read the replay missing.txt"}}) {
        const replay_run run = run_replay(script, pack.path());
        EXPECT_EQ(run.exit_code, 1) << script;
        EXPECT_NE(run.out.find(message), std::string::npos) << run.out;
    }
}
