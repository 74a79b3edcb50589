// Whole games through the real program and its real input path: hand-written
// input scripts played back by `zorbel --replay` on a small pack. Each script
// carries the summary line it must print ("# expect: ..."); after a deliberate
// change, rewrite them with
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_frontend --gtest_filter='WholeGame*'
// and review the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "support/test_support.h"
#include "support/replay_pack.h"

using namespace replay_pack;

namespace {

namespace fs = std::filesystem;

// Level 1 of the small test pack, with a profiles folder.
void write_game_pack(const temp_folder& folder) {
    fs::create_directories(folder.path() + "/PROFILES");
    write_replay_pack(folder, world_pack::pairs({{"PROFILES", "PROFILES\\"}}));
}

// The results saved in the pack: name and score of every profile but the placeholder.
std::vector<std::pair<std::string, std::string>> results(const temp_folder& pack) {
    std::vector<std::pair<std::string, std::string>> found;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(pack.path() + "/PROFILES"))
        if (entry.path().extension() == ".profile") names.push_back(entry.path().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        std::istringstream lines(read_file(name));
        std::vector<std::string> values;
        for (std::string key, value; std::getline(lines, key) && std::getline(lines, value);) {
            if (!value.empty() && value.back() == '\r') value.pop_back();
            values.push_back(value);
        }
        if (values.size() >= 2 && values[0] != "DUMMY") found.push_back({values[0], values[1]});
    }
    return found;
}

std::string script_path(const std::string& name) {
    return std::string(ZORBEL_SOURCE_DIR) + "/tests/frontend/replays/" + name;
}

}  // namespace

// Start, credits, title, a game of level 1 until the clock runs out, a name
// typed, the table scrolling by itself, the title menu again.
TEST(WholeGame, APlayedGameEndsInTheTableWithItsResultStored) {
    temp_folder pack;
    write_game_pack(pack);
    const std::string script = script_path("play_until_time_runs_out.txt");
    replay_run first = run_replay(script, pack.path());
    ASSERT_EQ(first.exit_code, 0) << first.line;
    EXPECT_EQ(first.line, expected_line(script, first.line));
    const auto stored = results(pack);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, "ZOE");
    EXPECT_NE(first.line.find(" score=" + stored[0].second + " "), std::string::npos)
        << "the score of the game: " << stored[0].second;
    EXPECT_NE(stored[0].second, "0");

    // Played again in the same folder: the same line, and a second result
    // beside the first.
    replay_run second = run_replay(script, pack.path());
    EXPECT_EQ(second.line, first.line);
    EXPECT_EQ(results(pack).size(), 2u);
}

// Escape and B: with no points the game-over display follows at once, with
// points after the name entry and the table; either way the program ends
// long before its script does.
TEST(WholeGame, QuittingEndsTheProgramAfterANameEntryOnlyWithPoints) {
    const struct {
        const char* script;
        std::vector<std::string> names;
    } cases[] = {{"quit_without_points.txt", {}}, {"quit_with_points.txt", {"Q"}}};
    for (const auto& c : cases) {
        temp_folder pack;
        write_game_pack(pack);
        const std::string script = script_path(c.script);
        replay_run run = run_replay(script, pack.path());
        ASSERT_EQ(run.exit_code, 0) << run.line;
        EXPECT_EQ(run.line, expected_line(script, run.line));
        std::vector<std::string> names;
        for (const auto& [name, points] : results(pack)) names.push_back(name);
        EXPECT_EQ(names, c.names) << c.script;
    }
}

namespace {

// Plays `script` (frame lines, without the end) on a fresh game pack and
// returns its summary line; `end` is the frame the script ends at.
replay_run play(const temp_folder& pack, const std::string& script, int end,
                const std::string& extra_config = "") {
    if (!extra_config.empty())
        pack.write("DATA/ini.txt", pack.read("DATA/ini.txt") + extra_config);
    const std::string path =
        pack.write("script.txt", "seed 4\n" + script + std::to_string(end) + " end\n");
    return run_replay(path, pack.path());
}

// Return held from frame `from` for `frames` frames, then let go.
std::string held_return(int from, int frames) {
    return std::to_string(from) + " keys Return\n" + std::to_string(from + frames) + " keys -\n";
}

// The music off in the options first: level 1 of this pack then has no gem
// on the start cell, and a quit finds no points. The game starts at frame 12.
const std::string music_off_then_start =
    "3 keys S\n4 keys -\n6 keys Left\n7 keys -\n8 keys A\n9 keys -\n" + held_return(12, 1);

}  // namespace

