// Whole games replayed; ZORBEL_UPDATE_GOLDEN=1 rewrites the scripts' expect lines after a deliberate change.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "support/replay_pack.h"

using namespace replay_pack;

namespace {

namespace fs = std::filesystem;

// Level 1 of the small test pack, with a profiles folder, and `extra` pairs in ini.txt.
void write_game_pack(const temp_folder& folder, const std::string& extra = "") {
    fs::create_directories(folder.path() + "/PROFILES");
    write_replay_pack(folder, world_pack::pairs({{"PROFILES", "PROFILES\\"}}) + extra);
}

// Name and score of every profile saved in the pack but the placeholder.
std::vector<std::pair<std::string, std::string>> results(const temp_folder& pack) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(pack.path() + "/PROFILES"))
        if (entry.path().extension() == ".profile") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    std::vector<std::pair<std::string, std::string>> found;
    for (const std::string& file : files) {
        std::istringstream lines(file_text(file));
        std::vector<std::string> values;
        for (std::string key, value; std::getline(lines, key) && std::getline(lines, value);)
            values.push_back(value.ends_with('\r') ? value.substr(0, value.size() - 1) : value);
        if (values.size() >= 2 && values[0] != "DUMMY") found.push_back({values[0], values[1]});
    }
    return found;
}

const std::string scripts = std::string(ZORBEL_SOURCE_DIR) + "/tests/frontend/replays/";

// Return held from frame `from` for `frames` frames, then let go.
std::string held_return(int from, int frames = 1) {
    return std::to_string(from) + " keys Return\n" + std::to_string(from + frames) + " keys -\n";
}

// Frame lines played from seed 4 until frame `end`.
replay_run play(const temp_folder& pack, const std::string& lines, int end) {
    return run_replay(pack.write("script.txt", "seed 4\n" + lines + std::to_string(end) + " end\n"), pack.path());
}

}  // namespace

// Start to the title menu again through a game, a name and the table; played again: a second result.
TEST(WholeGame, APlayedGameEndsInTheTableWithItsResultStored) {
    temp_folder pack;
    write_game_pack(pack);
    const replay_run first = expect_recorded_line(scripts + "play_until_time_runs_out.txt", pack.path());
    const auto stored = results(pack);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, "ZOE");
    EXPECT_NE(first.line.find(" score=" + stored[0].second + " "), std::string::npos) << stored[0].second;
    EXPECT_NE(stored[0].second, "0");
    EXPECT_EQ(run_replay(scripts + "play_until_time_runs_out.txt", pack.path()).line, first.line);
    EXPECT_EQ(results(pack).size(), 2u);
}

// Escape and B end the program at once without points, after the name entry and table with points.
TEST(WholeGame, QuittingEndsTheProgramAfterANameEntryOnlyWithPoints) {
    const struct { const char* script; std::vector<std::string> names; } cases[] = {
        {"quit_without_points.txt", {}}, {"quit_with_points.txt", {"Q"}}};
    for (const auto& c : cases) {
        temp_folder pack;
        write_game_pack(pack);
        expect_recorded_line(scripts + c.script, pack.path());
        std::vector<std::string> names;
        for (const auto& [name, points] : results(pack)) names.push_back(name);
        EXPECT_EQ(names, c.names) << c.script;
    }
}

// However many pause menus a held Return stacked, Y and B quit (music off first: no gem on the start cell).
TEST(WholeGame, YAndBQuitFromPauseMenusStackedByAHeldReturn) {
    const std::string music_off_then_start = "3 keys S\n4 keys -\n6 keys Left\n7 keys -\n8 keys A\n9 keys -\n" + held_return(12);
    for (int held : {1, 3, 10, 20}) {
        temp_folder pack;
        write_game_pack(pack);
        const replay_run run =
            play(pack, music_off_then_start + held_return(50, held) + "80 keys Y\n82 keys -\n90 keys B\n100 keys -\n", 2000);
        ASSERT_EQ(run.exit_code, 0) << run.line;
        EXPECT_EQ(run.line.find("frames=2000 "), std::string::npos) << "Return held " << held << ": went on: " << run.line;
        EXPECT_NE(run.line.find(" score=0 "), std::string::npos) << run.line;
    }
}

// After the name entry the table and then the title each wait for a Return of their own.
TEST(WholeGame, TheTableAndTheTitleAfterTheNameEntryWaitForPressesOfTheirOwn) {
    const struct { int presses; const char* time_left; } cases[] = {{1, "-1"}, {2, "-1"}, {3, "1"}};   // 1: a new game
    for (const auto& c : cases) {
        temp_folder pack;
        write_game_pack(pack);
        std::string lines = held_return(3);
        for (int press = 0; press < c.presses; ++press) lines += held_return(640 + 30 * press, 10);
        const replay_run run = play(pack, lines, 760);
        ASSERT_EQ(run.exit_code, 0) << run.line;
        EXPECT_NE(run.line.find(std::string(" time_left=") + c.time_left + " "), std::string::npos)
            << c.presses << " presses: " << run.line;
        EXPECT_EQ(results(pack).size(), 1u) << c.presses << " presses";
    }
}

// One character per key: the text of a held key's repeats types nothing more.
TEST(WholeGame, AHeldKeyTypesOneLetter) {
    temp_folder pack;
    write_game_pack(pack);
    std::string lines = held_return(3) + "640 keys A text \"a\"\n";
    for (int frame = 641; frame < 670; ++frame) lines += std::to_string(frame) + " text \"a\"\n";
    const replay_run run = play(pack, lines + "670 keys -\n675 keys B text \"b\"\n676 keys -\n" + held_return(680, 3), 700);
    ASSERT_EQ(run.exit_code, 0) << run.line;
    const auto stored = results(pack);
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].first, "AB");
}

// A prepared world (wall round a floor of 6 x 4) is a level: keys work, the clock ends the game, a win goes on.
TEST(WholeGame, APreparedWorldIsALevelToPlayAndWin) {
    std::string world = "world\r\n7\r\n5\r\n-\r\n-\r\n";
    for (int x = 0; x <= 7; ++x)
        for (int y = 0; y <= 5; ++y)
            world += x == 0 || y == 0 || x == 7 || y == 5 ? "LAB_\r\nWAL\r\nL\r\n" : "LAB_\r\nFLO\r\nOR\r\n";
    // Up and down its four rows, one step down between them.
    const std::string walk = "10 keys Right\n50 keys Down\n55 keys Left\n95 keys Down\n"
                             "100 keys Right\n140 keys Down\n145 keys Left\n185 keys -\n";
    const struct { const char* what; std::string lines; int end; const char* expect; } cases[] = {
        {"idle", held_return(3), 400, " dimension=1 "},
        {"walked", held_return(3) + walk, 400, " dimension=2 "},
        {"idle until the clock runs out", held_return(3), 1000, " time_left=-1 "},
        {"paused for 500 frames", held_return(3) + held_return(20) + "520 keys X\n521 keys -\n", 1000, " time_left=1 "},
    };
    for (const auto& c : cases) {
        temp_folder pack;
        write_game_pack(pack, world_pack::pairs({{"USESELFCREATEBASE", "0"}, {"APPENTRY", "WORLDS\\"}, {"APPSTART", "T"}}));
        pack.write("WORLDS/T.ai42", world);
        const replay_run run = play(pack, c.lines, c.end);
        ASSERT_EQ(run.exit_code, 0) << run.line;
        EXPECT_NE(run.line.find(c.expect), std::string::npos) << c.what << ": " << run.line;
    }
}
