// What the fuzz targets found, fed again through the same readers (tests/fuzz/inputs/<reader>/).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/fuzz_inputs.h"
#include "world/level_state.h"
#include "world/world.h"

namespace fs = std::filesystem;

TEST(FuzzRegressions, EveryInputReadsAgainAndLevelsStayInsideTheMatrix) {
    fuzz::use_pack(ZORBEL_DATA_FOLDER);
    const struct { const char* reader; void (*feed)(const uint8_t*, size_t); bool level; } readers[] = {
        {"configuration", fuzz::feed_configuration, false},
        {"tile_definition", fuzz::feed_tile_definition, false},
        {"object_definition", fuzz::feed_object_definition, false},
        {"level_base", fuzz::feed_level_base, true},
        {"world", fuzz::feed_world, true},   // world and alpha readers
        {"profile", fuzz::feed_profile, false}};
    for (const auto& r : readers) {
        std::vector<fs::path> files;
        for (const auto& entry : fs::directory_iterator(fs::path(ZORBEL_FUZZ_INPUTS) / r.reader))
            if (entry.is_regular_file()) files.push_back(entry.path());
        std::sort(files.begin(), files.end());
        EXPECT_FALSE(files.empty()) << "no inputs for " << r.reader;
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::string bytes{std::istreambuf_iterator<char>(in), {}};
            r.feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            if (!r.level) continue;
            EXPECT_TRUE(level_last_x >= 0 && level_last_x <= max_level_extent) << file << ": " << level_last_x;
            EXPECT_TRUE(level_last_y >= 0 && level_last_y <= max_level_extent) << file << ": " << level_last_y;
        }
    }
}
