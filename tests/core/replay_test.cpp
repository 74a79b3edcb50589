// Input scripts: the text form, and whole games played back headless.
// The recorded games in tests/core/replays carry their expected summary line
// ("# expect: ..."); after a deliberate change to the rules, rewrite them with
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_core --gtest_filter='Replay*'
// and review the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/replay.h"
#include "support/test_support.h"
#include "support/replay_pack.h"

using namespace replay_pack;

namespace {

input_script parsed(const std::string& text) {
    input_script script;
    std::string error;
    EXPECT_TRUE(parse_input_script(text, script, error)) << error;
    return script;
}

std::string parse_error(const std::string& text) {
    input_script script;
    std::string error;
    EXPECT_FALSE(parse_input_script(text, script, error));
    return error;
}

std::string replay_line(const std::string& script_path, const std::string& pack,
                        const std::string& extra = "") {
    replay_run run = run_replay(script_path, pack, extra);
    EXPECT_EQ(run.exit_code, 0) << run.line;
    return run.line;
}

}  // namespace

TEST(ReplayText, HandWrittenScriptExpandsFrameByFrame) {
    input_script script = parsed(
        "# walk right, type, then a joypad\r\n"
        "seed 77\n"
        "0 keys Right Left_Ctrl\n"
        "2 keys 0xD0 text \"a\\\"b\\xE4\"\n"
        "3 keys - joypad 1 axes 1 -1 buttons 2 5\n"
        "5 end\n");
    EXPECT_EQ(script.seed, 77u);
    EXPECT_EQ(script.end_frame, 5);
    ASSERT_EQ(script.frames.size(), 5u);
    EXPECT_EQ(script.frames[0].keys, (std::vector<int>{0xCD, 0x1D}));
    EXPECT_EQ(script.frames[1].keys, (std::vector<int>{0xCD, 0x1D}));
    EXPECT_EQ(script.frames[1].text, "");
    EXPECT_EQ(script.frames[2].text, "a\"b\xE4");
    EXPECT_EQ(script.frames[2].keys, (std::vector<int>{0xD0}));
    EXPECT_EQ(script.frames[3].keys, std::vector<int>{});
    EXPECT_TRUE(script.frames[4].joypad);
    EXPECT_EQ(script.frames[4].axis_x, 1);
    EXPECT_EQ(script.frames[4].axis_y, -1);
    EXPECT_EQ(script.frames[4].buttons, (std::vector<int>{2, 5}));
    EXPECT_FALSE(script.frames[2].joypad);
}

TEST(ReplayText, TextEscapesAndRoundTrip) {
    input_script script;
    script.seed = 4000000000u;
    script.frames.resize(6);
    script.frames[1].keys = {0xCB};
    script.frames[2].keys = {0xCB};
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
    // Only frames that change something get a line.
    EXPECT_EQ(text.find("\n5 "), std::string::npos) << text;
}

TEST(ReplayText, MistakesNameTheirLine) {
    EXPECT_EQ(parse_error("0 keys Up\n"), "the script has no 'N end' line");
    EXPECT_EQ(parse_error("5 keys Up\n3 keys -\n9 end\n").rfind("line 2:", 0), 0u);
    EXPECT_EQ(parse_error("0 keys Nokey\n1 end\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(parse_error("0 jump\n1 end\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(parse_error("x keys Up\n1 end\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(parse_error("0 text \"open\n1 end\n").rfind("line 1:", 0), 0u);
    EXPECT_EQ(parse_error("1 end\n2 keys Up\n").rfind("line 2:", 0), 0u);
}

TEST(Replay, RecordedGamesKeepTheirLines) {
    temp_folder pack;
    write_replay_pack(pack);
    const std::string folder = std::string(ZORBEL_SOURCE_DIR) + "/tests/core/replays/";
    for (const char* name : {"walk_level_one.txt", "idle_until_time_runs_out.txt",
                             "joypad_walk.txt"}) {
        const std::string path = folder + name;
        std::string text = read_file(path);
        ASSERT_FALSE(text.empty()) << path;
        std::string line = replay_line(path, pack.path());
        EXPECT_EQ(line, replay_line(path, pack.path())) << "not reproducible: " << name;
        EXPECT_EQ(line, expected_line(path, line)) << name;
    }
}

TEST(Replay, ARecordingOfAReplayReplaysTheSame) {
    temp_folder pack;
    write_replay_pack(pack);
    const std::string original = std::string(ZORBEL_SOURCE_DIR) + "/tests/core/replays/walk_level_one.txt";
    const std::string copy = pack.path() + "/copy.txt";
    std::string first = replay_line(original, pack.path(), " --record '" + copy + "'");
    std::string recorded = read_file(copy);
    ASSERT_NE(recorded.find(" end"), std::string::npos) << recorded;
    EXPECT_EQ(replay_line(copy, pack.path()), first);
}

TEST(Replay, UnreadableScriptsAreRefused) {
    temp_folder pack;
    write_replay_pack(pack);
    pack.write("bad.txt", "0 keys Up\n");
    command_result run = run_command(std::string(ZORBEL_BINARY) + " --replay bad.txt", pack.path());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.out.find("bad.txt: the script has no 'N end' line"), std::string::npos) << run.out;
    run = run_command(std::string(ZORBEL_BINARY) + " --replay missing.txt", pack.path());
    EXPECT_EQ(run.exit_code, 1);
    EXPECT_NE(run.out.find("cannot read the replay missing.txt"), std::string::npos) << run.out;
}
