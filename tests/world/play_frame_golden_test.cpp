// A frame of play on the shipped pack, drawn by `zorbel-tool frame` at two
// values of FULLSCREENZOOM, against golden pictures: how the full-screen pass
// is drawn may change, what it shows may not. After a deliberate change to
// the picture, write them again with
//     ZORBEL_UPDATE_GOLDEN=1 build/tests/test_world --gtest_filter='PlayFrameGolden*'
// and look at tests/world/golden/play_frame_*.png before committing them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "media/media.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string shipped = ZORBEL_SOURCE_DIR "/data";

std::string read_text(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The shipped pack, linked, on a small screen with the given zoom: the last
// value of a key wins, so the changed keys are added at the end.
void link_shipped_pack(const temp_folder& folder, const std::string& zoom) {
    for (const auto& entry : fs::directory_iterator(shipped))
        if (entry.path().filename() != "DATA")
            fs::create_directory_symlink(entry.path(), fs::path(folder.path()) / entry.path().filename());
    for (const auto& entry : fs::directory_iterator(shipped + "/DATA"))
        if (entry.path().filename() != "ini.txt")
            fs::create_symlink(entry.path(),
                               fs::path(folder.path()) / "DATA" / entry.path().filename());
    folder.write("DATA/ini.txt", read_text(shipped + "/DATA/ini.txt") +
                                     "RESBASEW\n320\nRESBASEH\n240\nFULLSCREENZOOM\n" + zoom +
                                     "\n");
}

// Pixels further apart than one step in some channel.
int differing_pixels(const picture& a, const picture& b, std::string& first) {
    int differing = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) {
        bool close = true;
        for (int shift : {0, 8, 16}) {
            const int d = int((a.pixels[i] >> shift) & 0xFF) - int((b.pixels[i] >> shift) & 0xFF);
            close = close && d >= -1 && d <= 1;
        }
        if (close) continue;
        if (differing++ == 0) {
            char where[96];
            std::snprintf(where, sizeof where, "first at (%zu, %zu): %06X, golden %06X",
                          i % size_t(a.width), i / size_t(a.width), a.pixels[i], b.pixels[i]);
            first = where;
        }
    }
    return differing;
}

TEST(PlayFrameGolden, TheFullScreenPassKeepsItsPixels) {
    const struct {
        const char* zoom;
        const char* golden;
    } cases[] = {{"1.0", "play_frame_zoom_1_0.png"}, {"1.2", "play_frame_zoom_1_2.png"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zoom);
        temp_folder folder;
        fs::create_directories(folder.path() + "/DATA");
        link_shipped_pack(folder, c.zoom);
        const std::string drawn = folder.path() + "/frame.png";
        const std::string golden = ZORBEL_SOURCE_DIR "/tests/world/golden/" + std::string(c.golden);
        // The first frame shows the level banner; the third is plain play.
        command_result run =
            run_command(std::string(ZORBEL_TOOL) + " frame . 3 '" + drawn + "'", folder.path());
        ASSERT_EQ(run.exit_code, 0) << run.out;
        if (std::getenv("ZORBEL_UPDATE_GOLDEN")) {
            fs::copy_file(drawn, golden, fs::copy_options::overwrite_existing);
            continue;
        }
        register_decoders();
        const picture want = pixels_of(golden, folder);
        const picture got = pixels_of(drawn, folder);
        shutdown_media();
        ASSERT_GT(want.width, 0) << "cannot read " << golden;
        ASSERT_EQ(got.width, want.width);
        ASSERT_EQ(got.height, want.height);
        std::string first;
        const int differing = differing_pixels(got, want, first);
        if (differing == 0) continue;
        const fs::path kept = fs::temp_directory_path() / (std::string("zorbel-") + c.golden);
        fs::copy_file(drawn, kept, fs::copy_options::overwrite_existing);
        ADD_FAILURE() << differing << " pixels differ by more than 1, " << first
                      << "; the new picture is " << kept;
    }
}

}  // namespace
