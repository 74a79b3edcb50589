// The sound effect and music lists, on the dummy audio driver, and the
// sounds the shipped pack holds.
#include <gtest/gtest.h>

#include <cstdlib>

#include "content/sound_list.h"
#include "core/system_ini.h"
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
    EXPECT_EQ(sound_effects[1].path, cfg_soundfxpath + "fixed.ogg");
    EXPECT_EQ(std::tuple(sound_effects[0].loaded, sound_effects[0].sound, sound_effects[2].loaded), std::tuple(0, 0, 1));
    EXPECT_TRUE(sound_exists(sound_effects[2].sound));
    // Loading again replaces the list and frees the old sounds.
    const int old_sound = sound_effects[2].sound;
    load_sound_effects();
    ASSERT_EQ(sound_effects.size(), 3u);
    EXPECT_FALSE(sound_exists(old_sound));
    EXPECT_TRUE(sound_exists(sound_effects[2].sound));
    // Twice in a frame both start; case and the ending count; a sound that
    // failed to load and an absent key play nothing.
    for (const char* name : {"step.ogg", "step.ogg", "Step.ogg", "step", "broken.ogg", "", "fixed.ogg"}) play_sound_effect(name, 0);
    play_sound_effect("step.ogg", 1);
    EXPECT_EQ(heard, (std::vector<std::string>{"step.ogg", "step.ogg", "fixed.ogg", "step.ogg"}));
}

// The music list names the tracks in name order and loads none of them; a
// track streams only while it plays.
TEST_F(SoundLists, ATrackStreamsWhileItPlaysAndFreeMusicLetsItGo) {
    folder.write("MUSIC/menu.ogg", sound_files::ogg());
    folder.write("MUSIC/options.ogg", sound_files::ogg());
    folder.write("MUSIC/cover.png", "image");
    folder.write("MUSIC/old.ogg/x.ogg", sound_files::wav());
    cfg_ingamemusic = folder.path() + "\\MUSIC\\";
    load_music_list();
    ASSERT_EQ(music_tracks.size(), 2u);
    EXPECT_EQ(std::tuple(music_tracks[0].file_name, music_tracks[1].path, music_tracks[0].sound, music_tracks[1].sound),
              std::tuple("menu.ogg", cfg_ingamemusic + "options.ogg", 0, 0));
    play_music("options.ogg");
    const int options = music_tracks[1].sound;
    EXPECT_TRUE(music_exists(options));
    EXPECT_EQ(music_tracks[0].sound, 0);
    play_music("menu.ogg");   // one track at a time: the old one is let go
    EXPECT_FALSE(music_exists(options));
    EXPECT_EQ(music_tracks[1].sound, 0);
    EXPECT_TRUE(music_exists(music_tracks[0].sound));
    play_music("Menu.ogg");   // no such track: silence, but the old one stopped all the same
    EXPECT_EQ(music_tracks[0].sound, 0);
    play_music("menu.ogg");
    const int menu = music_tracks[0].sound;
    free_music();
    EXPECT_FALSE(music_exists(menu));
    EXPECT_EQ(music_tracks[0].sound, 0);
}

TEST_F(SoundLists, ARandomTrackComesFromTheListNothingPlaysWithMusicOffAndMissingFoldersGiveSilence) {
    folder.write("MUSIC/only.ogg", sound_files::ogg());
    cfg_ingamemusic = folder.path() + "/MUSIC/";
    load_music_list();
    for (int i = 0; i < 5; ++i) {
        play_music("");
        EXPECT_TRUE(music_exists(music_tracks[0].sound)) << "pick " << i;
    }
    music_on = 0;
    const int playing = music_tracks[0].sound;
    play_music("only.ogg");
    EXPECT_TRUE(music_exists(playing));   // switched off: nothing stopped, nothing started
    EXPECT_EQ(music_tracks[0].sound, playing);
    music_on = 1;
    cfg_soundfxpath = folder.path() + "/nothing/";
    cfg_ingamemusic = folder.path() + "/nothing/";
    load_sound_effects();
    load_music_list();
    EXPECT_TRUE(sound_effects.empty());
    EXPECT_TRUE(music_tracks.empty());
    play_sound_effect("step.ogg", 0);
    play_music("");
    play_music("menu.ogg");
    free_music();
    EXPECT_TRUE(heard.empty());
}

// The pack that ships with the game: every sound the configuration names is
// there and decodes, and so does every track (which tracks there are is the
// front end's shipped-pack test).
TEST_F(SoundLists, TheShippedPackHasEveryConfiguredSound) {
    const std::string data = std::string(ZORBEL_SOURCE_DIR) + "/data";
    base_folder = data + "\\";
    read_configuration(data + "/DATA/ini.txt");
    load_sound_effects();
    ASSERT_FALSE(sound_effects.empty());
    for (const sound_effect& effect : sound_effects)
        EXPECT_EQ(effect.loaded, 1) << effect.file_name;
    const std::string* configured[] = {&cfg_timersound, &cfg_endtimersound, &cfg_deftilesound, &cfg_fixedtilesound,
                                       &cfg_pinktilefixedsound, &cfg_bombpickupsound, &cfg_explosionsound, &cfg_gameover,
                                       &cfg_swapsound, &cfg_pickbombsound, &cfg_leveldone, &cfg_extratime,
                                       &cfg_removetile, &cfg_grimblewood1, &cfg_grimblewood};
    for (const std::string* name : configured) {
        EXPECT_FALSE(name->empty());
        heard.clear();
        play_sound_effect(*name, 0);
        EXPECT_EQ(heard, std::vector<std::string>{*name});
    }
    cfg_ingamemusic = data + "/" + cfg_ingamemusic;
    load_music_list();
    ASSERT_FALSE(music_tracks.empty());
    for (const music_track& track : music_tracks) {
        const int music = load_music(track.path);
        EXPECT_NE(music, 0) << track.file_name;
        free_music_stream(music);
    }
}

}  // namespace