// However many pause menus a held Return stacked, Y opens the quit dialog and
// B there quits: the game-over display follows and the program ends. The B
// still held never restarts the level on the way out.
TEST(WholeGame, YAndBQuitFromPauseMenusStackedByAHeldReturn) {
    for (int held : {1, 3, 10, 20}) {
        temp_folder pack;
        write_game_pack(pack);
        const replay_run run =
            play(pack, music_off_then_start + held_return(50, held) + "80 keys Y\n82 keys -\n" +
                           "90 keys B\n100 keys -\n",
                 2000);
        ASSERT_EQ(run.exit_code, 0) << run.line;
        EXPECT_EQ(run.line.find("frames=2000 "), std::string::npos)
            << "Return held " << held << " frames: the program went on: " << run.line;
        EXPECT_NE(run.line.find(" score=0 "), std::string::npos) << run.line;
    }
}

// When the clock has run out, the Return that ends the name entry shows the
// table, which stays until Return is pressed again; the title menu after it
// wants a press of its own before a new game starts.
TEST(WholeGame, TheTableAndTheTitleAfterTheNameEntryWaitForPressesOfTheirOwn) {
    const struct {
        int presses;
        const char* time_left;   // -1: the game is over, 1: a new game runs
    } cases[] = {{1, "-1"}, {2, "-1"}, {3, "1"}};
    for (const auto& c : cases) {
        temp_folder pack;
        write_game_pack(pack);
        std::string script = held_return(3, 1);
        for (int press = 0; press < c.presses; ++press) script += held_return(640 + 30 * press, 10);
        const replay_run run = play(pack, script, 760);
        ASSERT_EQ(run.exit_code, 0) << run.line;
        EXPECT_NE(run.line.find(std::string(" time_left=") + c.time_left + " "), std::string::npos)
            << c.presses << " presses: " << run.line;
        EXPECT_EQ(results(pack).size(), 1u) << c.presses << " presses";
    }
}

// One character per key at the name entry: the text a held key repeats (as
// a recording of the system's key repeat holds it) types nothing more.
TEST(WholeGame, AHeldKeyTypesOneLetter) {
    temp_folder pack;
    write_game_pack(pack);
    std::string script = held_return(3, 1) + "640 keys A text \"a\"\n";
    for (int frame = 641; frame < 670; ++frame) script += std::to_string(frame) + " text \"a\"\n";
    script += "670 keys -\n675 keys B text \"b\"\n676 keys -\n" + held_return(680, 3);
    const replay_run run = play(pack, script, 700);
    ASSERT_EQ(run.exit_code, 0) << run.line;
    const auto stored = results(pack);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, "AB");
}

namespace {

// A prepared world of 8 x 6 cells: wall round a floor of 6 x 4.
void write_prepared_world(const temp_folder& pack) {
    std::string text = "world\r\n7\r\n5\r\n-\r\n-\r\n";
    for (int x = 0; x <= 7; ++x)
        for (int y = 0; y <= 5; ++y) {
            const bool wall = x == 0 || y == 0 || x == 7 || y == 5;
            const std::string kind = wall ? "LAB_WALL" : "LAB_FLOOR";
            text += kind.substr(0, 4) + "\r\n" + kind.substr(4, 3) + "\r\n" + kind.substr(7) + "\r\n";
        }
    pack.write("WORLDS/T.ai42", text);
}

const std::string prepared_world = world_pack::pairs(
    {{"USESELFCREATEBASE", "0"}, {"APPENTRY", "WORLDS\\"}, {"APPSTART", "T"}});

}  // namespace

// A prepared world is a level like a generated one: the in-game keys work, the
// clock runs and ends the game, and a player who fixes a quarter of its floor
// wins it and plays it again as the next dimension.
TEST(WholeGame, APreparedWorldIsALevelToPlayAndWin) {
    // Up and down its four rows, one step down between them.
    const std::string walk = "10 keys Right\n50 keys Down\n55 keys Left\n95 keys Down\n"
                             "100 keys Right\n140 keys Down\n145 keys Left\n185 keys -\n";
    const struct {
        const char* what;
        std::string script;
        int end;
        const char* expect;
    } cases[] = {
        {"idle", held_return(3, 1), 400, " dimension=1 "},
        {"walked", held_return(3, 1) + walk, 400, " dimension=2 "},
        {"idle until the clock runs out", held_return(3, 1), 1000, " time_left=-1 "},
        {"paused for 500 frames", held_return(3, 1) + held_return(20, 1) + "520 keys X\n521 keys -\n",
         1000, " time_left=1 "},
    };
    for (const auto& c : cases) {
        temp_folder pack;
        write_game_pack(pack);
        write_prepared_world(pack);
        const replay_run run = play(pack, c.script, c.end, prepared_world);
        ASSERT_EQ(run.exit_code, 0) << run.line;
        EXPECT_NE(run.line.find(c.expect), std::string::npos) << c.what << ": " << run.line;
    }
}
