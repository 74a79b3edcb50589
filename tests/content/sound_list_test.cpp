// The sound effect and music lists, on the dummy audio driver, and the
// sounds the shipped pack holds.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "content/sound_list.h"
#include "core/startup.h"
#include "core/system_ini.h"
#include "frontend/menus.h"
#include "media/media.h"
#include "support/sound_files.h"
#include "support/test_support.h"

namespace {

std::vector<std::string> heard;
void listen(const std::string& name) { heard.push_back(name); }

class sound_lists : public ::testing::Test {
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

TEST_F(sound_lists, effects_are_every_ogg_file_of_the_folder_in_name_order) {
    folder.write("SFX/step.ogg", sound_files::wav());
    folder.write("SFX/fixed.ogg", sound_files::wav());
    folder.write("SFX/broken.ogg", "not a sound");
    folder.write("SFX/readme.txt", "words");
    folder.write("SFX/old.ogg/inner.ogg", sound_files::wav());   // a folder with a sound's name
    cfg_soundfxpath = folder.path() + "\\SFX\\";
    load_sound_effects();

    EXPECT_EQ(effect_names(), (std::vector<std::string>{"broken.ogg", "fixed.ogg", "step.ogg"}));
    EXPECT_EQ(sound_effects[1].path, cfg_soundfxpath + "fixed.ogg");
    EXPECT_EQ(sound_effects[0].loaded, 0);
    EXPECT_EQ(sound_effects[0].sound, 0);
    EXPECT_EQ(sound_effects[2].loaded, 1);
    EXPECT_TRUE(sound_exists(sound_effects[2].sound));

    // Loading again replaces the list and frees the old sounds.
    const int old_sound = sound_effects[2].sound;
    load_sound_effects();
    ASSERT_EQ(sound_effects.size(), 3u);
    EXPECT_FALSE(sound_exists(old_sound));
    EXPECT_TRUE(sound_exists(sound_effects[2].sound));
}

TEST_F(sound_lists, effects_play_by_their_exact_file_name_only) {
    folder.write("SFX/step.ogg", sound_files::wav());
    folder.write("SFX/broken.ogg", "not a sound");
    cfg_soundfxpath = folder.path() + "/SFX/";
    load_sound_effects();

    play_sound_effect("step.ogg", 0);
    play_sound_effect("step.ogg", 0);   // twice in one frame: both start
    play_sound_effect("Step.ogg", 0);   // case counts
    play_sound_effect("step", 0);       // the ending is part of the name
    play_sound_effect("broken.ogg", 0); // failed to load: never played
    play_sound_effect("", 0);           // an absent configuration key
    play_sound_effect("step.ogg", 1);
    EXPECT_EQ(heard, (std::vector<std::string>{"step.ogg", "step.ogg", "step.ogg"}));
}

TEST_F(sound_lists, missing_folders_give_empty_lists_and_silence) {
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

// The music list names the tracks in name order and loads none of them; a
// track streams only while it plays.
TEST_F(sound_lists, a_track_streams_while_it_plays_and_free_music_lets_it_go) {
    folder.write("MUSIC/menu.ogg", sound_files::ogg());
    folder.write("MUSIC/options.ogg", sound_files::ogg());
    folder.write("MUSIC/cover.png", "image");
    folder.write("MUSIC/old.ogg/x.ogg", sound_files::wav());
    cfg_ingamemusic = folder.path() + "\\MUSIC\\";
    load_music_list();
    ASSERT_EQ(music_tracks.size(), 2u);
    EXPECT_EQ(music_tracks[0].file_name, "menu.ogg");
    EXPECT_EQ(music_tracks[1].path, cfg_ingamemusic + "options.ogg");
    EXPECT_EQ(music_tracks[0].sound, 0);
    EXPECT_EQ(music_tracks[1].sound, 0);

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

TEST_F(sound_lists, a_random_track_comes_from_the_list_and_nothing_plays_with_music_off) {
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
}

// The pack that ships with the game: every sound the configuration names is
// there and decodes, and so does every track (which tracks there are is the
// front end's shipped-pack test).
TEST_F(sound_lists, the_shipped_pack_has_every_configured_sound) {
    const std::string data = std::string(ZORBEL_SOURCE_DIR) + "/data";
    base_folder = data + "\\";
    read_configuration(data + "/DATA/ini.txt");
    load_sound_effects();
    ASSERT_FALSE(sound_effects.empty());
    for (const sound_effect& effect : sound_effects)
        EXPECT_EQ(effect.loaded, 1) << effect.file_name;

    const std::string* configured[] = {
        &cfg_timersound,     &cfg_endtimersound, &cfg_deftilesound,       &cfg_fixedtilesound,
        &cfg_pinktilefixedsound, &cfg_bombpickupsound, &cfg_explosionsound, &cfg_gameover,
        &cfg_swapsound,      &cfg_pickbombsound, &cfg_leveldone,          &cfg_extratime,
        &cfg_removetile,     &cfg_grimblewood1,  &cfg_grimblewood};
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
