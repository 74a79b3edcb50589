#include <gtest/gtest.h>

#include "core/startup.h"
#include "core/system_ini.h"
#include "media/random.h"
#include "support/test_support.h"

namespace {

class Configuration : public ::testing::Test {
protected:
    void SetUp() override {
        init_globals();
        base_folder = "/base\\";
    }
    void read(const std::string& text) {
        std::string path = folder.write("ini.txt", text);
        read_configuration(path);
    }
    temp_folder folder;
};

}  // namespace

TEST_F(Configuration, EveryKeyLandsInItsVariableWithItsKind) {
    read(ini_text({
        {"SOUNDFXPATH", "SFX\\"}, {"INGAMEMUSIC", "MUSIC\\"}, {"EGFXPATH", "F\\"},
        {"EGFXMAX", "7"}, {"FONTPATH", "GFX\\FONT"}, {"FONTSYSTEM", "DATA\\font.txt"},
        {"TOPSCREEN", "top.png"}, {"USETOPGLASS", "1"}, {"WINDOWMODE", "3"},
        {"MULTITASK", "5"}, {"SAVEGFX", "sg"}, {"SCRSAVE", "shots\\z"}, {"SAVEEVOLUTION", "se"},
        {"APPNAME", "Zorbel Test"}, {"GFXPATH", "G\\"}, {"RESOLUTION", "24"}, {"TOPO", "T"},
        {"BASICGFX", "B"}, {"USEEXTENDEDTOPO", "1"}, {"APPENTRY", "W\\"}, {"APPSTART", "ZW"},
        {"TOPOGFX", "TILES\\"}, {"GFXCODEC", ".png"}, {"SYSTEMCORE", "SC"}, {"CORENAME", "cn"},
        {"USESPRITE3D", "1"}, {"DEBUGMODE", "1"}, {"MAXFOE", "9"}, {"LOGPATH", "LOG\\"},
        {"LOGFILE", "z.log"}, {"USELOGFILE", "2"}, {"RGBCODEPATH", "RGB\\"},
        {"WORLDGFX", "OBJ\\"}, {"LOADSCREEN", "ls#.png"}, {"LOADANIM", "la"},
        {"FULLSCREENZOOM", "1.25"}, {"PROFILES", "P\\"}, {"RESBASEW", "1024"},
        {"RESBASEH", "768"}, {"HIGHSCORE", "HS\\"}, {"HIGHSCORE_FILE", "hs.txt"},
        {"CURSOR", "c.png"}, {"CURSORSPEED", "250"}, {"VEGIDENSE", "11"},
        {"USEFULLMATRIX", "1"}, {"WORLDRANDOM", "-17"}, {"MULTICORE", "0"}, {"MAPSIZE", "64"},
        {"WORLDTEMPERATURE", "-3.5"}, {"WORLDREFRESH", "30"}, {"SELFCREATEBASE", "base.txt"},
        {"USESELFCREATEBASE", "1"}, {"LABSWITCH", "4"}, {"SMOOTH", "0"},
        {"GAMEMODE", "HARDCORE"}, {"TIMERSOUND", "t.ogg"}, {"ENDTIMERSOUND", "et.ogg"},
        {"DEFTILESOUND", "d.ogg"}, {"FIXEDTILESOUND", "f.ogg"},
        {"PINKTILEFIXEDSOUND", "p.ogg"}, {"BOMBPICKUPSOUND", "bp.ogg"},
        {"EXPLOSIONSOUND", "x.ogg"}, {"GAMEOVER", "go.ogg"}, {"SWAPSOUND", "s.ogg"},
        {"PICKBOMBSOUND", "pb.ogg"}, {"LEVELDONE", "ld.ogg"}, {"EXTRATIME", "e.ogg"},
        {"OPTIONSMUSIC", "o.ogg"}, {"GRIMBLEWOOD1", "g1.ogg"}, {"GRIMBLEWOOD", "g.ogg"},
        {"MENUMUSIC", "m.ogg"}, {"SCREGFXPATH", "MF\\"}, {"SCREGFXMAX", "3"},
        {"LOADINTROSCREEN", "menu.png"}, {"REMOVETILE", "r.ogg"}, {"USESCALER", "2"},
    }));
    // Paths are prefixed with the base folder; texts are taken as they stand.
    EXPECT_EQ(cfg_soundfxpath, "/base\\SFX\\");
    EXPECT_EQ(cfg_ingamemusic, "MUSIC\\");
    EXPECT_EQ(cfg_egfxpath, "/base\\F\\");
    EXPECT_EQ(cfg_fontpath, "/base\\GFX\\FONT");
    EXPECT_EQ(cfg_fontsystem, "/base\\DATA\\font.txt");
    EXPECT_EQ(cfg_topscreen, "/base\\top.png");
    EXPECT_EQ(cfg_scrsave, "shots\\z");
    EXPECT_EQ(cfg_appname, "Zorbel Test");
    EXPECT_EQ(cfg_gfxpath, "/base\\G\\");
    EXPECT_EQ(cfg_topo, "/base\\T");
    EXPECT_EQ(cfg_basicgfx, "/base\\B");
    EXPECT_EQ(cfg_appentry, "W\\");
    EXPECT_EQ(cfg_appstart, "ZW");
    EXPECT_EQ(cfg_topogfx, "/base\\TILES\\");
    EXPECT_EQ(cfg_gfxcodec, ".png");
    EXPECT_EQ(cfg_systemcore, "/base\\SC");
    EXPECT_EQ(cfg_corename, "cn");
    EXPECT_EQ(cfg_logpath, "/base\\LOG\\");
    EXPECT_EQ(cfg_logfile, "z.log");
    EXPECT_EQ(cfg_rgbcodepath, "RGB\\");
    EXPECT_EQ(cfg_worldgfx, "/base\\OBJ\\");
    EXPECT_EQ(cfg_loadscreen, "ls#.png");
    EXPECT_EQ(cfg_profiles, "P\\");
    EXPECT_EQ(cfg_highscore, "/base\\HS\\");
    EXPECT_EQ(cfg_highscore_file, "hs.txt");
    EXPECT_EQ(cfg_cursor, "/base\\c.png");
    EXPECT_EQ(cfg_selfcreatebase, "/base\\base.txt");
    EXPECT_EQ(cfg_gamemode, "HARDCORE");
    EXPECT_EQ(cfg_scregfxpath, "MF\\");
    EXPECT_EQ(cfg_loadintroscreen, "menu.png");
    for (auto [value, expected] :
         {std::pair{cfg_timersound, "t.ogg"}, {cfg_endtimersound, "et.ogg"},
          {cfg_deftilesound, "d.ogg"}, {cfg_fixedtilesound, "f.ogg"},
          {cfg_pinktilefixedsound, "p.ogg"}, {cfg_bombpickupsound, "bp.ogg"},
          {cfg_explosionsound, "x.ogg"}, {cfg_gameover, "go.ogg"}, {cfg_swapsound, "s.ogg"},
          {cfg_pickbombsound, "pb.ogg"}, {cfg_leveldone, "ld.ogg"}, {cfg_extratime, "e.ogg"},
          {cfg_optionsmusic, "o.ogg"}, {cfg_grimblewood1, "g1.ogg"}, {cfg_grimblewood, "g.ogg"},
          {cfg_menumusic, "m.ogg"}, {cfg_removetile, "r.ogg"}, {cfg_savegfx, "sg"},
          {cfg_saveevolution, "se"}, {cfg_loadanim, "la"}})
        EXPECT_EQ(value, expected);
    EXPECT_EQ(cfg_egfxmax, 7);
    EXPECT_EQ(cfg_windowmode, 3);
    EXPECT_EQ(cfg_multitask, 5);
    EXPECT_EQ(cfg_maxfoe, 9);
    EXPECT_EQ(cfg_vegidense, 11);
    EXPECT_EQ(cfg_worldrandom, -17);
    EXPECT_EQ(cfg_labswitch, 4);
    EXPECT_EQ(cfg_scregfxmax, 3);
    EXPECT_EQ(cfg_usescaler, 2);
    EXPECT_EQ(cfg_usetopglass, 1);
    EXPECT_EQ(cfg_useextendedtopo, 1);
    EXPECT_EQ(cfg_usesprite3d, 1);
    EXPECT_EQ(cfg_debugmode, 1);
    EXPECT_EQ(cfg_uselogfile, 2);
    EXPECT_EQ(cfg_usefullmatrix, 1);
    EXPECT_EQ(cfg_multicore, 0);
    EXPECT_EQ(cfg_useselfcreatebase, 1);
    EXPECT_EQ(cfg_smooth, 0);
    EXPECT_FLOAT_EQ(cfg_fullscreenzoom, 1.25f);
    EXPECT_FLOAT_EQ(cfg_worldtemperature, -3.5f);
    EXPECT_FLOAT_EQ(tile_width, 24.0f);
    EXPECT_FLOAT_EQ(tile_height, 24.0f);
    EXPECT_EQ(base_width, 1024);
    EXPECT_EQ(base_height, 768);
    EXPECT_EQ(cfg_cursorspeed, 250);
    EXPECT_EQ(cursor_delay, 5);
    EXPECT_EQ(matrix_width, 64);
    EXPECT_EQ(matrix_height, 64);
    EXPECT_EQ(cfg_worldrefresh, 30);
    EXPECT_EQ(clock_tick_limit, 30);
}

