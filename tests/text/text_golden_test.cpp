// One line in the shipped font, drawn by `zorbel-tool text`, against a golden
// picture. After a deliberate change to the font or to how text is drawn,
// write the picture again with
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_text --gtest_filter='text_golden*'
// and look at tests/text/golden/line.png before committing it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/media.h"
#include "support/test_support.h"

namespace {

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
