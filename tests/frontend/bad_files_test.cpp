// Bad files on disk: whatever the folders hold, the game starts, plays and ends.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/replay_pack.h"

namespace fs = std::filesystem;

TEST(BadFiles, TheShippedPackWithBadFilesOfEveryKindStartsPlaysAndEnds) {
    temp_folder folder;
    const std::string pack = folder.path() + "/pack";
    // The shipped pack with one bad file of each kind, the game's own folders as a player could leave them.
    fs::copy(std::string(ZORBEL_SOURCE_DIR) + "/data", pack, fs::copy_options::recursive);
    for (const char* name : {"SCREENSHOTS", "PROFILES", "LOG"}) fs::remove_all(pack + "/" + name);
    // Pictures and Ogg sounds that are neither, of each kind the game loads.
    for (const char* file : {"GFX/TILES/floor.png", "GFX/OBJECTS/gem.png", "GFX/cursor.png", "GFX/FONT/A.png",
                             "GFX/FLOAT/ring_blue.png", "GFX/menu.png", "GFX/glass.png", "SFX/step.ogg",
                             "SFX/credits1.ogg", "MUSIC/menu.ogg", "MUSIC/ingame1.ogg"})
        std::ofstream(pack + "/" + file, std::ios::trunc) << "this is not what its name says";
    fs::resize_file(pack + "/MUSIC/ingame2.ogg", 300);   // cut short after its first page
    // 2 GB files, sparse: definitions of a tile kind and an object, a tile image, a sound and a music track.
    for (const char* huge : {"DATA/TILES/ZORBEL/LAB_GREEN", "GFX/OBJECTS/coin.dll", "GFX/TILES/wall.png",
                             "SFX/timer.ogg", "MUSIC/ingame3.ogg"})
        std::ofstream(pack + "/" + huge, std::ios::trunc).close(), fs::resize_file(pack + "/" + huge, 2LL << 30);
    // Folders where files should be.
    for (const char* file : {"DATA/TILES/ZORBEL/LAB_WATER", "SFX/swap.ogg", "GFX/OBJECTS/switch.dll",
                             "GFX/credits1.png", "DATA/highscore.txt", "LOG/zorbel.log"}) {
        fs::remove_all(pack + "/" + file);
        fs::create_directories(pack + "/" + file);
    }
    std::ofstream(pack + "/PROFILES") << "not a folder";   // nothing can be written there
    // Past the credits into play; a screenshot, a walk, the pause menu and out.
    const std::string script = folder.write("script.txt",
        "seed 5\n3 keys Return\n4 keys -\n40 keys F12\n41 keys -\n50 keys Right\n110 keys Down\n170 keys -\n"
        "200 keys Return\n201 keys -\n230 keys X\n231 keys -\n400 end\n");
    const replay_pack::replay_run run = replay_pack::run_replay(script, pack);
    EXPECT_EQ(run.exit_code, 0) << run.out;
    rusage used;
    getrusage(RUSAGE_CHILDREN, &used);
    EXPECT_LT(used.ru_maxrss, 1L << 20) << "peak resident kB: no reader took a 2 GB file into memory";
    EXPECT_TRUE(run.line.starts_with("replay frames=400 dimension=1 ")) << run.out;
    EXPECT_FALSE(fs::exists(pack + "/SCREENSHOTS"));
    EXPECT_EQ(file_text(pack + "/PROFILES"), "not a folder");
    EXPECT_TRUE(fs::is_empty(pack + "/LOG/zorbel.log"));
}

