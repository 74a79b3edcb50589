// Player profiles: the file format to the byte, the placeholder, reading
// hand-made files, and results that survive a crash in the middle of a save.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <regex>

#include "front_end_fixture.h"

using namespace front;

namespace {

using profiles_folder = front_end;

std::vector<std::string> split_crlf(const std::string& text) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + 2;
    }
    parts.push_back(text.substr(start));
    return parts;
}

std::string stem(const std::string& file_name) { return file_name.substr(0, file_name.find('.')); }

std::vector<std::string> names_of(const std::vector<profile>& list) {
    std::vector<std::string> names;
    for (const profile& p : list) names.push_back(p.profile_name);
    return names;
}

}  // namespace

TEST_F(profiles_folder, a_saved_result_is_written_to_the_byte) {
    // 75,321 ms after start-up: the base name reads 75321, 1 minute, 15 seconds,
    // then the clock itself.
    sleep_ms(75321);
    const std::string clock_now = std::to_string(milliseconds());
    score = 120;
    ASSERT_TRUE(save_profile("AB"));

    ASSERT_EQ(files_ending(".profile").size(), 1u);
    const std::string name = files_ending(".profile").front();
    EXPECT_EQ(stem(name), "75321" "1" "15" + clock_now);
    const std::string text = folder.read("PROFILES/" + name);
    EXPECT_NE(text.substr(text.size() - 2), "\r\n") << "no line end after the last line";
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9) << "every line break is CR LF";
    const std::vector<std::string> lines = split_crlf(text);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7),
              (std::vector<std::string>{"USERNAME", "AB", "USERSCORE", "120", "USERGAMERSCORE",
                                        "0", "GLOBALSIGNATURE"}));
    EXPECT_EQ(lines[8], "LOCALSIGNATURE");
    // The base name, then the clock plus a random part of the clock.
    EXPECT_TRUE(std::regex_match(lines[7], std::regex(stem(name) + "[0-9]+"))) << lines[7];
    // 000, then each letter's code plus 1 to 6: A is 65, B 66.
    EXPECT_TRUE(std::regex_match(lines[9], std::regex("000(06[6-9]|07[01])(06[7-9]|07[0-2])")))
        << lines[9];

    ASSERT_EQ(files_ending(".prof"), std::vector<std::string>{stem(name) + ".prof"});
    EXPECT_EQ(folder.read("PROFILES/" + stem(name) + ".prof"),
              std::to_string(text.size()) + "\r\n");
}

TEST_F(profiles_folder, the_first_start_writes_one_placeholder_that_is_never_listed) {
    scan_profiles();
    ASSERT_TRUE(init_profiles());
    ASSERT_EQ(files_ending(".profile").size(), 1u);
    EXPECT_EQ(files_ending(".prof").size(), 1u);
    const std::vector<std::string> lines =
        split_crlf(folder.read("PROFILES/" + files_ending(".profile").front()));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[1], "DUMMY");
    EXPECT_EQ(lines[3], "-1000000");
    EXPECT_EQ(lines[5], "-100000");
    EXPECT_EQ(lines[9], "000000000000000000");
    EXPECT_EQ(profiles.size(), 1u) << "listed, not loaded";

    // The next start finds it, loads it and drops it: an empty table.
    scan_profiles();
    ASSERT_TRUE(init_profiles());
    EXPECT_TRUE(profiles.empty());
    EXPECT_EQ(highscore_best, 0);
    EXPECT_EQ(files_ending(".profile").size(), 1u) << "no second placeholder";
    sort_score_table();
    ASSERT_EQ(score_table.size(), 1u);
    EXPECT_EQ(score_table[0].profile_name, "");
    EXPECT_EQ(score_table[0].profile_score, 0);
}

TEST_F(profiles_folder, results_of_zero_or_less_are_kept_on_disk_but_not_listed) {
    // All three in the same millisecond: each gets a name of its own.
    for (int32_t points : {0, -7, 40}) {
        score = points;
        ASSERT_TRUE(save_profile("P" + std::to_string(points)));
    }
    EXPECT_EQ(files_ending(".profile").size(), 3u);
    EXPECT_EQ(files_ending(".prof").size(), 3u);
    scan_profiles();
    load_profiles();
    EXPECT_EQ(names_of(profiles), std::vector<std::string>{"P40"});
    EXPECT_EQ(highscore_best, 40);
}

TEST_F(profiles_folder, hand_made_files_are_read_by_their_keys) {
    folder.write("PROFILES/1.profile", "USERSCORE\r\n  -5\r\nUSERNAME\r\nNEG");
    folder.write("PROFILES/2.profile", "USERNAME\r\nLAST\r\nUSERSCORE");
    folder.write("PROFILES/3.profile",
                 "OTHER\r\nx\r\nUSERNAME\r\nTAB\r\nUSERSCORE\r\n\t+77\r\nUSERAVATAR\r\nface.png");
    // The last pair wins, but the best score saw the first one too.
    folder.write("PROFILES/4.profile", "USERSCORE\r\n300abc\nUSERSCORE\n12\nUSERNAME\nLF");
    folder.write("PROFILES/5.profile", "USERNAME\r\nWORDS\r\nUSERSCORE\r\nmany\r\n");
    folder.write("PROFILES/notes.txt", "USERSCORE\r\n999");
    fs::create_directories(folder.path() + "/PROFILES/folder.profile");
    scan_profiles();
    EXPECT_EQ(profiles.size(), 5u) << "files named .profile only";
    load_profiles();
    EXPECT_EQ(names_of(profiles), (std::vector<std::string>{"TAB", "LF"}));
    EXPECT_EQ(profiles[0].profile_score, 77);
    EXPECT_EQ(profiles[0].profile_avatar, cfg_profiles + "face.png");
    EXPECT_EQ(profiles[1].profile_score, 12);
    EXPECT_EQ(highscore_best, 300);
}

TEST_F(profiles_folder, nothing_is_written_where_the_folder_is_missing) {
    cfg_profiles = folder.path() + "/missing/";
    score = 10;
    EXPECT_FALSE(save_profile("X"));
    scan_profiles();
    EXPECT_FALSE(init_profiles()) << "start-up reports it";
    EXPECT_FALSE(fs::exists(folder.path() + "/missing"));
}

// The game dies in the middle of writing a profile: a file size limit kills
// it (SIGXFSZ) once 40 bytes of the file are written.
TEST_F(profiles_folder, a_save_killed_mid_write_leaves_no_profile_and_the_older_ones_intact) {
    score = 5;
    ASSERT_TRUE(save_profile("OLD"));
    const std::vector<std::string> before = files_ending(".profile");
    const std::string old_text = folder.read("PROFILES/" + before.front());

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        rlimit limit{40, 40};
        setrlimit(RLIMIT_FSIZE, &limit);
        score = 123456;
        save_profile("A NAME LONG ENOUGH");
        std::_Exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << "died writing";

    EXPECT_EQ(files_ending(".profile"), before);
    EXPECT_EQ(folder.read("PROFILES/" + before.front()), old_text);
    scan_profiles();
    load_profiles();
    EXPECT_EQ(names_of(profiles), std::vector<std::string>{"OLD"});
}