TEST_F(Configuration, AbsentKeysKeepTheirDefaults) {
    read("");
    EXPECT_EQ(cfg_multicore, 1);
    EXPECT_EQ(cfg_smooth, 1);
    EXPECT_EQ(cfg_gamemode, "DEFAULT");
    EXPECT_EQ(cfg_egfxmax, 50);
    EXPECT_EQ(cfg_scregfxmax, 50);
    EXPECT_EQ(cfg_worldrefresh, 60);
    EXPECT_EQ(clock_tick_limit, 60);
    EXPECT_FLOAT_EQ(tile_width, -1.0f);
    EXPECT_EQ(matrix_width, 1);
    EXPECT_EQ(base_width, 1);
    EXPECT_EQ(base_height, 1);
    EXPECT_FLOAT_EQ(cfg_fullscreenzoom, 1.0f);
    EXPECT_FLOAT_EQ(cfg_worldtemperature, 15.0f);
    EXPECT_EQ(cfg_vegidense, 100);
    EXPECT_EQ(cfg_soundfxpath, "");
}

TEST_F(Configuration, ClampsAndSpecialKinds) {
    struct mapsize_case { const char* value; int32_t size; };
    for (auto [value, size] : {mapsize_case{"2000", 1024}, {"-5", 32}, {"0", 0}, {"1024", 1024}}) {
        read(ini_text({{"MAPSIZE", value}}));
        EXPECT_EQ(matrix_width, size) << value;
        EXPECT_EQ(matrix_height, size) << value;
    }
    read(ini_text({{"CURSORSPEED", "300"}}));
    EXPECT_EQ(cfg_cursorspeed, 255);
    EXPECT_EQ(cursor_delay, 0);
    read(ini_text({{"CURSORSPEED", "-1"}}));
    EXPECT_EQ(cfg_cursorspeed, 0);
    EXPECT_EQ(cursor_delay, 255);
    read(ini_text({{"MULTICORE", "7"}}));
    EXPECT_EQ(cfg_multicore, 1);
    read(ini_text({{"MULTICORE", "0"}}));
    EXPECT_EQ(cfg_multicore, 0);
    // A flag keeps the low 8 bits: 256 is off.
    read(ini_text({{"USESPRITE3D", "256"}, {"SMOOTH", "257"}}));
    EXPECT_EQ(cfg_usesprite3d, 0);
    EXPECT_EQ(cfg_smooth, 1);
    read(ini_text({{"RESOLUTION", "48.5"}}));
    EXPECT_FLOAT_EQ(tile_width, 48.5f);
    EXPECT_FLOAT_EQ(tile_height, 48.5f);
}

