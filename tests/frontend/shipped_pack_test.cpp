// What the shipped pack gives the front end: its pictures and its music.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "media/media.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string data = std::string(ZORBEL_SOURCE_DIR) + "/data/";

// An Ogg Vorbis file's length: the last page's granule position, in samples.
double seconds_of(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    const size_t page = text.rfind("OggS");
    if (page == std::string::npos || page + 14 > text.size()) return 0;
    uint64_t granule = 0;
    for (int i = 7; i >= 0; --i) granule = granule * 256 + uint8_t(text[page + 6 + size_t(i)]);
    return double(granule) / 44100.0;
}

}  // namespace

TEST(ShippedPack, TheMenusAndBothCreditsPicturesAreThereAtTheDesignSize) {
    open_headless_screen(64, 64);
    for (const char* name : {"menu.png", "credits0.png", "credits1.png"}) {
        const int image = load_sprite(data + "GFX/" + name, true);
        ASSERT_NE(image, 0) << name;
        EXPECT_EQ(sprite_width(image), 1024) << name;
        EXPECT_EQ(sprite_height(image), 768) << name;
    }
    close_headless_screen();
    for (const char* name : {"credits1.ogg", "credits2.ogg"})
        EXPECT_TRUE(fs::exists(data + "SFX/" + name)) << name;
}

// A loop shorter than a minute wears on the player quickly.
TEST(ShippedPack, EachScreenHasItsTrackAndPlayHasThreeEachOverAMinute) {
    for (const char* name : {"menu.ogg", "options.ogg", "score.ogg"})
        EXPECT_TRUE(fs::exists(data + "MUSIC/" + name)) << name;
    int in_game_tracks = 0;
    uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(data + "MUSIC")) {
        bytes += entry.file_size();
        const std::string name = entry.path().filename().string();
        EXPECT_GE(seconds_of(entry.path().string()), 60.0) << name;
        if (name != "menu.ogg" && name != "options.ogg" && name != "score.ogg") ++in_game_tracks;
    }
    EXPECT_GE(in_game_tracks, 3);
    EXPECT_LT(bytes, uintmax_t(6) << 20) << "the music stays small";
}
