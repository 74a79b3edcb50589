// A play frame by `zorbel-tool frame` at two zooms; ZORBEL_UPDATE_GOLDEN=1 writes the pictures again.
#include <cstdio>
#include <filesystem>

#include "play_world.h"

namespace {

namespace fs = std::filesystem;

const std::string shipped = ZORBEL_SOURCE_DIR "/data";

// The shipped pack, linked; the last value of a key wins, so the changed keys go at the end.
void link_shipped_pack(const temp_folder& folder, const std::string& zoom) {
    fs::create_directories(folder.path() + "/DATA");
    for (const auto& entry : fs::directory_iterator(shipped))
        if (entry.path().filename() != "DATA")
            fs::create_directory_symlink(entry.path(), fs::path(folder.path()) / entry.path().filename());
    for (const auto& entry : fs::directory_iterator(shipped + "/DATA"))
        if (entry.path().filename() != "ini.txt")
            fs::create_symlink(entry.path(), fs::path(folder.path()) / "DATA" / entry.path().filename());
    folder.write("DATA/ini.txt", file_text(shipped + "/DATA/ini.txt") +
                                     "RESBASEW\n320\nRESBASEH\n240\nFULLSCREENZOOM\n" + zoom + "\n");
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
        if (close || differing++ > 0) continue;
        char where[96];
        std::snprintf(where, sizeof where, "first at (%zu, %zu): %06X, golden %06X", i % size_t(a.width),
                      i / size_t(a.width), a.pixels[i], b.pixels[i]);
        first = where;
    }
    return differing;
}

TEST(PlayFrameGolden, TheFullScreenPassKeepsItsPixels) {
    for (const std::string zoom : {"1.0", "1.2"}) {
        SCOPED_TRACE(zoom);
        temp_folder folder;
        link_shipped_pack(folder, zoom);
        const std::string drawn = folder.path() + "/frame.png";
        const std::string name = "play_frame_zoom_" + zoom.substr(0, 1) + "_" + zoom.substr(2) + ".png";
        const std::string golden = ZORBEL_SOURCE_DIR "/tests/world/golden/" + name;
        // The first frame shows the level banner; the third is plain play.
        command_result run = run_command(std::string(ZORBEL_TOOL) + " frame . 3 '" + drawn + "'", folder.path());
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
        ASSERT_EQ(std::tuple(got.width, got.height), std::tuple(want.width, want.height));
        std::string first;
        const int differing = differing_pixels(got, want, first);
        if (differing == 0) continue;
        const fs::path kept = fs::temp_directory_path() / ("zorbel-" + name);
        fs::copy_file(drawn, kept, fs::copy_options::overwrite_existing);
        ADD_FAILURE() << differing << " pixels differ by more than 1, " << first << "; the new picture is " << kept;
    }
}

}  // namespace
