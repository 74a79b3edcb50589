// Rewrite after a deliberate change: ZORBEL_UPDATE_GOLDEN=1 build/tests/test_text, then look.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/media.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(TextGolden, ALineInTheShippedFontMatchesTheGoldenPicture) {
    temp_folder folder;
    const std::string drawn = folder.path() + "/line.png", golden = ZORBEL_SOURCE_DIR "/tests/text/golden/line.png";
    const std::string tool = std::string(ZORBEL_TOOL) + " text '" ZORBEL_SOURCE_DIR "/data' ";
    // Counters, digits, the symbol glyphs (bomb, heart, life) and a Latin-1 letter.
    const command_result run = run_command(tool + "' SCORE 12345 TIME 59 CRITICAL MASS 108 &\xC3\x84@|' '" + drawn + "'");
    ASSERT_EQ(run.exit_code, 0) << run.out;
    ASSERT_EQ(run_command(tool + "'I|' '" + folder.path() + "/ground.png' 1 000040").exit_code, 0) << "a zoom and a ground";
    if (std::getenv("ZORBEL_UPDATE_GOLDEN")) {
        fs::copy_file(drawn, golden, fs::copy_options::overwrite_existing);
        GTEST_SKIP() << "wrote " << golden;
    }
    // Without the screen service no colour key is set; both pictures alike.
    register_decoders();
    const picture want = pixels_of(golden, folder), got = pixels_of(drawn, folder);
    const picture ground = pixels_of(folder.path() + "/ground.png", folder);
    shutdown_media();
    ASSERT_GT(want.width, 0) << "cannot read " << golden;
    EXPECT_EQ(std::tuple(ground.width, ground.pixels.back()), std::tuple(1024, 0x000040u)) << "the design size on the ground given";
    if (std::tuple(got.width, got.pixels) == std::tuple(want.width, want.pixels)) return;
    const auto kept = fs::temp_directory_path() / "zorbel-text-line.png";
    fs::copy_file(drawn, kept, fs::copy_options::overwrite_existing);
    ADD_FAILURE() << "the line differs from the golden picture; the new one is " << kept;
}

}  // namespace
