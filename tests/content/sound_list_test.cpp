// The sound effect and music lists, on the dummy audio driver.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "core/sound_list.h"
#include "world/play_world.h"

namespace {

using play_world::heard;
using play_world::listen;

class SoundLists : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        init_globals();
        init_sound_list_globals();
        init_frontend_globals();
        ASSERT_TRUE(start_sound_service());
        register_decoders();
        heard.clear();
        sound_effect_heard = listen;
    }
    void TearDown() override { shutdown_media(); }
    std::vector<std::string> effect_names() const {
        std::vector<std::string> names;
        for (const sound_effect& effect : sound_effects) names.push_back(effect.file_name);
        return names;
    }
    temp_folder folder;
};

TEST_F(SoundLists, EffectsAreEveryOggFileOfTheFolderInNameOrderAndPlayByTheirExactName) {
    folder.write("SFX/step.ogg", sound_files::wav());
    folder.write("SFX/fixed.ogg", sound_files::wav());
    folder.write("SFX/broken.ogg", "not a sound");
    folder.write("SFX/readme.txt", "words");
    folder.write("SFX/old.ogg/inner.ogg", sound_files::wav());   // a folder with a sound's name
    cfg_soundfxpath = folder.path() + "\\SFX\\";
    load_sound_effects();
    EXPECT_EQ(effect_names(), (std::vector<std::string>{"broken.ogg", "fixed.ogg", "step.ogg"}));
    EXPECT_EQ(std::tuple(sound_effects[0].loaded, sound_effects[0].sound, sound_effects[2].loaded), std::tuple(0, 0, 1));
    EXPECT_TRUE(sound_exists(sound_effects[2].sound));
    // Twice in a frame both start; case and ending count; a broken sound and an absent key play nothing.
    for (const char* name : {"step.ogg", "step.ogg", "Step.ogg", "step", "broken.ogg", "", "fixed.ogg"}) play_sound_effect(name, 0);
    play_sound_effect("step.ogg", 1);
    EXPECT_EQ(heard, (std::vector<std::string>{"step.ogg", "step.ogg", "fixed.ogg", "step.ogg"}));
}

// The music list loads none of its tracks; a track streams only while it plays.
TEST_F(SoundLists, ATrackStreamsWhileItPlaysAndFreeMusicLetsItGo) {
    folder.write("MUSIC/menu.ogg", sound_files::ogg());
    folder.write("MUSIC/options.ogg", sound_files::ogg());
    folder.write("MUSIC/cover.png", "image");
    folder.write("MUSIC/old.ogg/x.ogg", sound_files::wav());
    cfg_ingamemusic = folder.path() + "\\MUSIC\\";
    load_music_list();
    ASSERT_EQ(music_tracks.size(), 2u);
    EXPECT_EQ(std::tuple(music_tracks[0].file_name, music_tracks[0].sound, music_tracks[1].sound), std::tuple("menu.ogg", 0, 0));
    play_music("options.ogg");
    const int options = music_tracks[1].sound;
    EXPECT_TRUE(music_exists(options));
    play_music("menu.ogg");   // one track at a time: the old one is let go
    EXPECT_FALSE(music_exists(options));
    EXPECT_EQ(music_tracks[1].sound, 0);
    EXPECT_TRUE(music_exists(music_tracks[0].sound));
    const int menu = music_tracks[0].sound;
    free_music();
    EXPECT_FALSE(music_exists(menu));
    EXPECT_EQ(music_tracks[0].sound, 0);
}

// The shipped pack: a track for each screen and three for play, each over a minute (a short loop wears).
TEST_F(SoundLists, TheShippedTracksLastOverAMinute) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(ZORBEL_SOURCE_DIR "/data/MUSIC")) {
        const std::string bytes = file_text(entry.path()), name = entry.path().filename();
        uint64_t samples = 0;   // the last page's granule position, at 44.1 kHz
        for (size_t page = bytes.rfind("OggS"), i = 8; page != std::string::npos && i-- > 0;)
            samples = samples * 256 + uint8_t(bytes[page + 6 + i]);
        EXPECT_GE(samples, 60u * 44100) << name;
        names.insert(name);
    }
    EXPECT_GE(names.size(), 6u);
    for (const char* screen : {"menu.ogg", "options.ogg", "score.ogg"}) EXPECT_TRUE(names.contains(screen)) << screen;
}

}  // namespace
