// What the shipped pack gives the front end: its pictures and its music.
#include <gtest/gtest.h>

#include <filesystem>

#include "media/media.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

TEST(ShippedPack, TheMenusAndBothCreditsPicturesAreThereAtTheDesignSize) {
    const std::string data = std::string(ZORBEL_SOURCE_DIR) + "/data/";
    open_headless_screen(64, 64);
    for (const char* name : {"menu.png", "credits0.png", "credits1.png"}) {
        const int image = load_sprite(data + "GFX/" + name, true);
        ASSERT_NE(image, 0) << name;
        EXPECT_EQ(sprite_width(image), 1024) << name;
        EXPECT_EQ(sprite_height(image), 768) << name;
    }
    close_headless_screen();
    for (const char* name : {"SFX/credits1.ogg", "SFX/credits2.ogg", "MUSIC/menu.ogg", "MUSIC/options.ogg", "MUSIC/score.ogg"})
        EXPECT_TRUE(fs::exists(data + name)) << name;
}

// Each screen has its track and play has three, each over a minute: a shorter loop wears on the player.
TEST(ShippedPack, PlayHasThreeTracksEachOverAMinute) {
    int in_game_tracks = 0;
    uintmax_t bytes = 0;
    for (const auto& entry : fs::directory_iterator(std::string(ZORBEL_SOURCE_DIR) + "/data/MUSIC")) {
        bytes += entry.file_size();
        const std::string name = entry.path().filename().string(), text = file_text(entry.path());
        // An Ogg Vorbis file's length: the last page's granule position, in samples.
        const size_t page = text.rfind("OggS");
        uint64_t granule = 0;
        for (int i = 7; page != std::string::npos && page + 14 <= text.size() && i >= 0; --i)
            granule = granule * 256 + uint8_t(text[page + 6 + size_t(i)]);
        EXPECT_GE(double(granule) / 44100.0, 60.0) << name;
        in_game_tracks += name != "menu.ogg" && name != "options.ogg" && name != "score.ogg";
    }
    EXPECT_GE(in_game_tracks, 3);
    EXPECT_LT(bytes, uintmax_t(6) << 20) << "the music stays small";
}
