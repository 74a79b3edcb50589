// Bad files on disk: whatever the folders hold, the game starts, plays and
// ends as designed, and no result saved before is lost.
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <regex>

#include "front_end_fixture.h"

using namespace front;

namespace {

using bad_profiles = front_end;

std::string file_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every file of a folder with its bytes, to see that nothing changed.
std::map<std::string, std::string> contents(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = file_text(entry.path().string());
    return files;
}

void sparse(const std::string& path, long long bytes) {
    fs::remove_all(path);
    std::ofstream(path).close();
    ASSERT_EQ(truncate(path.c_str(), bytes), 0);
}

}   // namespace

// A profiles "folder" that is a file cannot be listed or written: no
// placeholder, no result, no message beyond the stored status, no crash.
TEST_F(bad_profiles, a_profiles_folder_that_cannot_be_written_keeps_the_game_going) {
    const std::string not_a_folder = folder.write("PROFILES_FILE", "a file, not a folder");
    cfg_profiles = not_a_folder + "/";
    scan_profiles();
    EXPECT_FALSE(init_profiles());
    score = 120;
    EXPECT_FALSE(save_profile("AB"));
    EXPECT_TRUE(profiles.empty());
    EXPECT_EQ(file_text(not_a_folder), "a file, not a folder");
}

// The disk fills in the middle of a save: the new result is not there at all,
// and the one saved before is there to the byte.
TEST_F(bad_profiles, a_disk_that_fills_during_a_save_loses_the_new_result_only) {
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

    // With room again the next save is whole, beside the old one.
    sleep_ms(5);
    EXPECT_TRUE(save_profile("NEW"));
    EXPECT_EQ(files_ending(".profile").size(), 2u);
    EXPECT_EQ(files_ending(".prof").size(), 2u);
    scan_profiles();
    load_profiles();
    EXPECT_EQ(profiles.size(), 2u);
    EXPECT_EQ(highscore_best, 70);
}

// Folders and 2 GB files with the profiles' ending are passed over or read
// no further than the reader's limit.
TEST_F(bad_profiles, profiles_that_are_folders_or_huge_are_passed_over) {
    score = 30;
    ASSERT_TRUE(save_profile("KEPT"));
    fs::create_directories(folder.path() + "/PROFILES/folder.profile");
    sparse(folder.path() + "/PROFILES/huge.profile", 2LL << 30);
    scan_profiles();
    EXPECT_EQ(profiles.size(), 2u) << "the folder is not listed";
    load_profiles();
    ASSERT_EQ(profiles.size(), 1u) << "the huge file holds no score";
    EXPECT_EQ(profiles[0].profile_name, "KEPT");
}

namespace {

const std::string shipped = std::string(ZORBEL_SOURCE_DIR) + "/data";

// The shipped pack with one bad file of each kind, the game's own folders
// as a player could leave them.
void write_bad_pack(const std::string& pack) {
    fs::copy(shipped, pack, fs::copy_options::recursive);
    fs::remove_all(pack + "/SCREENSHOTS");
    fs::remove_all(pack + "/PROFILES");
    fs::remove_all(pack + "/LOG");
    // Pictures that are no pictures: a tile, an object, the marker, a glyph,
    // a drifting image, the menu background, the overlay.
    for (const char* image :
         {"GFX/TILES/floor.png", "GFX/OBJECTS/gem.png", "GFX/cursor.png", "GFX/FONT/A.png",
          "GFX/FLOAT/ring_blue.png", "GFX/menu.png", "GFX/glass.png"})
        std::ofstream(pack + "/" + image, std::ios::trunc) << "this is no picture";
    // Sounds that are no Ogg files: a step, a credits sound, menu and play music;
    // and one cut short after its first page.
    for (const char* sound :
         {"SFX/step.ogg", "SFX/credits1.ogg", "MUSIC/menu.ogg", "MUSIC/ingame1.ogg"})
        std::ofstream(pack + "/" + sound, std::ios::trunc) << "this is no sound";
    fs::resize_file(pack + "/MUSIC/ingame2.ogg", 300);
    // 2 GB files, sparse: definitions of a tile kind and an object, a tile
    // image, a sound and a music track.
    for (const char* huge : {"DATA/TILES/ZORBEL/LAB_GREEN", "GFX/OBJECTS/coin.dll",
                             "GFX/TILES/wall.png", "SFX/timer.ogg", "MUSIC/ingame3.ogg"})
        sparse(pack + "/" + huge, 2LL << 30);
    // Folders where files should be.
    for (const char* file : {"DATA/TILES/ZORBEL/LAB_WATER", "SFX/swap.ogg",
                             "GFX/OBJECTS/switch.dll", "GFX/credits1.png", "DATA/highscore.txt"}) {
        fs::remove_all(pack + "/" + file);
        fs::create_directories(pack + "/" + file);
    }
    // A profiles folder that is a file: nothing can be written there.
    std::ofstream(pack + "/PROFILES") << "not a folder";
    // No screenshot folder, and a log that is a folder.
    fs::create_directories(pack + "/LOG/zorbel.log");
}

}   // namespace

