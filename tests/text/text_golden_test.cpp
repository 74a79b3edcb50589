// One line in the shipped font, drawn by `zorbel-tool text`, against a golden
// picture. After a deliberate change to the font or to how text is drawn,
// write the picture again with
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_text --gtest_filter='text_golden*'
// and look at tests/text/golden/line.png before committing it.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/media.h"
#include "support/test_support.h"

namespace {

// A picture as 0xRRGGBB values, row by row from the top.
struct picture {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

uint32_t little_endian(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(k)]);
    return value;
}

// Sprites cannot be read back, but a sprite loaded from a file is saved as a
// 24-bit BMP with its pixels as loaded, and that format is simple to read.
picture pixels_of(const std::string& png, const temp_folder& folder) {
    picture out;
    int sprite = load_sprite(png, false);
    if (!sprite) return out;
    const std::string bmp = folder.path() + "/pixels.bmp";
    bool saved = save_sprite_bmp(sprite, bmp);
    free_sprite(sprite);
    if (!saved) return out;
    const std::string bytes = folder.read("pixels.bmp");
    if (bytes.size() < 54 || little_endian(bytes, 28, 2) != 24) return out;
    const size_t start = little_endian(bytes, 10, 4);
    const int width = static_cast<int>(little_endian(bytes, 18, 4));
    const int height = static_cast<int>(little_endian(bytes, 22, 4));   // bottom-up
    const size_t row = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
    if (width <= 0 || height <= 0 || bytes.size() < start + row * static_cast<size_t>(height))
        return out;
    out.width = width;
    out.height = height;
    for (int y = 0; y < height; ++y) {
        const size_t line = start + row * static_cast<size_t>(height - 1 - y);
        for (int x = 0; x < width; ++x)
            out.pixels.push_back(little_endian(bytes, line + static_cast<size_t>(x) * 3, 3));
    }
    return out;
}

TEST(text_golden, a_line_in_the_shipped_font_matches_the_golden_picture) {
    temp_folder folder;
    const std::string drawn = folder.path() + "/line.png";
    const std::string golden = ZORBEL_SOURCE_DIR "/tests/text/golden/line.png";
    // Counters, digits, the symbol glyphs (bomb, heart, life) and a Latin-1 letter.
    command_result run = run_command(std::string(ZORBEL_TOOL) + " text '" ZORBEL_SOURCE_DIR
                                     "/data' ' SCORE 12345 TIME 59 CRITICAL MASS 108 &\xC3\x84@|' '" +
                                     drawn + "'");
    ASSERT_EQ(run.exit_code, 0) << run.out;
    if (std::getenv("ZORBEL_UPDATE_GOLDEN")) {
        std::filesystem::copy_file(drawn, golden,
                                   std::filesystem::copy_options::overwrite_existing);
        GTEST_SKIP() << "wrote " << golden;
    }

    // Without the screen service no colour key is set; one would blank the
    // same pixels in both pictures anyway.
    register_decoders();
    const picture want = pixels_of(golden, folder);
    const picture got = pixels_of(drawn, folder);
    shutdown_media();
    ASSERT_GT(want.width, 0) << "cannot read " << golden;
    ASSERT_EQ(got.width, want.width);
    ASSERT_EQ(got.height, want.height);
    int differing = 0;
    std::string first;
    for (size_t i = 0; i < want.pixels.size(); ++i) {
        if (got.pixels[i] == want.pixels[i]) continue;
        if (differing++ == 0) {
            char where[96];
            std::snprintf(where, sizeof where, "first at (%zu, %zu): %06X, golden %06X",
                          i % static_cast<size_t>(want.width), i / static_cast<size_t>(want.width),
                          got.pixels[i], want.pixels[i]);
            first = where;
        }
    }
    if (differing == 0) return;
    const auto kept = std::filesystem::temp_directory_path() / "zorbel-text-line.png";
    std::filesystem::copy_file(drawn, kept, std::filesystem::copy_options::overwrite_existing);
    ADD_FAILURE() << differing << " pixels differ, " << first << "; the new picture is " << kept;
}

}  // namespace