TEST_F(Configuration, PairSyntaxRules) {
    // A lower-case key and a key with a trailing blank are skipped with their values.
    read(ini_text({{"maxfoe", "3"}, {"MAXFOE ", "4"}, {"APPNAME", "kept"}}));
    EXPECT_EQ(cfg_maxfoe, 0);
    EXPECT_EQ(cfg_appname, "kept");
    // The last occurrence wins.
    read(ini_text({{"USELOGFILE", "1"}, {"USELOGFILE", "0"}}));
    EXPECT_EQ(cfg_uselogfile, 0);
    // A missing line shifts every later pair: the value line is read as a key.
    read("APPNAME\nMAXFOE\n6\n");
    EXPECT_EQ(cfg_appname, "MAXFOE");
    EXPECT_EQ(cfg_maxfoe, 0);
}

TEST_F(Configuration, LastLineThatIsAKeyGetsAnEmptyValue) {
    read("MAXFOE\n4\nLOGPATH");
    EXPECT_EQ(cfg_maxfoe, 4);
    EXPECT_EQ(cfg_logpath, "/base\\");
    read("APPNAME\nx\nCURSOR\n");
    EXPECT_EQ(cfg_cursor, "/base\\");
}

TEST_F(Configuration, AllThreeLineEndsReadAlike) {
    for (const char* end : {"\r\n", "\n", "\r"}) {
        init_globals();
        base_folder = "/base\\";
        std::string e = end;
        read("APPNAME" + e + "Zorbel" + e + "MAPSIZE" + e + "40" + e + "SOUNDFXPATH" + e + "S" + e);
        EXPECT_EQ(cfg_appname, "Zorbel");
        EXPECT_EQ(matrix_width, 40);
        EXPECT_EQ(cfg_soundfxpath, "/base\\S");
    }
}

