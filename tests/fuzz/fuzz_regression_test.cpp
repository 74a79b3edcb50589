// The inputs the fuzz targets found (and a few made by hand at the edges of
// each format), fed again through the same readers: tests/fuzz/inputs/<reader>/.
// In the sanitizer build (scripts/sanitize.sh) each is checked for memory
// errors and undefined behaviour too.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "fuzz/fuzz_inputs.h"
#include "world/world.h"

namespace {

namespace fs = std::filesystem;
using feeder = void (*)(const uint8_t*, size_t);

std::vector<fs::path> inputs_of(const std::string& reader) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(fs::path(ZORBEL_FUZZ_INPUTS) / reader))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string bytes_of(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class fuzz_regressions : public testing::Test {
protected:
    static void SetUpTestSuite() { fuzz::use_pack(ZORBEL_DATA_FOLDER); }

    // Every input of the reader; `after` looks at what each one left.
    template <typename Check>
    void feed_every_input(const std::string& reader, feeder feed, Check after) {
        const std::vector<fs::path> files = inputs_of(reader);
        ASSERT_FALSE(files.empty()) << "no inputs for " << reader;
        for (const fs::path& file : files) {
            SCOPED_TRACE(file.string());
            const std::string bytes = bytes_of(file);
            feed(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            after();
        }
    }
    void feed_every_input(const std::string& reader, feeder feed) {
        feed_every_input(reader, feed, [] {});
    }
};

void level_inside_matrix() {
    EXPECT_GE(level_last_x, 0);
    EXPECT_GE(level_last_y, 0);
    EXPECT_LE(level_last_x, max_level_extent);
    EXPECT_LE(level_last_y, max_level_extent);
}

TEST_F(fuzz_regressions, configuration_reader) {
    feed_every_input("configuration", fuzz::feed_configuration);
}

TEST_F(fuzz_regressions, tile_definition_reader) {
    feed_every_input("tile_definition", fuzz::feed_tile_definition);
}

TEST_F(fuzz_regressions, object_definition_reader) {
    feed_every_input("object_definition", fuzz::feed_object_definition);
}

TEST_F(fuzz_regressions, level_base_reader_keeps_levels_inside_the_matrix) {
    feed_every_input("level_base", fuzz::feed_level_base, level_inside_matrix);
}

TEST_F(fuzz_regressions, world_and_alpha_readers_keep_levels_inside_the_matrix) {
    feed_every_input("world", fuzz::feed_world, level_inside_matrix);
}

TEST_F(fuzz_regressions, profile_reader) { feed_every_input("profile", fuzz::feed_profile); }

}  // namespace