TEST(BadFiles, TheShippedPackWithBadFilesOfEveryKindStartsPlaysAndEnds) {
    temp_folder folder;
    const std::string pack = folder.path() + "/pack";
    write_bad_pack(pack);
    // Past the credits into play; a screenshot, a walk, the pause menu and out.
    folder.write("script.txt",
                 "seed 5\n3 keys Return\n4 keys -\n40 keys F12\n41 keys -\n50 keys Right\n"
                 "110 keys Down\n170 keys -\n200 keys Return\n201 keys -\n230 keys X\n"
                 "231 keys -\n400 end\n");
    command_result run = run_command(
        std::string(ZORBEL_BINARY) + " --replay '" + folder.path() + "/script.txt'", pack);
    EXPECT_EQ(run.exit_code, 0) << run.out;
    // No reader took the 2 GB files into memory.
    rusage used;
    getrusage(RUSAGE_CHILDREN, &used);
    EXPECT_LT(used.ru_maxrss, 1L << 20) << "peak resident kB of the game";
    EXPECT_TRUE(std::regex_search(run.out, std::regex("replay frames=400 dimension=1 ")))
        << run.out;
    EXPECT_FALSE(fs::exists(pack + "/SCREENSHOTS"));
    EXPECT_EQ(file_text(pack + "/PROFILES"), "not a folder");
    EXPECT_TRUE(fs::is_empty(pack + "/LOG/zorbel.log"));

    // The checker finds the same files.
    command_result check = run_command(std::string(ZORBEL_TOOL) + " check-data '" + pack + "'");
    EXPECT_EQ(check.exit_code, 1);
    for (const char* named :
         {"LAB_WATER: is a folder", "coin.dll: is larger than 16 MiB",
          "switch.png: its definition GFX/OBJECTS/switch.dll is a folder",
          "GFX/credits1.png is a folder", "the profile folder PROFILES/ is a file",
          "SWAPSOUND names SFX/swap.ogg, which is a folder"})
        EXPECT_NE(check.out.find(named), std::string::npos) << named << "\n" << check.out;
}

// A folder where the configuration, the level base file or the world file
// should be: the designed message, and the program ends in order.
TEST(BadFiles, AFolderWhereAStartUpFileShouldBeGivesItsMessage) {
    const struct {
        const char* folder;
        const char* setting;   // a changed line of ini.txt, or none
        const char* message;
    } cases[] = {
        {"DATA/ini.txt", nullptr, "ERROR : Could not open "},
        {"DATA/level.base", nullptr, "ERROR :  Could not open:"},
        {"WORLDS/ZORBEL.ai42", "USESELFCREATEBASE", "ERROR :  Could not open topographic data"},
    };
    for (const auto& c : cases) {
        temp_folder folder;
        const std::string pack = folder.path() + "/pack";
        fs::copy(shipped, pack, fs::copy_options::recursive);
        if (c.setting) {
            std::string ini = file_text(pack + "/DATA/ini.txt");
            const std::string line = std::string(c.setting) + "\r\n1\r\n";
            ini.replace(ini.find(line), line.size(), std::string(c.setting) + "\r\n0\r\n");
            std::ofstream(pack + "/DATA/ini.txt", std::ios::trunc) << ini;
        }
        fs::remove_all(pack + "/" + c.folder);
        fs::create_directories(pack + "/" + c.folder);
        folder.write("script.txt", "3 keys Return\n4 keys -\n30 end\n");
        command_result run = run_command(
            std::string(ZORBEL_BINARY) + " --replay '" + folder.path() + "/script.txt'", pack);
        EXPECT_EQ(run.exit_code, 0) << c.folder << "\n" << run.out;
        EXPECT_NE(run.out.find(c.message), std::string::npos) << c.folder << "\n" << run.out;
    }
}
