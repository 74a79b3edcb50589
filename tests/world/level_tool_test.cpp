// `zorbel-tool level` on a small pack, for three seeds, against golden dumps.
// After a deliberate change to the builders, rewrite them with
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_world --gtest_filter='LevelTool*'
// and review the diff.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/world_pack.h"

using namespace world_pack;

namespace {

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void write_tool_pack(const temp_folder& folder, int seed) {
    write_level_pack(folder);
    folder.write("DATA/level.base", read_text(std::string(ZORBEL_SOURCE_DIR) +
                                              "/data/DATA/level.base"));
    folder.write("DATA/ini.txt",
                 pairs({{"RESBASEW", "320"}, {"RESBASEH", "240"}, {"RESOLUTION", "16"},
                        {"MAPSIZE", "40"}, {"WORLDRANDOM", std::to_string(seed)},
                        {"USESELFCREATEBASE", "1"}, {"SELFCREATEBASE", "DATA\\level.base"},
                        {"RGBCODEPATH", "DATA\\TILES\\"}, {"APPSTART", "T"},
                        {"TOPOGFX", "GFX\\TILES\\"}, {"GFXCODEC", ".png"},
                        {"WORLDGFX", "GFX\\OBJECTS\\"}, {"CURSOR", "GFX\\cursor.png"},
                        {"USESPRITE3D", "1"}, {"LABSWITCH", "3"}, {"MAXFOE", "3"},
                        {"MULTICORE", "0"}}));
}

}  // namespace

TEST(LevelTool, GoldenDumpsForThreeSeeds) {
    const bool update = std::getenv("ZORBEL_UPDATE_GOLDEN") != nullptr;
    for (int seed : {7, 99, 2026}) {
        temp_folder folder;
        write_tool_pack(folder, seed);
        command_result run = run_command(std::string(ZORBEL_TOOL) + " level . 3", folder.path());
        ASSERT_EQ(run.exit_code, 0) << run.out;
        const std::string golden = std::string(ZORBEL_SOURCE_DIR) + "/tests/world/golden/tool_seed_" +
                                   std::to_string(seed) + ".txt";
        // The tool prints the level and nothing else; start-up chatter goes elsewhere.
        const std::string dump = run.out.substr(run.out.find("size "));
        if (update) {
            std::ofstream(golden, std::ios::binary | std::ios::trunc) << dump;
            continue;
        }
        EXPECT_EQ(dump, read_text(golden)) << "seed " << seed << " differs from " << golden;
    }
}
