// Player profiles: the format to the byte, the placeholder, hand-made and bad files, a full disk, a crash.
#include <unistd.h>

#include <map>
#include <regex>

#include "front_end_fixture.h"

using namespace front;

namespace {

using Profiles = FrontEnd;

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

// Every file of a folder with its bytes, to see that nothing changed.
std::map<std::string, std::string> contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder)) files[entry.path().filename().string()] = file_text(entry.path());
    return files;
}

}  // namespace

TEST_F(Profiles, ASavedResultIsWrittenToTheByte) {
    // 75,321 ms after start-up: the base name reads 75321, 1 minute, 15 seconds, then the clock itself.
    sleep_ms(75321);
    const std::string clock_now = std::to_string(milliseconds());
    score = 120;
    ASSERT_TRUE(save_profile("AB"));
    ASSERT_EQ(files_ending(".profile").size(), 1u);
    const std::string name = files_ending(".profile").front();
    EXPECT_EQ(stem(name), "75321" "1" "15" + clock_now);
    const std::string text = folder.read("PROFILES/" + name);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 9) << "every line break is CR LF, none after the last";
    const std::vector<std::string> lines = split_crlf(text);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7),
              (std::vector<std::string>{"USERNAME", "AB", "USERSCORE", "120", "USERGAMERSCORE", "0", "GLOBALSIGNATURE"}));
    EXPECT_EQ(lines[8], "LOCALSIGNATURE");
    // The base name, then the clock plus a random part of the clock.
    EXPECT_TRUE(std::regex_match(lines[7], std::regex(stem(name) + "[0-9]+"))) << lines[7];
    // 000, then each letter's code plus 1 to 6: A is 65, B 66.
    EXPECT_TRUE(std::regex_match(lines[9], std::regex("000(06[6-9]|07[01])(06[7-9]|07[0-2])"))) << lines[9];
    ASSERT_EQ(files_ending(".prof"), std::vector<std::string>{stem(name) + ".prof"});
    EXPECT_EQ(folder.read("PROFILES/" + stem(name) + ".prof"), std::to_string(text.size()) + "\r\n");
}

TEST_F(Profiles, TheFirstStartWritesOnePlaceholderThatIsNeverListed) {
    scan_profiles();
    ASSERT_TRUE(init_profiles());
    ASSERT_EQ(files_ending(".profile").size(), 1u);
    const std::vector<std::string> lines = split_crlf(folder.read("PROFILES/" + files_ending(".profile").front()));
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(std::tuple(lines[1], lines[3]), std::tuple("DUMMY", "-1000000"));
    EXPECT_EQ(profiles.size(), 1u) << "listed, not loaded";
    // The next start finds it, loads it and drops it: an empty table.
    scan_profiles();
    ASSERT_TRUE(init_profiles());
    EXPECT_EQ(std::tuple(profiles.size(), highscore_best), std::tuple(0u, 0));
    EXPECT_EQ(files_ending(".profile").size(), 1u) << "no second placeholder";
}

TEST_F(Profiles, ResultsOfZeroOrLessAreKeptOnDiskButNotListed) {
    // All three in the same millisecond: each gets a name of its own.
    for (int32_t points : {0, -7, 40}) {
        score = points;
        ASSERT_TRUE(save_profile("P" + std::to_string(points)));
    }
    EXPECT_EQ(files_ending(".profile").size(), 3u);
    scan_profiles();
    load_profiles();
    EXPECT_EQ(names_of(profiles), std::vector<std::string>{"P40"});
    EXPECT_EQ(highscore_best, 40);
}

// Read by their keys; folders and 2 GB files with the profiles' ending are
// passed over or read no further than the reader's limit.
TEST_F(Profiles, HandMadeFilesAreReadByTheirKeys) {
    folder.write("PROFILES/1.profile", "USERSCORE\r\n  -5\r\nUSERNAME\r\nNEG");
    folder.write("PROFILES/2.profile", "USERNAME\r\nLAST\r\nUSERSCORE");
    folder.write("PROFILES/3.profile", "OTHER\r\nx\r\nUSERNAME\r\nTAB\r\nUSERSCORE\r\n\t+77\r\nUSERAVATAR\r\nface.png");
    // The last pair wins, but the best score saw the first one too.
    folder.write("PROFILES/4.profile", "USERSCORE\r\n300abc\nUSERSCORE\n12\nUSERNAME\nLF");
    folder.write("PROFILES/notes.txt", "USERSCORE\r\n999");
    fs::create_directories(folder.path() + "/PROFILES/folder.profile");
    ASSERT_EQ(truncate(folder.write("PROFILES/huge.profile", "").c_str(), 2LL << 30), 0);
    scan_profiles();
    EXPECT_EQ(profiles.size(), 5u) << "files named .profile only";
    load_profiles();
    EXPECT_EQ(names_of(profiles), (std::vector<std::string>{"TAB", "LF"})) << "the huge file holds no score";
    EXPECT_EQ(std::tuple(profiles[0].profile_score, profiles[0].profile_avatar, profiles[1].profile_score, highscore_best),
              std::tuple(77, cfg_profiles + "face.png", 12, 300));
}

// A full disk mid-save loses the new result whole and only it; with room again a save is whole.
TEST_F(Profiles, ADiskThatFillsDuringASaveLosesTheNewResultOnly) {
    score = 50;
    ASSERT_TRUE(save_profile("OLD"));
    const auto before = contents(folder.path() + "/PROFILES");
    ASSERT_EQ(before.size(), 2u);
    sleep_ms(5);
    score = 70;
    simulate_full_disk_after(20);
    EXPECT_FALSE(save_profile("NEW"));
    simulate_full_disk_after(-1);
    EXPECT_EQ(contents(folder.path() + "/PROFILES"), before) << "no part of the new file is left";
    sleep_ms(5);
    EXPECT_TRUE(save_profile("NEW"));
    scan_profiles();
    load_profiles();
    EXPECT_EQ(profiles.size(), 2u);
}

