// One line in the shipped font, drawn by `zorbel-tool text`, against a golden
// picture. After a deliberate change to the font or to how text is drawn,
// write the picture again with
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_text --gtest_filter='TextGolden*'
// and look at tests/text/golden/line.png before committing it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "media/media.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// Sprites cannot be read back, but one loaded from a file saves as a 24-bit
// BMP with its pixels as loaded: equal files, equal pictures.
std::string bmp_of(const std::string& png, const temp_folder& folder) {
    const int sprite = load_sprite(png, false);
    const bool saved = sprite && save_sprite_bmp(sprite, folder.path() + "/pixels.bmp");
    free_sprite(sprite);
    return saved ? folder.read("pixels.bmp") : "";
}

command_result tool_text(const std::string& text, const std::string& out, const std::string& more = "") {
    return run_command(std::string(ZORBEL_TOOL) + " text '" ZORBEL_SOURCE_DIR "/data' '" + text + "' '" +
                       out + "'" + more);
}

TEST(TextGolden, ALineInTheShippedFontMatchesTheGoldenPicture) {
    temp_folder folder;
    const std::string drawn = folder.path() + "/line.png", golden = ZORBEL_SOURCE_DIR "/tests/text/golden/line.png";
    // Counters, digits, the symbol glyphs (bomb, heart, life) and a Latin-1 letter.
    const command_result run = tool_text(" SCORE 12345 TIME 59 CRITICAL MASS 108 &\xC3\x84@|", drawn);
    ASSERT_EQ(run.exit_code, 0) << run.out;
    if (std::getenv("ZORBEL_UPDATE_GOLDEN")) {
        fs::copy_file(drawn, golden, fs::copy_options::overwrite_existing);
        GTEST_SKIP() << "wrote " << golden;
    }
    // A zoom and a ground colour (RRGGBB) given: the ground fills the picture.
    const std::string ground = folder.path() + "/ground.png";
    const command_result given = tool_text("I|", ground, " 1 000040");
    ASSERT_EQ(given.exit_code, 0) << given.out;

    // Without the screen service no colour key is set; one would blank the
    // same pixels in both pictures anyway.
    register_decoders();
    const std::string want = bmp_of(golden, folder), got = bmp_of(drawn, folder);
    const std::string ground_bmp = bmp_of(ground, folder);
    shutdown_media();
    ASSERT_GT(want.size(), 54u) << "cannot read " << golden;
    ASSERT_EQ(ground_bmp.size(), want.size()) << "the design size, 1024 x 768";
    const size_t start = static_cast<unsigned char>(ground_bmp[10]) + 256u * static_cast<unsigned char>(ground_bmp[11]);
    EXPECT_EQ(ground_bmp.substr(start, 3), std::string("\x40\0\0", 3)) << "the bottom left pixel, as B G R";
    if (got == want) return;
    size_t differing = 0, first = std::string::npos;
    for (size_t i = 0; i < std::min(got.size(), want.size()); ++i)
        if (got[i] != want[i] && differing++ == 0) first = i;
    const auto kept = fs::temp_directory_path() / "zorbel-text-line.png";
    fs::copy_file(drawn, kept, fs::copy_options::overwrite_existing);
    ADD_FAILURE() << differing << " bytes differ in the BMP of " << got.size() << " (golden " << want.size()
                  << "), the first at " << first << "; the new picture is " << kept;
}

}  // namespace
