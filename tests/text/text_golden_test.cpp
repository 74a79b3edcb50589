// Rewrite after a deliberate change: ZORBEL_UPDATE_GOLDEN=1 build/tests/test_text, then look.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/media.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// A sprite loaded from a file saves as a BMP of its pixels: equal files, equal pictures.
std::string bmp_of(const std::string& png, const temp_folder& folder) {
    const int sprite = load_sprite(png, false);
    const bool saved = sprite && save_sprite_bmp(sprite, folder.path() + "/pixels.bmp");
    free_sprite(sprite);
    return saved ? folder.read("pixels.bmp") : "";
}

TEST(TextGolden, ALineInTheShippedFontMatchesTheGoldenPicture) {
    temp_folder folder;
    const std::string drawn = folder.path() + "/line.png", golden = ZORBEL_SOURCE_DIR "/tests/text/golden/line.png";
    // Counters, digits, the symbol glyphs (bomb, heart, life) and a Latin-1 letter.
    const command_result run = run_command(std::string(ZORBEL_TOOL) + " text '" ZORBEL_SOURCE_DIR "/data' '" +
                                           " SCORE 12345 TIME 59 CRITICAL MASS 108 &\xC3\x84@|' '" + drawn + "'");
    ASSERT_EQ(run.exit_code, 0) << run.out;
    if (std::getenv("ZORBEL_UPDATE_GOLDEN")) {
        fs::copy_file(drawn, golden, fs::copy_options::overwrite_existing);
        GTEST_SKIP() << "wrote " << golden;
    }
    // Without the screen service no colour key is set; both pictures alike.
    register_decoders();
    const std::string want = bmp_of(golden, folder), got = bmp_of(drawn, folder);
    shutdown_media();
    ASSERT_GT(want.size(), 54u) << "cannot read " << golden;
    if (got == want) return;
    const auto kept = fs::temp_directory_path() / "zorbel-text-line.png";
    fs::copy_file(drawn, kept, fs::copy_options::overwrite_existing);
    ADD_FAILURE() << "the line differs from the golden picture; the new one is " << kept;
}

}  // namespace