TEST_F(Configuration, NumbersAreReadLeniently) {
    read(ini_text({{"MAXFOE", "many"}, {"RESOLUTION", "wide"}, {"EGFXMAX", " \t-12abc"},
                   {"FULLSCREENZOOM", "  +2.5x"}, {"MULTITASK", "+8"}}));
    EXPECT_EQ(cfg_maxfoe, 0);
    EXPECT_FLOAT_EQ(tile_width, 0.0f);
    EXPECT_EQ(cfg_egfxmax, -12);
    EXPECT_FLOAT_EQ(cfg_fullscreenzoom, 2.5f);
    EXPECT_EQ(cfg_multitask, 8);
    EXPECT_EQ(read_integer("99999999999"), int32_t(uint32_t(99999999999ull)));
    EXPECT_FLOAT_EQ(read_real("1e5"), 1.0f);
}

TEST_F(Configuration, WorldRandomSeedsAtEveryOccurrence) {
    random_seed(-9);
    int32_t expected = random(1000000);
    read(ini_text({{"WORLDRANDOM", "5"}, {"WORLDRANDOM", "-9"}}));
    EXPECT_EQ(cfg_worldrandom, -9);
    EXPECT_EQ(random(1000000), expected);
    // The seeding happens where the key stands, not at the end of the file.
    random_seed(5);
    random(7);
    int32_t after_one_draw = random(1000000);
    apply_configuration_entry("WORLDRANDOM", "5");
    random(7);
    EXPECT_EQ(random(1000000), after_one_draw);
}
